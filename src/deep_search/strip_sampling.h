#pragma once
// Straightened lines across a located region, sampled at full resolution
// along the bars' normal: each sample averages a few pixels along the bar,
// and each line's grey levels are stretched to the full range for zbar.
#include <cstdint>
#include <vector>

#include "deep_search/geometry.h"
#include "deep_search/region_locating.h"

namespace tagmora::deep {

struct SampledLine {
    LineSegmentF Segment;               // where the line runs in the picture
    float Step = 1;                     // pixels between samples
    std::vector<std::uint8_t> Samples;  // light lead-in and lead-out included

    PointF PointAt(float sample) const;
};

// zbar's edge finder wants the narrowest run over a sample or so wide, and
// reads best when a wide run is not too many samples long: 0.6 pixel steps
// serve modules of 1.2 to 8 pixels alike. Seven pixels averaged along the
// bars take most of the sensor noise away.
struct StripPlan {
    int Lines = 12;     // spread evenly over the region's height
    float Step = 0.6f;  // pixels between samples along a line
    int Taps = 7;       // pixels averaged along the bar, one pixel apart
};

// Light samples put before and after every line: zbar takes the first
// element of a line for a space and wants a quiet zone around a symbol.
inline constexpr int kLeadSamples = 8;

std::vector<SampledLine> SampleStrip(const GreyImage& image, const Region& region, const StripPlan& plan);

}  // namespace tagmora::deep
