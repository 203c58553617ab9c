#pragma once
// Barcodes as libzint encodes them, for round-trip tests, benchmarks and the
// sample-photograph tool. Never drawn with our own tables, so that an error in
// the decoders' tables shows up as a failed round trip instead of hiding itself.
#include <string_view>
#include <vector>

namespace tagmora::support {

enum class Symbology { Code39, Code128 };

// Bar and space widths in modules along the symbol, bar first, alternating,
// quiet zones excluded, as zint encodes the text.
//
// Code39: zint's Code 39 with its start/stop characters, no check digit; the
// one-module gaps between characters are included as spaces.
// Code128: always Start B, set B characters, then Code C for a trailing run of
// four or more digits (an odd leading digit of the run stays in set B), the
// check symbol and Stop: QSZ0123456 -> StartB Q S Z 0 CodeC 12 34 56 check Stop.
// Every symbol pattern is taken from zint's own encodings.
//
// Throws std::invalid_argument when zint rejects the text (or, for Code128, when
// a character is outside set B).
std::vector<int> RenderModules(Symbology symbology, std::string_view text);

// Code 128 from a start symbol (103 Start A, 104 Start B, 105 Start C) and
// the values of the symbols after it, as a label printer might lay them out:
// code set switches, Shift and FNC4 included. The check symbol and Stop are
// added; every pattern is cut from zint's own symbols.
std::vector<int> RenderCode128Values(int start, const std::vector<int>& values);

// Code 39 with zint's mod-43 check character after the text.
std::vector<int> RenderCode39WithCheck(std::string_view text);

// The symbol exactly as zint lays it out by itself (zint picks the code sets
// of Code 128), for comparison with RenderModules.
std::vector<int> ZintOwnModules(Symbology symbology, std::string_view text);

}  // namespace tagmora::support
