#include "deep_search/strip_sampling.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

namespace tagmora::deep {
namespace {

// A line reaches this far past the region's ends for the quiet zones.
float Margin(const Region& region) { return std::max(24.0f, 0.15f * region.HalfLength); }

// A sample whose point lies off the picture: a label photographed to the
// picture's edge has its quiet zone there, and the line is given paper.
constexpr float kOffPicture = -1;

bool OnPicture(const GreyImage& image, PointF p) {
    return p.X >= -0.5f && p.Y >= -0.5f && p.X <= static_cast<float>(image.Width) - 0.5f &&
           p.Y <= static_cast<float>(image.Height) - 0.5f;
}

std::vector<float> Profile(const GreyImage& image, PointF from, PointF direction, PointF along, int count, float step,
                           int taps) {
    std::vector<float> values(static_cast<std::size_t>(count), kOffPicture);
    const PointF stepVector = step * direction;
    for (int i = 0; i < count; ++i) {
        const PointF p = from + static_cast<float>(i) * stepVector;
        if (!OnPicture(image, p)) continue;
        float sum = 0;
        for (int t = 0; t < taps; ++t) {
            const PointF q = p + (static_cast<float>(t) - 0.5f * static_cast<float>(taps - 1)) * along;
            sum += image.At(q.X, q.Y);
        }
        values[static_cast<std::size_t>(i)] = sum / static_cast<float>(taps);
    }
    return values;
}

// The lens and the pixels blur a one-pixel module until its edges shift
// toward its neighbours'; taking away part of the mean of the samples one
// pixel either side restores enough of them for zbar's edge finder.
constexpr float kSharpening = 0.7f;

std::vector<float> Sharpen(const std::vector<float>& values, float step) {
    const auto d = static_cast<std::size_t>(std::max(1L, std::lround(1.0f / step)));
    std::vector<float> sharp = values;
    const auto near = [&](std::size_t i, std::size_t j) { return values[j] == kOffPicture ? values[i] : values[j]; };
    for (std::size_t i = d; i + d < values.size(); ++i)
        if (values[i] != kOffPicture)
            sharp[i] = values[i] + kSharpening * (values[i] - 0.5f * (near(i, i - d) + near(i, i + d)));
    return sharp;
}

// The 2nd and 98th percentile of the grey levels along the region itself
// (not its margins, where the line may run onto brighter paper round a dark
// label) become black and white: low contrast, dark labels and uneven light
// all reach zbar with the same swing. They are taken before sharpening, so
// that flat paper and wide bars are clipped as the overshoots of the narrow
// elements are: zbar's edge finder lowers its threshold along a wide run and
// would take a ripple of noise there for an edge.
constexpr float kGain = 1.7f;

struct Levels {
    float low = 0, span = 1;
};

Levels LevelsOf(std::span<const float> values) {
    std::array<int, 256> histogram{};
    std::size_t counted = 0;
    for (float v : values)
        if (v != kOffPicture) ++histogram[static_cast<std::size_t>(std::clamp(v, 0.0f, 255.0f))], ++counted;
    const int cut = static_cast<int>(counted / 50);
    int low = 0, high = 255;
    for (int seen = 0; low < 255 && (seen += histogram[static_cast<std::size_t>(low)]) <= cut;) ++low;
    for (int seen = 0; high > 0 && (seen += histogram[static_cast<std::size_t>(high)]) <= cut;) --high;
    return {static_cast<float>(low), std::max(1.0f, static_cast<float>(high - low))};
}

std::vector<std::uint8_t> Stretch(const std::vector<float>& values, Levels levels) {
    std::vector<std::uint8_t> samples(values.size() + 2 * kLeadSamples, 255);
    for (std::size_t i = 0; i < values.size(); ++i)
        if (values[i] != kOffPicture)
            samples[i + kLeadSamples] = static_cast<std::uint8_t>(
                std::clamp(((values[i] - levels.low) / levels.span - 0.5f) * kGain * 255.0f + 127.5f, 0.0f, 255.0f));
    return samples;
}

}  // namespace

PointF SampledLine::PointAt(float sample) const {
    const PointF d = Segment.To - Segment.From;
    const float length = std::sqrt(Dot(d, d));
    const float t = length > 0 ? (sample - kLeadSamples) * Step / length : 0;
    return Segment.From + std::clamp(t, 0.0f, 1.0f) * d;
}

std::vector<SampledLine> SampleStrip(const GreyImage& image, const Region& region, const StripPlan& plan) {
    const float reach = region.HalfLength + Margin(region);
    const int count = static_cast<int>(2 * reach / plan.Step) + 1;
    const auto margin = static_cast<std::size_t>(Margin(region) / plan.Step);
    std::vector<SampledLine> lines;
    for (int k = 0; k < plan.Lines; ++k) {
        const float offset =
            region.HalfHeight * 0.8f * (2.0f * (static_cast<float>(k) + 0.5f) / static_cast<float>(plan.Lines) - 1.0f);
        const PointF middle = region.Centre + offset * region.Along;
        SampledLine line;
        line.Segment = {middle - reach * region.Across, middle + reach * region.Across};
        line.Step = plan.Step;
        const std::vector<float> profile =
            Profile(image, line.Segment.From, region.Across, region.Along, count, plan.Step, plan.Taps);
        line.Samples = Stretch(Sharpen(profile, plan.Step),
                               LevelsOf(std::span(profile).subspan(margin, profile.size() - 2 * margin)));
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace tagmora::deep
