#pragma once
#include <cstdint>
#include <string>

namespace tagmora {

struct Context;

// Code 39 from the wide elements alone, found by varying the threshold.
std::string FindCode39WideElements(Context& ctx, std::int32_t line);

}  // namespace tagmora
