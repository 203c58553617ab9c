#include "app/progress_estimate.h"

#include <algorithm>
#include <cmath>

namespace tagmora {

std::string ProgressText(int done, int total) { return std::to_string(done) + " of " + std::to_string(total); }

std::string TimeLeftText(int done, int total, double elapsedSeconds) {
    if (done < kPaceSample || done >= total || !(elapsedSeconds >= 0)) return {};
    const double left = elapsedSeconds / done * (total - done);
    // Coarse on purpose: a figure that jumps by the second only distracts.
    if (left < 60) return "about " + std::to_string(std::max(5, static_cast<int>(std::ceil(left / 5)) * 5)) + " s left";
    const auto minutes = static_cast<long>(std::lround(left / 60));
    if (minutes < 60) return "about " + std::to_string(minutes) + " min left";
    return "about " + std::to_string(minutes / 60) + " h " + std::to_string(minutes % 60) + " min left";
}

}  // namespace tagmora
