#include "deep_search/code128_elements.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/text_helpers.h"
#include "symbology/code128_table.h"

namespace tagmora::deep {
namespace {

constexpr int kStartA = 103, kStartB = 104, kStartC = 105, kStop = 106;
constexpr int kShift = 98, kCodeC = 99, kFnc1 = 102;

// The symbol table of the scan-line decoders, with the two start symbols and
// the first six elements of Stop that it leaves out.
constexpr std::array<std::string_view, 107> kPatterns = [] {
    std::array<std::string_view, 107> p{};
    for (std::size_t v = 0; v < Code128Patterns.size(); ++v) p[v] = Code128Patterns[v];
    p[kStartB] = "211214";
    p[kStartC] = "211232";
    p[kStop] = "233111";
    return p;
}();
static_assert(kPatterns[kStartA] == "211412", "Start A closes the shared table");

// The value whose pattern is nearest to six widths: edge-to-similar-edge
// sums carry the weight (ink spread cancels in them), the single widths
// only break ties. -1 when no pattern is clearly nearest.
int MatchSymbol(const std::array<float, 6>& w) {
    float total = 0;
    for (float x : w) total += x;
    if (total <= 0) return -1;
    std::array<float, 6> m{};
    for (std::size_t i = 0; i < 6; ++i) m[i] = w[i] * 11.0f / total;
    int best = -1;
    float bestScore = 1e9f, secondScore = 1e9f;
    for (std::size_t v = 0; v < kPatterns.size(); ++v) {
        float score = 0;
        for (std::size_t i = 0; i < 6; ++i) {
            const auto p = [&](std::size_t j) { return static_cast<float>(kPatterns[v][j] - '0'); };
            if (i < 5) score += (m[i] + m[i + 1] - p(i) - p(i + 1)) * (m[i] + m[i + 1] - p(i) - p(i + 1));
            score += 0.25f * (m[i] - p(i)) * (m[i] - p(i));
        }
        if (score < bestScore) {
            secondScore = bestScore, bestScore = score, best = static_cast<int>(v);
        } else if (score < secondScore) {
            secondScore = score;
        }
    }
    return bestScore < 1.2f && secondScore > bestScore + 0.4f ? best : -1;
}

// Symbol values from start to stop, walking back from the last element.
std::optional<std::vector<int>> SymbolValues(std::span<const float> widths, bool reversed) {
    std::vector<int> values;
    for (std::size_t end = widths.size(); end >= 6 && values.size() < 80; end -= 6) {
        std::array<float, 6> group{};
        for (std::size_t i = 0; i < 6; ++i) group[i] = widths[reversed ? end - 1 - i : end - 6 + i];
        const int v = MatchSymbol(group);
        if (v < 0) return std::nullopt;
        values.push_back(v);
        if (values.size() == 1) {
            const bool opens = reversed ? v >= kStartA && v <= kStartC : v == kStop;
            if (!opens) return std::nullopt;
            continue;
        }
        const bool closes = reversed ? v == kStop : v >= kStartA && v <= kStartC;
        if (closes) {
            if (!reversed) std::reverse(values.begin(), values.end());
            return values;
        }
        if (v >= kStartA) return std::nullopt;
    }
    return std::nullopt;
}

// The text of the data symbols between start and check, extended characters
// (FNC4 before a character, or two FNC4 for a run) included.
std::optional<std::string> Text(const std::vector<int>& values) {
    int set = values.front() - kStartA;  // 0 A, 1 B, 2 C
    bool shift = false, fnc4 = false, fnc4Run = false, lastFnc4 = false;
    std::string text;
    for (std::size_t i = 1; i + 2 < values.size(); ++i) {
        const int v = values[i];
        const bool wasFnc4 = lastFnc4;
        lastFnc4 = false;
        if (set == 2) {
            if (v < 100)
                text += {static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
            else if (v == kFnc1)
                return std::nullopt;
            else
                set = v == 100 ? 1 : 0;
            continue;
        }
        const int use = shift ? 1 - set : set;
        if (v < 96) {
            int c = use == 1 || v < 64 ? v + 32 : v - 64;
            if (fnc4 != fnc4Run) c += 128;
            text += static_cast<char>(c);
            shift = fnc4 = false;
        } else if (v == kShift) {
            shift = true;
        } else if (v == kCodeC) {
            set = 2;
        } else if ((set == 1 && v == 100) || (set == 0 && v == 101)) {
            if (wasFnc4)
                fnc4Run = !fnc4Run, fnc4 = false;
            else
                fnc4 = lastFnc4 = true;
        } else if (v == 100 || v == 101) {
            set = v == 100 ? 1 : 0;
        } else {
            return std::nullopt;  // FNC1, FNC2, FNC3: not a catalogue number
        }
    }
    return text;
}

bool CheckSymbolRight(const std::vector<int>& values) {
    long sum = values.front();
    for (std::size_t i = 1; i + 2 < values.size(); ++i) sum += static_cast<long>(i) * values[i];
    return sum % 103 == values[values.size() - 2];
}

}  // namespace

std::optional<std::string> Code128FromElements(std::span<const float> widths, bool reversed,
                                               std::string_view zbarText) {
    const auto values = SymbolValues(widths, reversed);
    if (!values || values->size() < 3 || !CheckSymbolRight(*values)) return std::nullopt;
    auto text = Text(*values);
    if (!text || text->size() != zbarText.size()) return std::nullopt;
    for (std::size_t i = 0; i < text->size(); ++i)
        if (((*text)[i] & 0x7f) != zbarText[i]) return std::nullopt;
    // FNC4 gives ISO 8859-1 characters; names, log and report are UTF-8.
    return Latin1ToUtf8(*text);
}

}  // namespace tagmora::deep
