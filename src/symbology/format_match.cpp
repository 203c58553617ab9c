#include "symbology/format_match.h"

#include <string>

#include "base/text_helpers.h"

namespace tagmora {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

bool PositionPasses(char formatChar, char textChar) {
    return formatChar == textChar || formatChar == '?' || (formatChar == '@' && IsAsciiLetter(textChar)) ||
           (formatChar == '#' && IsAsciiDigit(textChar));
}

}  // namespace

bool MatchesFormat(std::string_view text, std::string_view format) {
    // File names are compared too, so the extension is set aside.
    const std::string cleaned = ReplaceAllNoCase(text, ".jpg", "");
    std::string_view compared = cleaned;
    if (compared.size() < format.size()) return false;
    if (compared.size() > format.size()) {
        // Stored format strings may end in "*" and one more character: such a
        // format accepts longer texts whose first characters fit.
        const bool openEnded = format.size() >= 2 && format[format.size() - 2] == '*';
        if (!openEnded) return false;
        compared = compared.substr(0, format.size());
    }
    for (std::size_t i = 0; i < format.size(); ++i)
        if (!PositionPasses(format[i], compared[i])) return false;
    return true;
}

}  // namespace tagmora
