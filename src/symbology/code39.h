#pragma once
// Code 39 from bar/space run strings: one letter per element, b/B a narrow or
// wide bar, s/S a narrow or wide space.
#include <string>
#include <string_view>

namespace tagmora {

struct Context;

inline constexpr std::string_view kCode39StartStop = "bSbsBsBsb";

// The character of a nine-letter pattern, '*' for start/stop, '!' otherwise.
char DecodeCode39Char(std::string_view pattern);

// Whether the start/stop character stands at the 0-based index: a text read
// up to it is whole.
bool StopCharacterAt(std::string_view runString, std::size_t index);

// The text of a run string (possibly empty or partial). Sets BarcodeSeen;
// decodes only when ReadValid is set on entry; afterwards ReadValid tells
// whether the text matches the format.
std::string DecodeCode39(Context& ctx, std::string_view runString);

}  // namespace tagmora
