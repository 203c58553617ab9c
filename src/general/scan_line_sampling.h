#pragma once
#include <cstdint>
#include <string>

namespace tagmora {

struct Context;

// Fills LineProfile from a row (averaged with its two neighbours) or a column
// of the work bitmap and returns the text the line analysis reads on it.
std::string SampleScanLine(Context& ctx, std::int32_t line);

}  // namespace tagmora
