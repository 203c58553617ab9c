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

struct StripPlan {
    int Lines = 12;         // spread evenly over the region's height
    float Step = 1.0f;      // pixels between samples along a line
    int Taps = 3;           // pixels averaged along the bar, one pixel apart
};

// Light samples put before and after every line: zbar takes the first
// element of a line for a space and wants a quiet zone around a symbol.
inline constexpr int kLeadSamples = 8;

std::vector<SampledLine> SampleStrip(const GreyImage& image, const Region& region, const StripPlan& plan);

// Mean width in pixels of the dark and light runs along the region's middle
// line: how finely it must be sampled.
float MeanRunWidth(const GreyImage& image, const Region& region);

}  // namespace tagmora::deep
