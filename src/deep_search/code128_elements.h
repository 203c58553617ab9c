#pragma once
// A second reading of a Code 128 symbol zbar has decoded, from the element
// widths of the line: zbar leaves out FNC4 (extended characters) and the
// function characters, which could turn a label's text into another number.
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tagmora::deep {

// widths: every element width of the line so far, the last one completing the
// symbol; reversed: zbar met the symbol Stop first. The text (UTF-8), extended
// characters included, when the symbols match the table, the check symbol is
// right, no FNC1 to FNC3 occurs and the text agrees with zbarText in its low
// seven bits; nothing otherwise.
std::optional<std::string> Code128FromElements(std::span<const float> widths, bool reversed, std::string_view zbarText);

}  // namespace tagmora::deep
