#include "general/line_scanning_engine.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

#include "base/text_helpers.h"
#include "general/threshold_crossings.h"
#include "general/wide_element_search.h"
#include "symbology/code128.h"
#include "symbology/code39.h"

namespace tagmora {

namespace {

// Trial thresholds start here (or at the darkest sample, if brighter) and rise
// in steps while they stay this far below the brightest sample.
constexpr std::int32_t kLowestTrialLevel = 50;
constexpr std::int32_t kTrialStep = 5;
constexpr std::int32_t kTrialHeadroom = 10;
// A crossing counts for the threshold choice only on a step this steep.
constexpr std::int32_t kStrongStep = 15;
// With fewer bars the full measurement is not worth it.
constexpr std::size_t kMinBars = 10;
constexpr double kOverWideSpaceRatio = 1.5;

std::int32_t StrongCrossings(std::span<const std::int32_t> s, std::int32_t level) {
    std::int32_t count = 0;
    for (std::size_t i = kFirstCrossingIndex; i < s.size(); ++i) {
        const std::int32_t here = s[i];
        const std::int32_t before = s[i - 1];
        if (here <= level && level < before && before - here > kStrongStep) ++count;
        if (before <= level && level < here && here - before > kStrongStep) ++count;
    }
    return count;
}

bool ByWidth(const Element& a, const Element& b) { return a.Width < b.Width; }
bool ByPosition(const Element& a, const Element& b) { return a.Position < b.Position; }

// Bars run from a falling crossing to the next rising one, spaces from a rising
// crossing to the next falling one. A leading rising crossing is skipped (light
// before the first bar is no space), and a bar still open at the end is dropped.
void PairCrossings(std::span<const EdgeRecord> edges, std::vector<Element>& bars, std::vector<Element>& spaces) {
    bars.clear();
    spaces.clear();
    std::size_t m = (!edges.empty() && !edges[0].Falling) ? 1 : 0;
    for (; m + 1 < edges.size(); m += 2) {
        if (edges[m].Falling) bars.push_back({edges[m].Position, edges[m + 1].Position - edges[m].Position});
        if (m + 2 < edges.size() && !edges[m + 1].Falling) {
            spaces.push_back({edges[m + 1].Position, edges[m + 2].Position - edges[m + 1].Position});
        }
    }
}

// The search's verdict: it leaves readValid set when its text is worth the
// format check (which sets the flag anew).
bool SearchAccepted(LineReading& reading, const std::string& text) { return reading.readValid && reading.Accept(text); }

// Narrow/wide limits of the bars and of the spaces left after trimming; both
// lists end up back in the order of their positions.
struct WidthLimits {
    float Bar = 0.0f;
    float Space = 0.0f;
    float SmallestBar = 0.0f;
};

WidthLimits ClassifyWidths(std::vector<Element>& bars, std::vector<Element>& spaces) {
    WidthLimits limits;
    // The largest jump between sorted widths separates narrow from wide.
    std::sort(bars.begin(), bars.end(), ByWidth);
    limits.SmallestBar = bars.front().Width;
    limits.Bar = WidthLimit(bars);
    std::sort(bars.begin(), bars.end(), ByPosition);

    std::sort(spaces.begin(), spaces.end(), ByWidth);
    TrimOverWideSpaces(spaces);
    limits.Space = WidthLimit(spaces);
    std::sort(spaces.begin(), spaces.end(), ByPosition);
    return limits;
}

// Quick Code 39 read when the line opens like a start character: narrow bar,
// wide space, narrow bar, narrow space. After trimming, bar i is simply
// followed by the i-th remaining space. Nothing when it did not read.
std::optional<std::string> QuickCode39(LineReading& reading, const WidthLimits& limits) {
    GeneralScratch& scratch = reading.general.Scratch;
    const auto& bars = scratch.Bars;
    const auto& spaces = scratch.Spaces;
    const auto wideBar = [&](std::size_t i) { return bars[i].Width > limits.Bar; };
    const auto wideSpace = [&](std::size_t i) { return spaces[i].Width > limits.Space; };
    if (spaces.size() < 2 || wideBar(0) || wideBar(1) || !wideSpace(0) || wideSpace(1)) return std::nullopt;

    std::string& run = scratch.RunString;
    run.clear();
    for (std::size_t i = 0; i < bars.size() && i < spaces.size(); ++i) {
        run.push_back(wideBar(i) ? 'B' : 'b');
        run.push_back(wideSpace(i) ? 'S' : 's');
    }
    run.push_back('b');
    reading.readValid = true;
    std::string candidate = reading.DecodeCode39(run);
    if (!reading.readValid) candidate.clear();
    if (!reading.Accept(candidate)) return std::nullopt;
    return candidate;
}

// Code 128 from the measured widths. A symbol that failed to decode, its
// check symbol included, is a misread even when the characters before the
// failure fit the format. Nothing when it did not read.
std::optional<std::string> ReadCode128(LineReading& reading) {
    GeneralScratch& scratch = reading.general.Scratch;
    scratch.BarWidths.clear();
    for (const Element& bar : scratch.Bars) scratch.BarWidths.push_back(bar.Width);
    scratch.SpaceWidths.clear();
    for (const Element& space : scratch.Spaces) scratch.SpaceWidths.push_back(space.Width);

    Code128Read read = DecodeCode128(scratch.BarWidths, scratch.SpaceWidths, CharacterCount(reading.format));
    reading.readValid = !read.Failed;
    if (!reading.readValid) return std::nullopt;
    // One format check serves both the verdict and the whole label of
    // another format (a whole read never failed).
    if (!reading.Accept(read.Text)) {
        reading.NoteUnmatched(read.Whole && !read.Text.empty(), read.Text);
        return std::nullopt;
    }
    return std::move(read.Text);
}

}  // namespace

std::int32_t ChooseThreshold(std::span<const std::int32_t> segment) {
    std::int32_t mn = 0;
    std::int32_t mx = 0;
    if (!segment.empty()) {
        const auto [lowest, highest] = std::minmax_element(segment.begin(), segment.end());
        mn = *lowest;
        mx = *highest;
    }
    ThresholdTally tally;
    // The first level is tried even when it is already too near the brightest.
    std::int32_t level = std::max(mn, kLowestTrialLevel);
    do {
        tally.Add(level, StrongCrossings(segment, level));
        level += kTrialStep;
    } while (level < mx - kTrialHeadroom);
    return tally.Threshold();
}

float WidthLimit(std::span<const Element> byWidth) {
    // Differences of floats are exact in double; in float a gap could round
    // up to tie with (or beat) a larger one.
    double largestGap = 0.0;
    float limit = 0.0f;
    for (std::size_t i = 1; i < byWidth.size(); ++i) {
        const double gap = static_cast<double>(byWidth[i].Width) - byWidth[i - 1].Width;
        if (gap > largestGap) {
            largestGap = gap;
            limit = (byWidth[i - 1].Width + byWidth[i].Width) * 0.5f;
        }
    }
    return limit;
}

void TrimOverWideSpaces(std::vector<Element>& byWidth) {
    // 1.5 times a float is exact in double, not in float.
    while (byWidth.size() >= 2 &&
           static_cast<double>(byWidth.back().Width) > kOverWideSpaceRatio * byWidth[byWidth.size() - 2].Width) {
        byWidth.pop_back();
    }
}

std::string ReadSegment(LineReading& reading) {
    GeneralState& general = reading.general;
    auto& bars = general.Scratch.Bars;
    auto& spaces = general.Scratch.Spaces;

    ExtractCrossings(general, ChooseThreshold(general.ProfileSegment));
    if (general.EdgeList.empty()) return {};
    PairCrossings(general.EdgeList, bars, spaces);

    if (bars.size() < kMinBars) {
        std::string text = FindCode39WideElements(reading);
        if (!SearchAccepted(reading, text)) return {};  // the search drew its own failure
        reading.Mark(StripColour::Red);
        return text;
    }

    const WidthLimits limits = ClassifyWidths(bars, spaces);
    if (std::optional<std::string> text = QuickCode39(reading, limits)) {
        reading.Mark(StripColour::Red);
        return std::move(*text);
    }

    // A bar of width 0 would divide by zero in the module arithmetic.
    if (limits.SmallestBar == 0.0f) return {};
    if (std::optional<std::string> text = ReadCode128(reading)) {
        reading.Mark(StripColour::Red);
        return std::move(*text);
    }

    std::string text = FindCode39WideElements(reading);
    if (SearchAccepted(reading, text)) {
        reading.Mark(StripColour::Red);
        return text;
    }
    reading.Mark(StripColour::Black);
    reading.readValid = false;
    return {};
}

}  // namespace tagmora
