#pragma once
#include <cstdint>
#include <string>

namespace tagmora {

struct Context;

// Finds dense clusters of edges in LineProfile and hands the stretch around
// each, densest first, to the line scanning engine, forwards then reversed.
std::string AnalyseLineProfile(Context& ctx, std::int32_t line);

}  // namespace tagmora
