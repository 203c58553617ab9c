// Speed of the General pipeline's scan-line reading on full-size photographs
// (5616 x 3744, a 21-megapixel camera): one row, and a whole search over the
// candidate lines in the General flow's grid order.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/context.h"
#include "general/scan_line_sampling.h"
#include "support/fake_front_end.h"
#include "support/reading_rig.h"
#include "support/synthetic_sheet.h"

namespace {

using namespace tagmora;
using namespace tagmora::support;

constexpr int kWidth = 5616;
constexpr int kHeight = 3744;
constexpr int kLabelRow = 3000;  // low on the sheet: found late in the grid

SheetOptions FullSheet() {
    SheetOptions options;
    options.width = kWidth;
    options.height = kHeight;
    options.moduleWidth = 5;
    options.barHeight = 200;
    options.centerX = 4000;
    options.centerY = kLabelRow;
    options.seed = 7;
    return options;
}

const WorkBitmap& LabelledSheet() {
    static const WorkBitmap sheet = MakeSheet(Symbology::Code39, "QSZ0123456", FullSheet());
    return sheet;
}

const WorkBitmap& BlankSheet() {
    static const WorkBitmap sheet = MakeBlankSheet(FullSheet());
    return sheet;
}

// Sensor noise makes edges everywhere: the whole row becomes one cluster and
// goes through the engine (both directions, every try): the costliest line.
const WorkBitmap& NoisyBlankSheet() {
    static const WorkBitmap sheet = [] {
        SheetOptions options = FullSheet();
        options.noiseSigma = 12.0;
        return MakeBlankSheet(options);
    }();
    return sheet;
}

void SampleOneRow(benchmark::State& state, const WorkBitmap& sheet, std::int32_t row, const std::string& expected) {
    ReadingRig rig;
    rig.core.state.bitmap = sheet;
    std::string text = rig.Sample(row);  // warm the reusable lists
    if (text != expected) state.SkipWithError("unexpected text");
    for (auto _ : state) {
        text = rig.Sample(row);
        benchmark::DoNotOptimize(text);
    }
    state.SetItemsProcessed(state.iterations() * (kWidth - 2));
}

void BM_SampleRowThroughBarcode(benchmark::State& state) {
    SampleOneRow(state, LabelledSheet(), kLabelRow, "QSZ0123456");
}
BENCHMARK(BM_SampleRowThroughBarcode)->Unit(benchmark::kMicrosecond);

void BM_SampleRowOfBlankSheet(benchmark::State& state) { SampleOneRow(state, BlankSheet(), kLabelRow, ""); }
BENCHMARK(BM_SampleRowOfBlankSheet)->Unit(benchmark::kMicrosecond);

void BM_SampleRowOfNoisySheet(benchmark::State& state) { SampleOneRow(state, NoisyBlankSheet(), kLabelRow, ""); }
BENCHMARK(BM_SampleRowOfNoisySheet)->Unit(benchmark::kMicrosecond);

// The General flow's grid without a previous line: 0, 60, 120, ... then 20,
// 80, ... then 40, 100, ..., the first entry never tried, each line sampled
// until one gives a text.
std::vector<std::int32_t> GridLines(std::int32_t extent) {
    std::vector<std::int32_t> lines;
    for (std::int32_t first : {0, 20, 40})
        for (std::int32_t line = first; line <= extent; line += 60) lines.push_back(line);
    return lines;
}

void SearchGrid(benchmark::State& state, const WorkBitmap& sheet, const std::string& expected) {
    ReadingRig rig;
    rig.core.state.bitmap = sheet;
    const std::vector<std::int32_t> lines = GridLines(kHeight);
    std::int64_t linesTried = 0;
    for (auto _ : state) {
        std::string text;
        for (std::size_t i = 1; i < lines.size() && text.empty(); ++i) {
            text = rig.Sample(lines[i]);
            ++linesTried;
        }
        if (text != expected) state.SkipWithError("unexpected text");
        benchmark::DoNotOptimize(text);
    }
    state.counters["lines"] =
        benchmark::Counter(static_cast<double>(linesTried) / static_cast<double>(state.iterations()));
}

void BM_GridSearchFindsLabel(benchmark::State& state) { SearchGrid(state, LabelledSheet(), "QSZ0123456"); }
BENCHMARK(BM_GridSearchFindsLabel)->Unit(benchmark::kMillisecond);

void BM_GridSearchOfBlankSheet(benchmark::State& state) { SearchGrid(state, BlankSheet(), ""); }
BENCHMARK(BM_GridSearchOfBlankSheet)->Unit(benchmark::kMillisecond);

}  // namespace
