#pragma once
// Reading one located region: lines sampled across it, each decoded by zbar,
// the fitting texts counted line by line.
#include <string_view>
#include <vector>

#include "deep_search/geometry.h"
#include "deep_search/region_locating.h"
#include "deep_search/strip_sampling.h"
#include "deep_search/text_trust.h"
#include "deep_search/zbar_line_decoder.h"

namespace tagmora::deep {

struct TrustedRead {
    std::string Text;
    LineSegmentF Line;  // the first line that read it
    PointF Where;       // where on that line the symbol ended
};

struct RegionReading {
    std::vector<TrustedRead> Reads;  // trusted texts, in the order first read
    std::vector<SampledLine> Lines;  // the lines tried, for a closer look when nothing read
};

RegionReading ReadRegion(const GreyImage& image, const Region& region, std::string_view format,
                         ZbarLineDecoder& decoder);

}  // namespace tagmora::deep
