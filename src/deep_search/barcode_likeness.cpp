#include "deep_search/barcode_likeness.h"

#include <algorithm>
#include <cmath>

namespace tagmora::deep {
namespace {

// A Code 39 label of one character has 10 bars, a Code 128 label of one
// symbol 7; catalogue numbers give several times that.
constexpr std::size_t kMinBars = 16;
// Bars run the label's whole height, the stems of typed text one line of
// text: lines this share of the region's lines apart must still agree.
constexpr std::size_t kFarShare = 3;
// Blur and noise merge the narrow elements of a real barcode: this many bars
// of two widths on one line of a region still keep the scan lines' flag.
// Asking for two such lines let 2 of 50 damaged labels lose their flag
// (one line: 1) and kept no fewer false flags on label-less sheets.
constexpr std::size_t kMinBarsBlurred = 6;
constexpr int kMinLinesBlurred = 1;
// A run this many times the median run ends the dense stretch: a quiet zone.
constexpr float kQuietRuns = 4.0f;
// Wide runs are at least this many times the narrow ones, and at least this
// share of the bars and of the spaces must be wide.
constexpr float kWideRatio = 1.7f;
constexpr float kMinWideShare = 0.1f, kMaxWideShare = 0.75f;
// Edges of neighbouring lines agree within this many narrow runs. One pair
// of lines that agree is enough: a missed label that is not flagged gets the
// previous specimen's number, while a flag on a photograph without a label
// only asks for a look. Measured on 200 generated sheets without a label,
// 3 are flagged; of the labels that nothing read, about a third are.
constexpr float kEdgeTolerance = 0.6f;
constexpr float kMinAgreement = 0.6f;
constexpr int kMinAgreeingPairs = 1;

struct Run {
    int start = 0, length = 0;
    bool dark = false;
};

std::vector<Run> Runs(const std::vector<std::uint8_t>& samples) {
    std::vector<Run> runs;
    for (std::size_t i = 0; i < samples.size();) {
        std::size_t j = i;
        const bool dark = samples[i] < 128;
        while (j < samples.size() && (samples[j] < 128) == dark) ++j;
        runs.push_back({static_cast<int>(i), static_cast<int>(j - i), dark});
        i = j;
    }
    return runs;
}

float Median(std::vector<int> v) {
    if (v.empty()) return 0;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return static_cast<float>(v[v.size() / 2]);
}

// Both narrow and wide occur, the wide ones a fair share.
bool TwoWidths(const std::vector<int>& widths) {
    if (widths.empty()) return false;
    std::vector<int> sorted = widths;
    std::sort(sorted.begin(), sorted.end());
    const float narrow = static_cast<float>(sorted[sorted.size() / 4]);
    const auto wide = std::count_if(sorted.begin(), sorted.end(),
                                    [&](int w) { return static_cast<float>(w) >= kWideRatio * narrow; });
    const float share = static_cast<float>(wide) / static_cast<float>(sorted.size());
    return share >= kMinWideShare && share <= kMaxWideShare;
}

// The edges of the line's densest stretch, when it looks like a symbol.
struct Stretch {
    std::vector<int> edges;
    float narrow = 0;
};

Stretch BarcodeStretch(const SampledLine& line, std::size_t minBars) {
    const std::vector<Run> runs = Runs(line.Samples);
    std::vector<int> lengths;
    for (const Run& r : runs) lengths.push_back(r.length);
    const float quiet = kQuietRuns * Median(lengths);
    Stretch best;
    for (std::size_t i = 0; i < runs.size();) {
        std::size_t j = i;
        std::vector<int> bars, spaces;
        while (j < runs.size() && static_cast<float>(runs[j].length) < quiet) {
            (runs[j].dark ? bars : spaces).push_back(runs[j].length);
            ++j;
        }
        if (bars.size() >= minBars && bars.size() > best.edges.size() / 2 && TwoWidths(bars) && TwoWidths(spaces)) {
            best.edges.clear();
            for (std::size_t k = i; k < j; ++k) best.edges.push_back(runs[k].start);
            std::sort(bars.begin(), bars.end());
            best.narrow = static_cast<float>(bars[bars.size() / 4]);
        }
        i = j + 1;
    }
    return best;
}

// The share of a's edges that b has too, about where a has them.
float Agreement(const Stretch& a, const Stretch& b) {
    const float tolerance = std::max(1.0f, kEdgeTolerance * a.narrow);
    std::size_t met = 0;
    for (int e : a.edges) {
        const auto near =
            std::lower_bound(b.edges.begin(), b.edges.end(), static_cast<int>(static_cast<float>(e) - tolerance));
        if (near != b.edges.end() && std::abs(static_cast<float>(*near - e)) <= tolerance) ++met;
    }
    return a.edges.empty() ? 0 : static_cast<float>(met) / static_cast<float>(a.edges.size());
}

}  // namespace

namespace {

// Pairs of lines gap apart whose dense stretches have the same edges.
int AgreeingPairs(const std::vector<Stretch>& stretches, std::size_t gap) {
    int agreeing = 0;
    for (std::size_t i = gap; i < stretches.size(); ++i) {
        const Stretch &a = stretches[i - gap], &b = stretches[i];
        if (a.edges.empty() || b.edges.empty()) continue;
        if (Agreement(a, b) >= kMinAgreement && Agreement(b, a) >= kMinAgreement) ++agreeing;
    }
    return agreeing;
}

std::vector<Stretch> Stretches(const std::vector<SampledLine>& lines) {
    std::vector<Stretch> stretches;
    for (const SampledLine& line : lines) stretches.push_back(BarcodeStretch(line, kMinBars));
    return stretches;
}

}  // namespace

bool LooksLikeBarcode(const std::vector<SampledLine>& lines) {
    return AgreeingPairs(Stretches(lines), 1) >= kMinAgreeingPairs;
}

bool BarsRunFullHeight(const std::vector<SampledLine>& lines) {
    const std::size_t gap = std::max<std::size_t>(2, lines.size() / kFarShare);
    return AgreeingPairs(Stretches(lines), gap) >= kMinAgreeingPairs;
}

bool MayBeBarcode(const std::vector<SampledLine>& lines) {
    int showing = 0;
    for (const SampledLine& line : lines) showing += BarcodeStretch(line, kMinBarsBlurred).edges.empty() ? 0 : 1;
    return showing >= kMinLinesBlurred;
}

}  // namespace tagmora::deep
