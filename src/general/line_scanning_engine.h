#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace tagmora {

struct Context;

// The black/white threshold the engine picks for a profile stretch.
std::int32_t ChooseThreshold(std::span<const std::int32_t> segment);

// Reads one barcode from ProfileSegment; marks the line; the empty text when
// nothing acceptable was read.
std::string ReadSegment(Context& ctx, std::int32_t line);

}  // namespace tagmora
