#include "symbology/code128.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "app/context.h"
#include "symbology/code128_table.h"
#include "symbology/format_match.h"

namespace tagmora {
namespace {

constexpr std::string_view kFailed = "!";

// Value of a pattern among the first `count` table entries, or -1.
int PatternValue(std::string_view pattern, std::size_t count) {
    for (std::size_t v = 0; v < count; ++v)
        if (Code128Patterns[v] == pattern) return static_cast<int>(v);
    return -1;
}

bool AllUsable(std::span<const float> widths) {
    return std::all_of(widths.begin(), widths.end(), [](float w) { return std::isfinite(w) && w >= 0.0f; });
}

// round(w / unit) as the largest integer not above w / unit + 0.5, kept as a
// double so that an absurd ratio cannot overflow an int.
double Modules(float width, double unit) { return std::floor(width / unit + 0.5); }

// The width of one module in a list: the mean width of its elements of about
// one module (those less than 1.5 times the narrowest, min > 0).
//
// No Code 128 element is wider than four modules: an element that looks wider
// means the unit came out too small (narrow elements printed thin), so the
// unit grows by 5 % until every element fits. Bars and spaces are measured
// independently; each unit grows only while its own list has a count above 4.
// The unit is at least min > 0 and every width is finite, so each pass brings
// the widest ratio down by 5 % and the loop ends.
double ModuleUnit(std::span<const float> widths, float min) {
    double total = 0.0;
    int count = 0;
    for (float w : widths) {
        // The ratio as it is, not rounded to float: just under 1.5 is in.
        if (static_cast<double>(w) / min < 1.5) {
            total += w;
            ++count;
        }
    }
    double unit = total / count;
    const float widest = *std::max_element(widths.begin(), widths.end());
    while (Modules(widest, unit) > 4.0) unit *= 1.05;
    return unit;
}

// The set C text of a value: two digits, three for 100 to 103.
void AppendNumeric(std::string& text, int value) {
    if (value >= 100) text += static_cast<char>('0' + value / 100);
    text += static_cast<char>('0' + value / 10 % 10);
    text += static_cast<char>('0' + value % 10);
}

}  // namespace

std::string DecodeCode128Symbol(std::string_view pattern, bool numeric) {
    if (numeric) {
        const int value = PatternValue(pattern, Code128Patterns.size());
        if (value < 0) return std::string(kFailed);
        std::string text;
        AppendNumeric(text, value);
        return text;
    }
    const int value = PatternValue(pattern, Code128SetB.size());
    return value < 0 ? std::string(kFailed) : std::string(Code128SetB[static_cast<std::size_t>(value)]);
}

std::string DecodeCode128(Context& ctx, std::span<const float> barWidths, std::span<const float> spaceWidths) {
    // Widths from a scan line are finite and never negative; anything else
    // cannot be measured in modules (and would keep the unit's widening from
    // ever ending).
    if (!AllUsable(barWidths) || !AllUsable(spaceWidths)) {
        ctx.run.ReadValid = false;
        return {};
    }
    // Empty lists are not measured: the symbol loop finds them too short.
    double barUnit = 1.0;
    double spaceUnit = 1.0;
    if (!barWidths.empty()) {
        const float minBar = *std::min_element(barWidths.begin(), barWidths.end());
        if (minBar == 0.0f) return {};
        barUnit = ModuleUnit(barWidths, minBar);
    }
    if (!spaceWidths.empty()) {
        const float minSpace = *std::min_element(spaceWidths.begin(), spaceWidths.end());
        // A space of no width gives no module to measure the others by.
        if (minSpace == 0.0f) {
            ctx.run.ReadValid = false;
            return {};
        }
        spaceUnit = ModuleUnit(spaceWidths, minSpace);
    }

    // The format's length bounds how many symbols are read: at most n - 2
    // after the start symbol, which is skipped unread (elements 0 to 2).
    const auto n = static_cast<std::int64_t>(ctx.Settings().BarcodeFormat().size());
    std::int64_t sum = 103;
    std::int64_t pos = 0;
    std::int64_t chars = 0;
    bool setC = false;
    std::string text;
    for (std::int64_t k = 3; 3 * n - 3 > k; k += 3) {
        const auto first = static_cast<std::size_t>(k);
        // A line that ends before the symbols the format calls for is no read.
        if (first + 2 >= barWidths.size() || first + 2 >= spaceWidths.size()) {
            ctx.run.ReadValid = false;
            break;
        }
        // Every count is 0 to 4 here; a 0 is written and counted as 1.
        std::array<char, 6> digits{};
        int total = 0;
        for (std::size_t e = 0; e < 3; ++e) {
            const int bar = std::max(static_cast<int>(Modules(barWidths[first + e], barUnit)), 1);
            const int space = std::max(static_cast<int>(Modules(spaceWidths[first + e], spaceUnit)), 1);
            digits[2 * e] = static_cast<char>('0' + bar);
            digits[2 * e + 1] = static_cast<char>('0' + space);
            total += bar + space;
        }
        if (total < 11) {
            ctx.run.ReadValid = false;
            break;
        }

        const int value = PatternValue(std::string_view(digits.data(), digits.size()), Code128Patterns.size());
        if (chars < n) {
            ++pos;
            chars += setC ? 2 : 1;
            if (value < 0) {
                ctx.run.ReadValid = false;
                break;
            }
            sum += value * pos;
            if (value == kCode128CodeC && !setC) {
                --chars;
                setC = true;
            } else if (setC) {
                AppendNumeric(text, value);
            } else {
                // A set B symbol outside the table (values 100 to 103) leaves
                // "!" in the text for the format check to reject.
                text += value < static_cast<int>(Code128SetB.size()) ? Code128SetB[static_cast<std::size_t>(value)]
                                                                     : kFailed;
            }
        } else {
            // The check symbol: 104 + the weighted sum, modulo 103.
            const std::int64_t expected = (sum + 1) % 103;
            const std::int64_t found = value < 0 ? 200 : value;
            if (found != expected) {
                ctx.run.ReadValid = false;
                break;
            }
            // Only the Stop symbol follows a check symbol; taking it for a
            // second check would fail every barcode that has room left.
            sum = expected;
            // A text that passed its check symbol is whole: one that does not
            // fit the format is a label of its own, not a misread.
            if (!text.empty() && !TextMatchesFormat(text, ctx.Settings().BarcodeFormat()))
                NoteUnmatchedBarcode(ctx.run, text);
            break;
        }
    }
    return text;
}

}  // namespace tagmora
