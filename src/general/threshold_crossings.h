#pragma once
#include <cstdint>

namespace tagmora {

struct GeneralState;

// Rebuilds EdgeList with the places where ProfileSegment crosses threshold.
void ExtractCrossings(GeneralState& general, std::int32_t threshold);

}  // namespace tagmora
