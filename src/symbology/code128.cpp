#include "symbology/code128.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

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

// The module widths of bars and spaces; a zero unit means a list that
// cannot be measured.
struct ModuleUnits {
    double Bar = 1.0;
    double Space = 1.0;
};

// The six module counts of the symbol whose first bar is `first`, each 1 to
// 4 (a 0 is written and counted as 1), and their sum.
struct SymbolPattern {
    std::array<char, 6> Digits{};
    int Total = 0;

    std::string_view View() const { return {Digits.data(), Digits.size()}; }
};

SymbolPattern MeasureSymbol(std::span<const float> bars, std::span<const float> spaces, std::size_t first,
                            const ModuleUnits& units) {
    SymbolPattern symbol;
    for (std::size_t e = 0; e < 3; ++e) {
        const int bar = std::max(static_cast<int>(Modules(bars[first + e], units.Bar)), 1);
        const int space = std::max(static_cast<int>(Modules(spaces[first + e], units.Space)), 1);
        symbol.Digits[2 * e] = static_cast<char>('0' + bar);
        symbol.Digits[2 * e + 1] = static_cast<char>('0' + space);
        symbol.Total += bar + space;
    }
    return symbol;
}

// The running state of one decoding: check sum, weight, characters counted
// against the format's length and the code set.
struct SymbolWalk {
    std::int64_t Sum = 103;
    std::int64_t Pos = 0;
    std::int64_t Chars = 0;
    bool SetC = false;

    // A data symbol; false when its pattern is unknown.
    bool TakeData(int value, std::string& text) {
        ++Pos;
        Chars += SetC ? 2 : 1;
        if (value < 0) return false;
        Sum += value * Pos;
        if (value == kCode128CodeC && !SetC) {
            --Chars;
            SetC = true;
        } else if (SetC) {
            AppendNumeric(text, value);
        } else {
            // A set B symbol outside the table (values 100 to 103) leaves "!"
            // in the text for the format check to reject.
            text +=
                value < static_cast<int>(Code128SetB.size()) ? Code128SetB[static_cast<std::size_t>(value)] : kFailed;
        }
        return true;
    }

    // The check symbol: 104 + the weighted sum, modulo 103.
    bool TakeCheck(int value) {
        const std::int64_t expected = (Sum + 1) % 103;
        const std::int64_t found = value < 0 ? 200 : value;
        if (found != expected) return false;
        Sum = expected;
        return true;
    }
};

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

Code128Read DecodeCode128(std::span<const float> barWidths, std::span<const float> spaceWidths,
                          std::size_t formatLength) {
    Code128Read read;
    // Widths from a scan line are finite and never negative; anything else
    // cannot be measured in modules (and would keep the unit's widening from
    // ever ending).
    if (!AllUsable(barWidths) || !AllUsable(spaceWidths)) {
        read.Failed = true;
        return read;
    }
    // Empty lists are not measured: the symbol loop finds them too short.
    ModuleUnits units;
    if (!barWidths.empty()) {
        const float minBar = *std::min_element(barWidths.begin(), barWidths.end());
        if (minBar == 0.0f) return read;
        units.Bar = ModuleUnit(barWidths, minBar);
    }
    if (!spaceWidths.empty()) {
        const float minSpace = *std::min_element(spaceWidths.begin(), spaceWidths.end());
        // A space of no width gives no module to measure the others by.
        if (minSpace == 0.0f) {
            read.Failed = true;
            return read;
        }
        units.Space = ModuleUnit(spaceWidths, minSpace);
    }

    // The format's length bounds how many symbols are read: at most n - 2
    // after the start symbol, which is skipped unread (elements 0 to 2).
    const auto n = static_cast<std::int64_t>(formatLength);
    SymbolWalk walk;
    for (std::int64_t k = 3; 3 * n - 3 > k; k += 3) {
        const auto first = static_cast<std::size_t>(k);
        // A line that ends before the symbols the format calls for is no read.
        if (first + 2 >= barWidths.size() || first + 2 >= spaceWidths.size()) {
            read.Failed = true;
            break;
        }
        const SymbolPattern symbol = MeasureSymbol(barWidths, spaceWidths, first, units);
        if (symbol.Total < 11) {
            read.Failed = true;
            break;
        }
        const int value = PatternValue(symbol.View(), Code128Patterns.size());
        if (walk.Chars < n) {
            if (!walk.TakeData(value, read.Text)) {
                read.Failed = true;
                break;
            }
            continue;
        }
        // Only the Stop symbol follows a check symbol; taking it for a
        // second check would fail every barcode that has room left.
        read.Failed = !walk.TakeCheck(value);
        read.Whole = !read.Failed;
        break;
    }
    return read;
}

}  // namespace tagmora
