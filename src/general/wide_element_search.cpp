#include "general/wide_element_search.h"

#include <algorithm>
#include <cstddef>
#include <span>
#include <vector>

#include "base/text_helpers.h"
#include "general/threshold_crossings.h"
#include "general/wide_element_decoding.h"

namespace tagmora {

namespace {

constexpr std::int32_t kThresholdStep = 5;
// Bright runs of the last try are samples above the brightest level less this.
constexpr std::int32_t kBrightRunDrop = 15;

bool ByWidth(const Element& a, const Element& b) { return a.Width < b.Width; }
bool ByCentre(const Element& a, const Element& b) { return a.Position < b.Position; }

// Keeps the `count` narrowest elements, back in the order of their centres.
// Which of several equal widths at the cut survives does not matter.
void KeepNarrowest(std::vector<Element>& elements, std::size_t count) {
    std::sort(elements.begin(), elements.end(), ByWidth);
    elements.resize(count);
    std::sort(elements.begin(), elements.end(), ByCentre);
}

Element RunBetween(const EdgeRecord& from, const EdgeRecord& to) {
    return {(from.Position + to.Position) * 0.5f, to.Position - from.Position};
}

// Every character of Code 39 has two wide bars and one wide space, so a symbol
// of the format's length (plus start and stop) has 2N wide bars and N wide
// spaces. The search looks for exactly those and lets the run reconstruction
// fill in the narrow elements by distance.
class WideElementSearch {
public:
    explicit WideElementSearch(LineReading& reading)
        : reading_(reading),
          general_(reading.general),
          segment_(reading.general.ProfileSegment),
          bars_(reading.general.Scratch.WideBars),
          spaces_(reading.general.Scratch.WideSpaces) {
        symbolChars_ = CharacterCount(reading.format) + 2;
        if (!segment_.empty()) {
            const auto [lowest, highest] = std::minmax_element(segment_.begin(), segment_.end());
            mn_ = *lowest;
            mx_ = *highest;
        }
        mid_ = (mn_ + mx_) / 2;
    }

    std::string Run() {
        reading_.readValid = true;
        bars_.clear();
        spaces_.clear();

        if (!FindWideBars()) {
            reading_.readValid = false;
            reading_.Mark(StripColour::Black);
            return {};
        }

        symbolStart_ = EstimateSymbolStart(bars_[0].Position, bars_[1].Position);
        if (symbolStart_ < 0) return {};

        // Input the reconstruction refuses leaves ReadValid set and ends the
        // search here with its empty text.
        std::string text = FromLightEnd();
        if (reading_.readValid) return text;
        if (FromMiddleUp(text)) return text;
        return FromBrightRuns();
    }

private:
    // Wide bars: raise the threshold from the darkest level until exactly 2N
    // dark runs show, or keep the 2N narrowest once more than that show.
    bool FindWideBars() {
        const std::size_t wanted = 2 * symbolChars_;
        std::int32_t threshold = mn_;
        do {
            ExtractCrossings(general_, threshold);
            CollectDarkRuns();
            if (bars_.size() == wanted) return true;
            if (bars_.size() > wanted) {
                KeepNarrowest(bars_, wanted);
                return true;
            }
            threshold += kThresholdStep;
        } while (threshold < mx_);
        return false;
    }

    void CollectDarkRuns() {
        const auto& edges = general_.EdgeList;
        bars_.clear();
        for (std::size_t j = 0; j + 1 < edges.size(); ++j) {
            if (edges[j].Falling && !edges[j + 1].Falling) bars_.push_back(RunBetween(edges[j], edges[j + 1]));
        }
    }

    // The light runs at a threshold from the symbol's estimated start to the
    // last wide bar. A space seen before the first wide bar (the start
    // character's wide space) is remembered across thresholds and put back in
    // front when a later threshold loses it.
    void CollectLightRuns(std::int32_t threshold) {
        ExtractCrossings(general_, threshold);
        const auto& edges = general_.EdgeList;
        spaces_.clear();
        std::size_t k = 0;
        while (k < edges.size() && static_cast<double>(edges[k].Position) < symbolStart_) ++k;
        if (k == edges.size()) return;

        const float firstBar = bars_.front().Position;
        const std::int32_t lastBar = static_cast<std::int32_t>(bars_.back().Position);
        for (std::size_t j = k; j + 1 < edges.size() && edges[j].Position < static_cast<float>(lastBar); ++j) {
            if (!edges[j].Falling && edges[j + 1].Falling) spaces_.push_back(RunBetween(edges[j], edges[j + 1]));
            if (spaces_.size() == 1 && spaces_[0].Position < firstBar) remembered_ = spaces_[0];
        }
        if (!spaces_.empty() && spaces_[0].Position > firstBar && remembered_.Position != 0.0f) {
            spaces_.insert(spaces_.begin(), remembered_);
        }
    }

    // Wide spaces, first try: thresholds falling from just below the brightest level until N
    // light runs show or the middle level is reached.
    std::string FromLightEnd() {
        remembered_ = {};
        std::int32_t threshold = mx_ - kThresholdStep;
        for (;;) {
            threshold -= kThresholdStep;
            if (threshold < mn_) break;
            CollectLightRuns(threshold);
            if (spaces_.size() >= symbolChars_ || threshold <= mid_) break;
        }
        if (spaces_.size() > symbolChars_) KeepNarrowest(spaces_, symbolChars_);
        return DecodeWideElements(reading_, bars_, spaces_);
    }

    // Wide spaces, second try: thresholds rising from the middle level until exactly N light
    // runs show. True when the reconstruction accepted them.
    bool FromMiddleUp(std::string& text) {
        std::int32_t threshold = mid_;
        do {
            threshold += kThresholdStep;
            CollectLightRuns(threshold);
            if (spaces_.size() > symbolChars_) KeepNarrowest(spaces_, symbolChars_);
        } while (spaces_.size() != symbolChars_ && threshold < mx_);
        if (spaces_.size() != symbolChars_) return false;
        reading_.readValid = true;
        text = DecodeWideElements(reading_, bars_, spaces_);
        return reading_.readValid;
    }

    // Wide spaces, last try: the N longest bright runs between the symbol's start and the
    // last wide bar, each placed at the light stretch of the crossings around
    // its start.
    std::string FromBrightRuns() {
        const std::int32_t level = mx_ - kBrightRunDrop;
        auto& runs = general_.Scratch.LightRuns;
        FindBrightRuns(segment_, level, symbolStart_, bars_.back().Position, runs);

        std::sort(runs.begin(), runs.end(), [](const BrightRun& a, const BrightRun& b) { return a.Count > b.Count; });
        if (runs.size() < symbolChars_) return {};
        runs.resize(symbolChars_);
        std::sort(runs.begin(), runs.end(), [](const BrightRun& a, const BrightRun& b) { return a.Start < b.Start; });

        ExtractCrossings(general_, level);
        PlaceBrightRuns(general_.EdgeList, runs, spaces_);
        std::sort(spaces_.begin(), spaces_.end(), ByCentre);
        reading_.readValid = true;
        return DecodeWideElements(reading_, bars_, spaces_);
    }

    LineReading& reading_;
    GeneralState& general_;
    std::span<const std::int32_t> segment_;
    std::vector<Element>& bars_;
    std::vector<Element>& spaces_;
    std::size_t symbolChars_ = 0;  // N
    std::int32_t mn_ = 0;
    std::int32_t mx_ = 0;
    std::int32_t mid_ = 0;
    std::int32_t symbolStart_ = 0;  // L
    Element remembered_;
};

}  // namespace

std::int32_t EstimateSymbolStart(float firstCentre, float secondCentre) {
    // The start character's leading narrow bar lies about twice the distance
    // between the first two wide bars before the first of them.
    return static_cast<std::int32_t>(3.0 * firstCentre - 2.0 * static_cast<double>(secondCentre));
}

void FindBrightRuns(std::span<const std::int32_t> segment, std::int32_t level, std::int32_t from, float lastCentre,
                    std::vector<BrightRun>& runs) {
    runs.clear();
    const std::int32_t n = static_cast<std::int32_t>(segment.size());
    const auto sample = [&](std::int32_t j) { return segment[static_cast<std::size_t>(j)]; };
    std::int32_t j = std::max(from, 0);
    while (j < lastCentre) {
        // Skip dark samples; j ends one past the first bright one.
        bool bright = false;
        while (j < n) {
            if (sample(j++) >= level) {
                bright = true;
                break;
            }
        }
        if (!bright) return;
        BrightRun run{j, 0, 0};
        while (j < n - 1) {
            if (sample(j++) <= level) break;
            if (!(j < lastCentre)) break;
            ++run.Count;
        }
        run.End = j - 1;
        runs.push_back(run);
        ++j;
    }
}

void PlaceBrightRuns(std::span<const EdgeRecord> edges, std::span<const BrightRun> runs, std::vector<Element>& spaces) {
    spaces.clear();
    std::size_t k = 0;
    for (const BrightRun& run : runs) {
        while (k < edges.size() && static_cast<double>(edges[k].Position) < run.Start) ++k;
        // Both neighbours are needed for the centre; the list is never read
        // outside its ends.
        if (k == 0 || k == edges.size()) continue;
        spaces.push_back(RunBetween(edges[k - 1], edges[k]));
    }
}

std::string FindCode39WideElements(LineReading& reading) { return WideElementSearch(reading).Run(); }

}  // namespace tagmora
