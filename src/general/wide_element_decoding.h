#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "general/general_state.h"

namespace tagmora {

struct Context;

// Rebuilds the whole run string from the centres of the wide bars and wide
// spaces and decodes it as Code 39.
std::string DecodeWideElements(Context& ctx, std::span<const Element> wideBars,
                               std::span<const Element> wideSpaces, std::int32_t line);

}  // namespace tagmora
