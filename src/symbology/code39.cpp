#include "symbology/code39.h"

#include <cstddef>

#include "app/context.h"
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

bool StopCharacterAt(std::string_view runString, std::size_t index) {
    return index < runString.size() && runString.substr(index, kCode39StartStop.size()) == kCode39StartStop;
}

std::string DecodeCode39(Context& ctx, std::string_view runString) {
    std::string result;
    bool stopRead = false;
    const std::size_t start = runString.find(kCode39StartStop);
    ctx.run.BarcodeSeen = start != std::string_view::npos;
    if (!ctx.run.BarcodeSeen) ctx.run.ReadValid = false;

    if (ctx.run.ReadValid) {
        const auto length = static_cast<std::ptrdiff_t>(runString.size());
        // 0-based index of the first data character: past the start character
        // and the gap letter after it, which is never examined.
        auto p = static_cast<std::ptrdiff_t>(start) + 9 + 1;
        for (;;) {
            // A run string may end right after the start character: nothing to
            // read there, which decodes as a failure like any short chunk.
            const std::string_view chunk = p < length ? runString.substr(static_cast<std::size_t>(p), 9) : std::string_view{};
            const char ch = DecodeCode39Char(chunk);
            if (ch == '!')
                ctx.run.ReadValid = false;
            else if (ch != '*')
                result += ch;
            stopRead = ch == '*';
            p += 10;  // nine letters and the gap
            // The stop character is not required: a string too short for
            // another full character ends the text (p + 1 is the 1-based position).
            if (!ctx.run.ReadValid || ch == '*' || !(length - 10 > p + 1)) break;
        }
        // The loop may end just short of a stop character it did not read.
        stopRead = stopRead || (ctx.run.ReadValid && StopCharacterAt(runString, static_cast<std::size_t>(p)));
    }

    // The format alone decides: a text of the right shape is accepted even if
    // a later character failed or no stop character was read.
    if (!MatchesFormat(ctx, result)) {
        ctx.run.ReadValid = false;
        // Read whole from start to stop, yet not of the format's shape: a
        // label of its own that the caller must not mistake for no label.
        if (stopRead && !result.empty()) NoteUnmatchedBarcode(ctx.run, result);
    }
    return result;
}

}  // namespace tagmora
