#include "symbology/code128.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "app/context.h"
#include "symbology/code128_table.h"

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

// Module counts of one list, measured by the mean width of its elements of
// about one module (those less than 1.5 times the narrowest, min > 0).
//
// No Code 128 element is wider than four modules: an element that looks wider
// means the unit came out too small (narrow elements printed thin), so the
// unit grows by 5 % until every element fits. Bars and spaces are measured
// independently; each unit grows only while its own list has a count above 4.
// The unit is at least min > 0 and every width is finite, so each pass brings
// the widest ratio down by 5 % and the loop ends.
std::vector<int> ModuleCounts(std::span<const float> widths, float min) {
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

    std::vector<int> counts;
    counts.reserve(widths.size());
    for (float w : widths) counts.push_back(static_cast<int>(Modules(w, unit)));
    return counts;
}

}  // namespace

std::string DecodeCode128Symbol(std::string_view pattern, bool numeric) {
    if (numeric) {
        const int value = PatternValue(pattern, Code128Patterns.size());
        if (value < 0) return std::string(kFailed);
        return (value < 10 ? "0" : "") + std::to_string(value);
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
    std::vector<int> bars, spaces;
    if (!barWidths.empty()) {
        const float minBar = *std::min_element(barWidths.begin(), barWidths.end());
        if (minBar == 0.0f) return {};
        bars = ModuleCounts(barWidths, minBar);
    }
    if (!spaceWidths.empty()) {
        const float minSpace = *std::min_element(spaceWidths.begin(), spaceWidths.end());
        // A space of no width gives no module to measure the others by.
        if (minSpace == 0.0f) {
            ctx.run.ReadValid = false;
            return {};
        }
        spaces = ModuleCounts(spaceWidths, minSpace);
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
        if (first + 2 >= bars.size() || first + 2 >= spaces.size()) {
            ctx.run.ReadValid = false;
            break;
        }
        std::string pattern;
        int total = 0;
        for (std::size_t i = first; i < first + 3; ++i) {
            for (int count : {bars[i], spaces[i]}) {
                const int modules = std::max(count, 1);
                pattern += static_cast<char>('0' + modules);
                total += modules;
            }
        }
        if (total < 11) {
            ctx.run.ReadValid = false;
            break;
        }

        const std::string numeric = DecodeCode128Symbol(pattern, true);
        if (chars < n) {
            ++pos;
            chars += setC ? 2 : 1;
            if (numeric == kFailed) {
                ctx.run.ReadValid = false;
                break;
            }
            sum += std::stoi(numeric) * pos;
            if (pattern == Code128Patterns[kCode128CodeC] && !setC) {
                --chars;
                setC = true;
            } else {
                // A set B symbol outside the table (values 100 to 103) leaves
                // "!" in the text for the format check to reject.
                text += setC ? numeric : DecodeCode128Symbol(pattern, false);
            }
        } else {
            // The check symbol: 104 + the weighted sum, modulo 103.
            const std::int64_t expected = (sum + 1) % 103;
            const std::int64_t found = numeric == kFailed ? 200 : std::stoi(numeric);
            if (found != expected) {
                ctx.run.ReadValid = false;
                break;
            }
            // Only the Stop symbol follows a check symbol; taking it for a
            // second check would fail every barcode that has room left.
            sum = expected;
            break;
        }
    }
    return text;
}

}  // namespace tagmora
