#pragma once
// Code 39 from bar/space run strings: one letter per element, b/B a narrow or
// wide bar, s/S a narrow or wide space. Pure functions: what was read comes
// back as a value, and the callers decide what it means for the image.
#include <cstddef>
#include <string>
#include <string_view>

namespace tagmora {

inline constexpr std::string_view kCode39StartStop = "bSbsBsBsb";

// The character of a nine-letter pattern, '*' for start/stop, '!' otherwise.
char DecodeCode39Char(std::string_view pattern);

// The characters that follow a start character, each nine letters and a gap
// letter (never examined).
struct Code39Characters {
    std::string Text;     // the characters read, start and stop left out
    bool Failed = false;  // a chunk that is no character ended the walk
    bool Whole = false;   // the walk reached the stop character without a failure
};

// Walks from the start character at the 0-based index start until a chunk
// fails, the stop character is read, or too few letters remain for another
// character (then the text is whole only if the stop character stands there).
Code39Characters ReadCode39Characters(std::string_view runString, std::size_t start);

struct Code39Read {
    std::string Text;        // possibly empty or partial
    bool StartSeen = false;  // the start/stop pattern is in the run string
    bool Accepted = false;   // the text fits the format, whatever failed after it
    bool Whole = false;      // read from start to stop, every character known

    // A label of its own whose text is not of the format's shape.
    bool Unmatched() const { return Whole && !Accepted && !Text.empty(); }
};

// The text of a run string from its first start pattern on.
Code39Read DecodeCode39(std::string_view runString, std::string_view format);

}  // namespace tagmora
