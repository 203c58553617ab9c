#pragma once
// The photo window's progress line: "n of total" and, once a few photographs
// are done, the time left at the pace so far.
#include <string>

namespace tagmora {

// "3 of 120"
std::string ProgressText(int done, int total);

// "about 4 min left" from the pace of the photographs done so far; empty
// until kPaceSample are done (the first ones set no pace) and at the end.
inline constexpr int kPaceSample = 3;
std::string TimeLeftText(int done, int total, double elapsedSeconds);

}  // namespace tagmora
