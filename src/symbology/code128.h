#pragma once
// Code 128 from the widths of the bars and spaces of one scan line, for
// barcodes that begin with Start B and may switch to code set C.
#include <span>
#include <string>
#include <string_view>

namespace tagmora {

struct Context;

// numeric: the value 0..103 as "00".."103"; otherwise the code set B text of
// values 0..99. "!" when the pattern is not found.
std::string DecodeCode128Symbol(std::string_view pattern, bool numeric);

// The text read (possibly empty or partial); clears ReadValid on a failure.
// Element 0 of both lists belongs to the start symbol; bar i precedes space i.
std::string DecodeCode128(Context& ctx, std::span<const float> barWidths, std::span<const float> spaceWidths);

}  // namespace tagmora
