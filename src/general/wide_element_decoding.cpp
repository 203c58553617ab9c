#include "general/wide_element_decoding.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tagmora {

namespace {

// Wide bars of a three-character format string; never decoded (the search
// finds them for formats too short to be catalogue numbers).
constexpr std::size_t kRefusedBarCount = 10;
constexpr std::size_t kMinWideSpaces = 5;
// The narrow elements between two wide ones follow from the distance of their
// centres in narrow units: half of each wide element (3.5 units in all) is
// taken off, and the rest is scaled by 0.869 before rounding.
constexpr double kWideInUnits = 3.5;
constexpr double kGapScale = 0.869;
// A gap holding this many narrow elements or more contains a whole nine-letter
// chunk of narrow letters, on which the decoding stops whatever the exact
// count; larger counts are cut down to this (keeping their parity), so that a
// tiny unit cannot blow up the run string.
constexpr std::int32_t kMaxEvenGap = 20;
constexpr std::int32_t kMaxOddGap = 21;

// The narrow elements between two wide marks. Bars and spaces alternate, so
// between marks of different kinds there is an even number of them and
// between marks of the same kind an odd number.
std::int32_t NarrowCount(float from, float to, float unit, bool sameKind) {
    const float g = static_cast<float>((static_cast<double>(to) - from) / unit);
    const float v = static_cast<float>((g - kWideInUnits) * kGapScale);
    const double count = sameKind ? 2.0 * std::floor((v - 1.0) * 0.5 + 0.5) + 1.0 : 2.0 * std::floor(v * 0.5 + 0.5);
    const std::int32_t cap = sameKind ? kMaxOddGap : kMaxEvenGap;
    if (!(count <= cap)) return cap;
    return static_cast<std::int32_t>(count);
}

void AppendNarrow(std::string& run, std::int32_t count, char after) {
    char next = after == 'B' ? 's' : 'b';
    for (std::int32_t i = 0; i < count; ++i) {
        run.push_back(next);
        next = next == 's' ? 'b' : 's';
    }
}

}  // namespace

std::string DecodeWideElements(LineReading& reading, std::span<const Element> wideBars,
                               std::span<const Element> wideSpaces) {
    // The unit needs a second wide bar; fewer than two cannot come from the
    // search, which always hands over at least four.
    if (wideBars.size() == kRefusedBarCount || wideSpaces.size() < kMinWideSpaces || wideBars.size() < 2) {
        return {};
    }

    // In a start character the first wide space and the second wide bar lie
    // ten narrow widths apart. The unit is the nearest float to a tenth of
    // that distance (a float product with 0.1f can land one step off).
    const float unit = static_cast<float>((static_cast<double>(wideBars[1].Position) - wideSpaces[0].Position) * 0.1);
    if (unit <= 0.0f) {
        reading.readValid = false;
        reading.Mark(StripColour::Black);
        return {};
    }

    auto& marks = reading.general.Scratch.Marks;
    marks.clear();
    for (const Element& bar : wideBars) marks.push_back({bar.Position, 'B'});
    for (const Element& space : wideSpaces) marks.push_back({space.Position, 'S'});
    std::sort(marks.begin(), marks.end(), [](const WideMark& a, const WideMark& b) { return a.Centre < b.Centre; });

    // The start character's leading narrow bar, then each wide element with
    // the narrow ones that follow it; the last mark is taken as the stop
    // character's final wide bar, followed by its narrow space and bar.
    std::string& run = reading.general.Scratch.WideRunString;
    run.clear();
    run.push_back('b');
    for (std::size_t i = 0; i + 1 < marks.size(); ++i) {
        run.push_back(marks[i].Kind);
        const bool sameKind = marks[i].Kind == marks[i + 1].Kind;
        AppendNarrow(run, NarrowCount(marks[i].Centre, marks[i + 1].Centre, unit, sameKind), marks[i].Kind);
    }
    for (const char letter : {'B', 's', 'b'}) run.push_back(letter);

    std::string text = reading.DecodeCode39(run);
    reading.Mark(reading.readValid ? StripColour::Red : StripColour::Black);
    return text;
}

}  // namespace tagmora
