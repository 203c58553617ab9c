#pragma once
// Whether a text has the shape of a catalogue number as the barcode format
// string describes it: '#' a digit, '@' a letter, '?' any one character,
// anything else itself.
#include <string_view>

namespace tagmora {

struct Context;
struct RunState;

// The comparison alone, ".jpg" (any case) removed from text first.
bool TextMatchesFormat(std::string_view text, std::string_view format);

// The comparison against the format string of the settings, read now; leaves
// ReadValid equal to the result.
bool MatchesFormat(Context& ctx, std::string_view text);

// Keeps the first whole barcode text of the image that did not fit the
// format, for the image's outcome.
void NoteUnmatchedBarcode(RunState& run, std::string_view text);

}  // namespace tagmora
