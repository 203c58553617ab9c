#include "general/threshold_crossings.h"

#include <cstddef>
#include <span>

#include "general/general_state.h"

namespace tagmora {

void ExtractCrossings(GeneralState& general, std::int32_t threshold) {
    auto& edges = general.EdgeList;
    edges.clear();
    const std::span<const std::int32_t> s = general.ProfileSegment;
    const double t = threshold;

    // Positions are interpolated between the two samples that straddle the
    // threshold. The two tests exclude each other, so after the first falling
    // crossing the entries alternate falling, rising, falling...; a rising
    // crossing before the first falling one is kept (the pairing skips it).
    // A single sample at the threshold between brighter ones gives a rising
    // crossing at the very position of its falling one, a bar of width 0: it
    // is kept, since dropping it would pair the bar with the next bar's start.
    for (std::size_t i = kFirstCrossingIndex; i < s.size(); ++i) {
        const double here = s[i];
        const double before = s[i - 1];
        const double index = static_cast<double>(i);
        if (here <= t && t < before) {
            edges.push_back({static_cast<float>(index + (here - t) / (before - here)), true});  // in (i-1, i]
        } else if (before <= t && t < here) {
            edges.push_back({static_cast<float>(index + (t - here) / (here - before)), false});  // in [i-1, i)
        }
    }
}

}  // namespace tagmora
