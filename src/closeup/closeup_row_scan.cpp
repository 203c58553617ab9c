#include "closeup/closeup_row_scan.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "symbology/code39.h"
#include "symbology/format_match.h"

namespace tagmora {

namespace {

// A bin needs this many runs to belong to a peak of the width histogram.
constexpr std::int32_t kPeakCount = 5;
// A step of this many grey levels (or this far from the threshold) is an edge.
constexpr std::int32_t kEdgeStep = 10;
// Fewer runs than this cannot hold a Code 39 label worth reading.
constexpr std::size_t kMinimumRuns = 100;
// Runs shorter than this are noise; the histograms ignore them.
constexpr std::int32_t kShortestCountedRun = 3;
// A light run's threshold this large means wide elements worth a smoothed retry.
constexpr std::int32_t kSmoothingSpaceThreshold = 20;

// The start character with the narrow gap after it, and the character S: a
// close-up row counts as showing a barcode only when both are on it.
constexpr std::string_view kStartWithGap = "bSbsBsBsbs";
constexpr std::string_view kCharacterS = "bsBsbsBSb";
static_assert(kStartWithGap.substr(0, 9) == kCode39StartStop);

using Histogram = std::array<std::int32_t, kHistogramSize>;

// Fixed-capacity list of signed run lengths: positive light, negative dark.
struct RunList {
    std::array<std::int32_t, kCloseUpRunCapacity> values{};
    std::size_t size = 0;

    bool Full() const { return size >= values.size(); }
    void Append(std::int32_t run) {
        if (!Full()) values[size++] = run;
    }
    std::span<const std::int32_t> View() const { return {values.data(), size}; }
};

bool IsDark(std::span<const std::int32_t> v, std::size_t x, std::int32_t threshold) {
    return (v[x] <= threshold && v[x - 1] - v[x] >= kEdgeStep) || threshold - v[x] >= kEdgeStep;
}

bool IsLight(std::span<const std::int32_t> v, std::size_t x, std::int32_t threshold) {
    return (v[x] > threshold && v[x] - v[x - 1] >= kEdgeStep) || v[x] - threshold >= kEdgeStep;
}

// Light and dark runs between the edges found around the threshold. The list
// stops growing when it is full: whatever lies beyond is not looked at.
void CollectRuns(std::span<const std::int32_t> v, std::int32_t threshold, RunList& runs) {
    const std::size_t width = v.size();
    const auto widthPos = static_cast<std::int32_t>(width);
    std::size_t x = 1;
    std::int32_t rise = 0;
    std::int32_t fall = 0;
    // Runs are appended in pairs and the capacity is even, so a pair never splits.
    static_assert(kCloseUpRunCapacity % 2 == 0);
    while (x < width && !runs.Full()) {
        while (x < width && !IsDark(v, x, threshold)) ++x;
        if (x >= width) {
            fall = widthPos;
        } else {
            // The pixel before the edge wins when it lies nearer the threshold.
            const auto pos = static_cast<std::int32_t>(x);
            fall = threshold - v[x] > v[x - 1] - threshold ? pos - 1 : pos;
        }
        runs.Append(fall - rise);

        while (x < width && !IsLight(v, x, threshold)) ++x;
        if (x >= width) {
            rise = widthPos;
        } else {
            const auto pos = static_cast<std::int32_t>(x);
            rise = v[x] - threshold > threshold - v[x - 1] ? pos - 1 : pos;
        }
        runs.Append(fall - rise);
    }
}

char RunLetter(std::int32_t run, std::int32_t lightThreshold, std::int32_t darkThreshold) {
    if (run < -darkThreshold) return 'B';
    if (run < 0) return 'b';
    if (run < lightThreshold) return 's';
    return 'S';
}

}  // namespace

std::int32_t ValleyThreshold(const std::array<std::int32_t, kHistogramSize>& histogram, std::int32_t count,
                             std::int32_t& hi) {
    constexpr auto kSize = static_cast<std::int32_t>(kHistogramSize);
    // Bins past the number of runs counted are not examined.
    const std::int32_t n = std::clamp(count, 0, kSize);
    const auto h = [&](std::int32_t i) { return histogram[static_cast<std::size_t>(i)]; };

    std::int32_t i = 0;
    while (i < kSize && h(i) < kPeakCount) ++i;

    std::int32_t threshold = 0;
    do {
        while (i < n && h(i) >= kPeakCount) ++i;
        const std::int32_t lo = i;
        ++i;
        // A gap of one bin leaves hi as the previous gap left it.
        while (i < n && h(i) < kPeakCount) {
            hi = i;
            ++i;
        }
        // Only a gap with a further peak after it separates narrow from wide.
        if (i < n) threshold = std::max(threshold, (lo + hi) / 2);
        ++i;
    } while (i < n);
    return threshold;
}

namespace {

// The run string of the row: each run a letter, narrow or wide by the two
// histogram valleys. The light valley is kept for the smoothed retry.
std::string_view RowRunString(CloseUpState& closeUp, const RunList& runs,
                              std::array<char, kCloseUpRunCapacity>& letters) {
    Histogram light{};
    Histogram dark{};
    std::int32_t lightCount = 0;
    std::int32_t darkCount = 0;
    constexpr auto kLongest = static_cast<std::int32_t>(kHistogramSize) - 1;
    for (const std::int32_t r : runs.View()) {
        if (r >= kShortestCountedRun && r <= kLongest) {
            ++light[static_cast<std::size_t>(r)];
            ++lightCount;
        } else if (r <= -kShortestCountedRun && r >= -kLongest) {
            ++dark[static_cast<std::size_t>(-r)];
            ++darkCount;
        }
    }

    // The dark histogram's first single-bin gap continues from the light one's hi.
    std::int32_t hi = 0;
    const std::int32_t lightThreshold = ValleyThreshold(light, lightCount, hi);
    const std::int32_t darkThreshold = ValleyThreshold(dark, darkCount, hi);
    closeUp.CloseUpSpaceThreshold = lightThreshold;

    std::size_t letterCount = 0;
    for (const std::int32_t r : runs.View()) {
        if (r != 0) letters[letterCount++] = RunLetter(r, lightThreshold, darkThreshold);
    }
    return {letters.data(), letterCount};
}

}  // namespace

std::string AnalyseCloseUpRow(RowReading& reading, std::span<const std::int32_t> samples, std::int32_t threshold) {
    ScanFinding& result = reading.result;
    RunList runs;
    CollectRuns(samples, threshold, runs);
    if (runs.size < kMinimumRuns) {
        result.Fits = false;
        reading.observer.RowMarked(StripColour::Black, reading.row);
        return {};
    }

    std::array<char, kCloseUpRunCapacity> letters{};
    const std::string_view runString = RowRunString(reading.closeUp, runs, letters);
    const std::size_t start = runString.find(kStartWithGap);
    const bool seen = start != std::string_view::npos && runString.find(kCharacterS) != std::string_view::npos;
    result.Seen = seen;

    std::string text;
    bool fits = false;
    if (seen) {
        Code39Characters characters = ReadCode39Characters(runString, start);
        // A partial or over-long text is worth nothing here: no guessing.
        fits = MatchesFormat(characters.Text, reading.format);
        if (fits) {
            text = std::move(characters.Text);
        } else if (characters.Whole && !characters.Text.empty() && result.Unmatched.empty()) {
            // Read whole from start to stop, yet not of the format's shape: a
            // label of its own that must not pass for an image without one.
            result.Unmatched = std::move(characters.Text);
        }
    }

    // Without a fitting text the text is empty, which an empty format accepts.
    result.Fits = fits || MatchesFormat(text, reading.format);
    reading.observer.RowMarked(result.Fits ? StripColour::Red : StripColour::Black, reading.row);
    result.Text = text;
    return text;
}

ScanFinding ScanCloseUpRow(const WorkBitmap& bitmap, CloseUpState& closeUp, std::int32_t row, std::string_view format,
                           bool barcodeSeen, RowObserver& observer) {
    std::array<std::int32_t, kCloseUpRowCapacity> buffer;
    std::span<const std::uint8_t> pixels;
    if (row >= 0 && row < bitmap.Height && bitmap.Width > 0) pixels = bitmap.Row(row);
    // A row wider than the buffer is analysed over its first pixels only.
    pixels = pixels.first(std::min(pixels.size(), buffer.size()));
    const std::span<std::int32_t> samples(buffer.data(), pixels.size());
    std::copy(pixels.begin(), pixels.end(), samples.begin());

    std::int32_t darkest = 255;
    std::int32_t lightest = 0;
    for (std::size_t x = 1; x < samples.size(); ++x) {
        darkest = std::min(darkest, samples[x]);
        lightest = std::max(lightest, samples[x]);
    }
    const std::int32_t threshold = (darkest + lightest) / 2;

    RowReading reading{closeUp, format, observer, row};
    reading.result.Seen = barcodeSeen;
    AnalyseCloseUpRow(reading, samples, threshold);

    // Wide elements that did not read may be split by noise: average each
    // pixel with its right neighbour and try once more at the same threshold.
    if (reading.result.Seen.value_or(false) && !reading.result.Fits &&
        closeUp.CloseUpSpaceThreshold > kSmoothingSpaceThreshold) {
        for (std::size_t x = 1; x + 1 < samples.size(); ++x) samples[x] = (pixels[x] + pixels[x + 1]) / 2;
        AnalyseCloseUpRow(reading, samples, threshold);
        // The row has shown a barcode, whatever its smoothed copy shows: an
        // image with an unread barcode must not pass for one without.
        reading.result.Seen = true;
    }
    return std::move(reading.result);
}

}  // namespace tagmora
