#include "deep_search/region_reading.h"

#include <algorithm>

namespace tagmora::deep {
namespace {

// One line every six pixels of bar height, as long as the label offers.
StripPlan PlanFor(const Region& region) {
    StripPlan plan;
    plan.Lines = std::clamp(static_cast<int>(2 * region.HalfHeight / 6), 6, 16);
    return plan;
}

}  // namespace

RegionReading ReadRegion(const GreyImage& image, const Region& region, std::string_view format,
                         ZbarLineDecoder& decoder) {
    RegionReading reading;
    reading.Lines = SampleStrip(image, region, PlanFor(region));
    std::vector<Vote> votes;
    for (std::size_t i = 0; i < reading.Lines.size(); ++i)
        CountLine(votes, static_cast<int>(i), decoder.Decode(reading.Lines[i].Samples), format);
    for (const Vote& vote : TrustedVotes(votes)) {
        const SampledLine& line = reading.Lines[static_cast<std::size_t>(vote.FirstLine)];
        reading.Reads.push_back({vote.Text, line.Segment, line.PointAt(vote.FirstEnd)});
    }
    return reading;
}

}  // namespace tagmora::deep
