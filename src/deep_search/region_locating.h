#pragma once
// Barcode-like regions on the orientation map: connected cells whose edges are
// strong, all parallel and in one direction. Each region carries its angle and
// its extent along and across the bars, for the lines sampled across it.
#include <vector>

#include "deep_search/geometry.h"
#include "deep_search/orientation_map.h"

namespace tagmora::deep {

struct Region {
    PointF Centre;
    PointF Across;         // unit vector across the bars: the way a scan line runs
    PointF Along;          // unit vector along the bars
    float HalfLength = 0;  // half the extent across the bars (the symbol's length)
    float HalfHeight = 0;  // half the extent along the bars
    float Score = 0;       // summed parallel edge energy

    Quad Outline() const;
};

// Regions of the smoothed map, strongest first, at most maxRegions of them.
std::vector<Region> LocateRegions(const OrientationMap& smoothed, std::size_t maxRegions);

}  // namespace tagmora::deep
