#pragma once
// The General pipeline's lists and values that outlive one call: the profile of
// the line sampled last, the edge/crossing list, the stretch handed to the line
// scanning engine, its band for the red mark, and the line tried last.
#include <cstdint>
#include <vector>

namespace tagmora {

struct EdgeRecord {
    float Position = 0.0f;
    std::uint8_t Falling = 0;  // 1: the profile drops to or below the threshold
};

struct EdgeCluster {
    std::int32_t Start = 0;
    std::int32_t End = 0;
    std::int32_t Count = 0;  // edges joined to the first one
};

// One bar or space; Position is its start or its centre, as each step says.
struct Element {
    float Position = 0.0f;
    float Width = 0.0f;
};

struct GeneralState {
    std::vector<std::int32_t> LineProfile;
    std::vector<EdgeRecord> EdgeList;
    std::vector<std::int32_t> ProfileSegment;
    std::int32_t BandStart = 0;
    std::int32_t BandEnd = 0;
    std::int32_t LastLine = 0;  // 0 = none
};

}  // namespace tagmora
