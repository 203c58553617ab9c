#pragma once
// The line analysis: edges along a sampled line, dense clusters of them, and
// the stretch around each handed to the line scanning engine.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "general/general_state.h"
#include "general/line_reading.h"

namespace tagmora {

// Rebuilds edges with the sample index of every step of more than 10 grey
// levels between neighbours (the last sample is not compared).
void FindEdges(std::span<const std::int32_t> profile, std::vector<EdgeRecord>& edges);

// Groups edges closer than 35 samples; Count is the number of edges joined to
// the first one. A last edge that joins nothing forms no cluster.
void BuildEdgeClusters(std::span<const EdgeRecord> edges, std::vector<EdgeCluster>& clusters);

// Finds dense clusters of edges in LineProfile and hands the stretch around
// each, densest first, to the line scanning engine, forwards then reversed.
// extent is the bitmap's width (rows) or height (columns).
std::string AnalyseLineProfile(LineReading& reading, std::int32_t extent);

}  // namespace tagmora
