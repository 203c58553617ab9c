#include "deep_search/region_reading.h"

#include <algorithm>
#include <cmath>

namespace tagmora::deep {
namespace {

// zbar's edge finder needs about three samples on the narrowest run; lines
// are sampled finer where the runs are thin.
StripPlan PlanFor(const GreyImage& image, const Region& region) {
    StripPlan plan;
    const float run = MeanRunWidth(image, region);
    plan.Step = std::clamp(run / 4.0f, 0.4f, 1.0f);
    plan.Lines = std::clamp(static_cast<int>(2 * region.HalfHeight / 6), 6, 16);
    return plan;
}

}  // namespace

RegionReading ReadRegion(const GreyImage& image, const Region& region, std::string_view format, ZbarLineDecoder& decoder) {
    RegionReading reading;
    reading.Lines = SampleStrip(image, region, PlanFor(image, region));
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
