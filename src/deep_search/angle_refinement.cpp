#include "deep_search/angle_refinement.h"

#include <cmath>

namespace tagmora::deep {
namespace {

// The edge map's error reaches about 8 degrees on modules of 1.2 pixels:
// turns are tried two degrees apart, then one degree either side of the
// best, and the best is found between those by a parabola.
constexpr float kDegree = 3.14159265f / 180.0f;
constexpr float kCoarseStep = 2, kMaxTurn = 10;
// One profile across the region's middle, each sample the mean of pixels
// spread over this share of the region's height: only when the turn is right
// do they all fall on the same bar, and the profile keeps its full swing.
constexpr float kHeightShare = 0.35f;
constexpr int kTaps = 9;
constexpr float kStep = 0.6f;

PointF Turned(PointF v, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return {c * v.X - s * v.Y, s * v.X + c * v.Y};
}

// The summed squared differences of neighbouring samples: the sharper the
// edges of the averaged profile, the better the turn.
float Sharpness(const GreyImage& image, const Region& region, float angle) {
    const PointF across = Turned(region.Across, angle), along = Turned(region.Along, angle);
    const float reach = region.HalfHeight * kHeightShare;
    const int count = static_cast<int>(2 * region.HalfLength / kStep);
    const PointF start = region.Centre - region.HalfLength * across;
    float previous = 0, sum = 0;
    for (int i = 0; i < count; ++i) {
        const PointF p = start + (static_cast<float>(i) * kStep) * across;
        float value = 0;
        for (int t = 0; t < kTaps; ++t) {
            const float offset = reach * (2.0f * static_cast<float>(t) / (kTaps - 1) - 1.0f);
            const PointF q = p + offset * along;
            value += image.At(q.X, q.Y);
        }
        if (i > 0) sum += (value - previous) * (value - previous);
        previous = value;
    }
    return sum;
}

}  // namespace

Region RefineAngle(const GreyImage& image, const Region& region) {
    const auto sharpness = [&](float turn) { return Sharpness(image, region, turn * kDegree); };
    float best = 0, bestSharpness = sharpness(0);
    for (float turn = -kMaxTurn; turn <= kMaxTurn; turn += kCoarseStep) {
        const float s = turn == 0 ? bestSharpness : sharpness(turn);
        if (s > bestSharpness) best = turn, bestSharpness = s;
    }
    const float left = sharpness(best - 1), right = sharpness(best + 1);
    const float curvature = left - 2 * bestSharpness + right;
    float turn = best;
    if (left > bestSharpness || right > bestSharpness)
        turn += left > right ? -1.0f : 1.0f;
    else if (curvature < 0)
        turn += 0.5f * (left - right) / curvature;
    Region refined = region;
    refined.Across = Turned(region.Across, turn * kDegree);
    refined.Along = Turned(region.Along, turn * kDegree);
    return refined;
}

}  // namespace tagmora::deep
