#pragma once
// Code 128 from the widths of the bars and spaces of one scan line, for
// barcodes that begin with Start B and may switch to code set C. Pure
// functions: the result comes back as a value.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace tagmora {

// numeric: the value 0..103 as "00".."103"; otherwise the code set B text of
// values 0..99. "!" when the pattern is not found.
std::string DecodeCode128Symbol(std::string_view pattern, bool numeric);

struct Code128Read {
    std::string Text;     // possibly empty or partial
    bool Failed = false;  // a symbol could not be read, or the check symbol was wrong
    bool Whole = false;   // the check symbol was read and passed
};

// The text of the symbols after the start symbol; the format's length bounds
// how many are read. Element 0 of both lists belongs to the start symbol; bar
// i precedes space i.
Code128Read DecodeCode128(std::span<const float> barWidths, std::span<const float> spaceWidths,
                          std::size_t formatLength);

}  // namespace tagmora
