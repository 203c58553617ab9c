#pragma once
// Scan-line profiles made up for the General pipeline's tests (barcodes laid
// out from module runs, random lines for the robustness checks) and the
// fixture they share.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "app/context.h"
#include "support/barcode_render.h"
#include "support/fake_front_end.h"
#include "support/reading_rig.h"

namespace tagmora::support {

using Profile = std::vector<std::int32_t>;

// Quiet light, the runs (bar first, alternating) at moduleWidth samples per
// module, quiet light again.
inline Profile ProfileFromRuns(std::span<const int> runs, int moduleWidth, std::int32_t dark = 20,
                               std::int32_t light = 230, int quietSamples = 40) {
    Profile profile(static_cast<std::size_t>(quietSamples), light);
    for (std::size_t i = 0; i < runs.size(); ++i)
        profile.insert(profile.end(), static_cast<std::size_t>(runs[i] * moduleWidth), i % 2 == 0 ? dark : light);
    profile.insert(profile.end(), static_cast<std::size_t>(quietSamples), light);
    return profile;
}

// Seen through a lens: a Gaussian blur of the given sigma in samples, rounded
// to whole grey levels, the ends extended.
inline Profile Blurred(const Profile& profile, double sigma) {
    const int radius = static_cast<int>(std::ceil(3.0 * sigma));
    const auto last = static_cast<long>(profile.size()) - 1;
    Profile out(profile.size());
    for (long i = 0; i <= last; ++i) {
        double acc = 0.0, sum = 0.0;
        for (int k = -radius; k <= radius; ++k) {
            const double weight = std::exp(-k * k / (2.0 * sigma * sigma));
            acc += weight * profile[static_cast<std::size_t>(std::clamp(i + k, 0L, last))];
            sum += weight;
        }
        out[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(std::lround(acc / sum));
    }
    return out;
}

// Random lines of every kind the sampler can produce and some it cannot: very
// short, random levels, flat, only the extremes, noisy bars 1 to 12 samples
// wide, far outside the grey range.
inline Profile RandomProfile(std::mt19937& rng) {
    const unsigned kind = rng() % 6;
    Profile profile(kind == 0 ? rng() % 7 : rng() % 1500);
    const auto level = static_cast<std::int32_t>(rng() % 256);
    std::size_t run = 0;
    bool dark = false;
    for (std::int32_t& v : profile) {
        if (kind == 4 && run-- == 0) {
            run = rng() % 12;
            dark = !dark;
        }
        const auto r = static_cast<std::int32_t>(rng() % 2000);
        v = kind <= 1   ? r % 256
            : kind == 2 ? level
            : kind == 3 ? r % 2 * 255
            : kind == 4 ? (dark ? 20 : 210) + r % 21
                        : r - 1000;
    }
    return profile;
}

inline std::vector<int> Code39Runs(std::string_view text) { return RenderModules(Symbology::Code39, text); }
inline std::vector<int> Code128Runs(std::string_view text) { return RenderModules(Symbology::Code128, text); }

// Fresh program state in Demo/Debug mode, where failed lines are drawn too.
struct GeneralTest : ::testing::Test, ReadingRig {
    GeneralState& general = core.state.general;
    bool& readValid = reading.readValid;

    void SetUp() override { core.settings().ModeIndex = 1; }
    int Strips(StripColour colour) const { return core.ui.StripsOf(colour); }
};

}  // namespace tagmora::support
