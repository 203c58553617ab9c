#pragma once
// Scan-line profiles made up for the General pipeline's tests: barcodes laid
// out from module runs, and random lines for the robustness checks.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

namespace tagmora::testing {

// A profile of quiet light, the runs (bar first, alternating) at moduleWidth
// samples per module, and quiet light again.
inline std::vector<std::int32_t> ProfileFromRuns(std::span<const int> runs, int moduleWidth, std::int32_t dark = 20,
                                                 std::int32_t light = 230, int quietSamples = 40) {
    std::vector<std::int32_t> profile(static_cast<std::size_t>(quietSamples), light);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        profile.insert(profile.end(), static_cast<std::size_t>(runs[i] * moduleWidth), i % 2 == 0 ? dark : light);
    }
    profile.insert(profile.end(), static_cast<std::size_t>(quietSamples), light);
    return profile;
}

// The profile seen through a lens: a Gaussian blur of the given sigma in
// samples, rounded to whole grey levels, the ends extended.
inline std::vector<std::int32_t> Blurred(const std::vector<std::int32_t>& profile, double sigma) {
    const int radius = static_cast<int>(std::ceil(3.0 * sigma));
    std::vector<double> kernel(static_cast<std::size_t>(2 * radius + 1));
    double sum = 0.0;
    for (int i = -radius; i <= radius; ++i) sum += kernel[static_cast<std::size_t>(i + radius)] = std::exp(-i * i / (2.0 * sigma * sigma));
    std::vector<std::int32_t> out(profile.size());
    const auto last = static_cast<long>(profile.size()) - 1;
    for (long i = 0; i <= last; ++i) {
        double acc = 0.0;
        for (int k = -radius; k <= radius; ++k)
            acc += kernel[static_cast<std::size_t>(k + radius)] * profile[static_cast<std::size_t>(std::clamp(i + k, 0L, last))];
        out[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(std::lround(acc / sum));
    }
    return out;
}

// Random lines of every kind the sampler can produce and some it cannot:
// very short ones, flat ones, extreme levels, noise, and square waves.
inline std::vector<std::int32_t> RandomProfile(std::mt19937& rng) {
    std::uniform_int_distribution<int> kindOf(0, 5);
    const int kind = kindOf(rng);
    const std::size_t length = kind == 0 ? rng() % 7 : rng() % 1500;
    std::vector<std::int32_t> profile(length);
    switch (kind) {
        case 0:
        case 1:  // random levels
            for (auto& v : profile) v = static_cast<std::int32_t>(rng() % 256);
            break;
        case 2: {  // flat
            const auto level = static_cast<std::int32_t>(rng() % 256);
            for (auto& v : profile) v = level;
            break;
        }
        case 3:  // only the extremes
            for (auto& v : profile) v = rng() % 2 ? 255 : 0;
            break;
        case 4: {  // bars and spaces of random widths with noise
            std::size_t i = 0;
            bool dark = false;
            while (i < profile.size()) {
                const std::size_t width = 1 + rng() % 12;
                for (std::size_t k = 0; k < width && i < profile.size(); ++k, ++i) {
                    profile[i] = (dark ? 30 : 220) + static_cast<std::int32_t>(rng() % 21) - 10;
                }
                dark = !dark;
            }
            break;
        }
        default:  // values far outside the grey range
            for (auto& v : profile) v = static_cast<std::int32_t>(rng() % 2000) - 1000;
            break;
    }
    return profile;
}

}  // namespace tagmora::testing
