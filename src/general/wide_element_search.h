#pragma once
// The Code 39 wide-element search: the wide bars and spaces of a stretch
// found by varying the threshold, for lines the engine could not read.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "general/general_state.h"
#include "general/line_reading.h"

namespace tagmora {

// The first sample of a Code 39 symbol estimated from the centres of its first
// two wide bars: the first centre moved back by twice their distance,
// truncated toward zero.
std::int32_t EstimateSymbolStart(float firstCentre, float secondCentre);

// Rebuilds runs with the bright runs (samples above level) from sample `from`
// up to lastCentre. A run starts one past its first bright sample, so a single
// bright sample gives Count 0.
void FindBrightRuns(std::span<const std::int32_t> segment, std::int32_t level, std::int32_t from, float lastCentre,
                    std::vector<BrightRun>& runs);

// Rebuilds spaces with one centre per run (runs sorted by Start): the middle of
// the two crossings around the run's start. A run with no crossing before its
// start, or none at or beyond it, is left out.
void PlaceBrightRuns(std::span<const EdgeRecord> edges, std::span<const BrightRun> runs, std::vector<Element>& spaces);

// Code 39 from the wide elements alone, found by varying the threshold.
std::string FindCode39WideElements(LineReading& reading);

}  // namespace tagmora
