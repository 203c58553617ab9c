#pragma once
// Code 39 run reconstruction: the whole run string rebuilt from the centres
// of the wide elements alone.
#include <cstdint>
#include <span>
#include <string>

#include "general/general_state.h"
#include "general/line_reading.h"

namespace tagmora {

// Rebuilds the whole run string from the centres of the wide bars and wide
// spaces and decodes it as Code 39.
std::string DecodeWideElements(LineReading& reading, std::span<const Element> wideBars,
                               std::span<const Element> wideSpaces);

}  // namespace tagmora
