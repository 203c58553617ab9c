#include "symbology/code39.h"

#include <cstddef>
#include <utility>

#include "symbology/code39_table.h"
#include "symbology/format_match.h"

namespace tagmora {

static_assert(Code39Patterns[kCode39StartStopIndex].Pattern == kCode39StartStop);

char DecodeCode39Char(std::string_view pattern) {
    for (std::size_t i = 0; i < kCode39StartStopIndex; ++i)
        if (Code39Patterns[i].Pattern == pattern) return Code39Patterns[i].Character;
    if (pattern == kCode39StartStop) return '*';
    return '!';
}

namespace {

// Nine letters and the gap letter after them.
constexpr std::size_t kCharacterStride = 10;

bool StopCharacterAt(std::string_view runString, std::size_t index) {
    return index < runString.size() && runString.substr(index, kCode39StartStop.size()) == kCode39StartStop;
}

}  // namespace

Code39Characters ReadCode39Characters(std::string_view runString, std::size_t start) {
    Code39Characters read;
    const auto length = static_cast<std::ptrdiff_t>(runString.size());
    // 0-based index of the first data character: past the start character
    // and the gap letter after it.
    auto p = static_cast<std::ptrdiff_t>(start + kCharacterStride);
    for (;;) {
        // A run string may end right after the start character: nothing to
        // read there, which decodes as a failure like any short chunk.
        const std::string_view chunk =
            p < length ? runString.substr(static_cast<std::size_t>(p), kCode39StartStop.size()) : std::string_view{};
        const char ch = DecodeCode39Char(chunk);
        read.Failed = ch == '!';
        read.Whole = ch == '*';
        if (ch != '!' && ch != '*') read.Text += ch;
        p += static_cast<std::ptrdiff_t>(kCharacterStride);
        // The stop character is not required: a string too short for another
        // full character ends the text (p + 1 is the 1-based position).
        if (read.Failed || read.Whole || !(length - static_cast<std::ptrdiff_t>(kCharacterStride) > p + 1)) break;
    }
    // The walk may end just short of a stop character it did not read.
    if (!read.Failed && !read.Whole) read.Whole = StopCharacterAt(runString, static_cast<std::size_t>(p));
    return read;
}

Code39Read DecodeCode39(std::string_view runString, std::string_view format) {
    Code39Read read;
    const std::size_t start = runString.find(kCode39StartStop);
    read.StartSeen = start != std::string_view::npos;
    if (read.StartSeen) {
        Code39Characters characters = ReadCode39Characters(runString, start);
        read.Text = std::move(characters.Text);
        read.Whole = characters.Whole;
    }
    // The format alone decides (an empty format even accepts nothing read): a text of the right shape is accepted even
    // if a later character failed or no stop character was read.
    read.Accepted = MatchesFormat(read.Text, format);
    return read;
}

}  // namespace tagmora
