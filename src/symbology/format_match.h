#pragma once
// Whether a text has the shape of a catalogue number as the barcode format
// string describes it: '#' a digit, '@' a letter, '?' any one character,
// anything else itself. A pure comparison: the callers keep the verdict.
#include <string_view>

namespace tagmora {

// The comparison, ".jpg" (any case) removed from text first.
bool MatchesFormat(std::string_view text, std::string_view format);

}  // namespace tagmora
