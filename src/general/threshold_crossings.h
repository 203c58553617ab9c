#pragma once
// Where a profile stretch crosses a threshold: the bar and space edges the
// engine and the wide-element search measure.
#include <cstddef>
#include <cstdint>

namespace tagmora {

struct GeneralState;

// Samples of ProfileSegment before this index never take part in crossings;
// the one just before it serves only as the left neighbour of the first.
inline constexpr std::size_t kFirstCrossingIndex = 5;

// Rebuilds EdgeList with the places where ProfileSegment crosses threshold.
void ExtractCrossings(GeneralState& general, std::int32_t threshold);

}  // namespace tagmora
