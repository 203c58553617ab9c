#include "symbology/format_match.h"

#include <string>

#include "base/text_helpers.h"

namespace tagmora {

namespace {

bool IsAsciiLetter(std::string_view c) {
    return c.size() == 1 && ((c[0] >= 'A' && c[0] <= 'Z') || (c[0] >= 'a' && c[0] <= 'z'));
}
bool IsAsciiDigit(std::string_view c) { return c.size() == 1 && c[0] >= '0' && c[0] <= '9'; }

// One character of the format against one of the text; either may be a
// UTF-8 sequence of several bytes.
bool PositionPasses(std::string_view formatChar, std::string_view textChar) {
    return formatChar == textChar || formatChar == "?" || (formatChar == "@" && IsAsciiLetter(textChar)) ||
           (formatChar == "#" && IsAsciiDigit(textChar));
}

}  // namespace

bool MatchesFormat(std::string_view text, std::string_view format) {
    // File names are compared too, so the extension is set aside.
    const std::string cleaned = ReplaceAllNoCase(text, ".jpg", "");
    const std::string_view compared = cleaned;
    // Position by position in characters, not bytes: an extended character
    // of a label is one character of the text.
    std::size_t t = 0;
    std::string_view previous, last;
    for (std::size_t f = 0; f < format.size(); f += last.size()) {
        previous = last;
        last = CharacterAt(format, f);
        const std::string_view textChar = CharacterAt(compared, t);
        if (textChar.empty() || !PositionPasses(last, textChar)) return false;
        t += textChar.size();
    }
    // Stored format strings may end in "*" and one more character: such a
    // format accepts longer texts whose first characters fit.
    return t == compared.size() || previous == "*";
}

}  // namespace tagmora
