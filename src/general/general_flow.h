#pragma once
#include <cstdint>
#include <vector>

namespace tagmora {

struct Context;

inline constexpr std::int32_t kLineStep = 60;

// The lines to try on an image of the given extent, in order (the first entry
// is never tried).
std::vector<std::int32_t> CandidateLines(std::int32_t extent, std::int32_t lastLine);

// One whole-sheet photograph: search, outcome, rename or report, log line.
void ProcessGeneralImage(Context& ctx);

}  // namespace tagmora
