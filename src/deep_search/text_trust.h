#pragma once
// Which texts read along the lines of a region may name a photograph: a text
// must fit the format string, and it must either carry a check symbol that
// was verified (Code 128) or have been read the same on two separate lines.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "deep_search/line_symbols.h"

namespace tagmora::deep {

// The mod-43 check character of a Code 39 text; 0 for a character Code 39
// does not have.
char Code39CheckCharacter(std::string_view text);

// The text as a catalogue number: as read when it fits format; for Code 39,
// also the text without its last character when that is the right check
// character and what is left fits.
std::optional<std::string> FittingText(const LineSymbol& symbol, std::string_view format);

// A fitting text and where it was first read in a region.
struct Vote {
    std::string Text;
    int Lines = 0;         // separate lines that read it
    bool Checked = false;  // a verified check symbol carried it
    int FirstLine = 0;     // index of the first line that read it
    float FirstEnd = 0;    // sample where that line's symbol ended
};

// Adds what one line read (its index, its symbols) to votes.
void CountLine(std::vector<Vote>& votes, int line, const std::vector<LineSymbol>& symbols, std::string_view format);

// The votes that may be used: Checked, or read on at least two lines.
std::vector<Vote> TrustedVotes(const std::vector<Vote>& votes);

}  // namespace tagmora::deep
