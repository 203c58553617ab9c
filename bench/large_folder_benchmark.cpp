// A day's shooting at a busy station: 10 000 photographs in one folder,
// listed and processed in one run, with the photographs decoded ahead on
// every core. Memory must not grow with the number of images already
// processed: the counters show the peak resident size of the run after the
// first thousand images and at the end, and the one over the other.
//
// Run by hand: build/bench/large_folder_benchmark
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/batch_run.h"
#include "app/context.h"
#include "base/file_system.h"
#include "support/peak_memory.h"
#include "support/quiet_front_end.h"
#include "support/synthetic_sheet.h"
#include "support/temp_folder.h"

namespace {

using namespace tagmora;
using support::PeakResidentKilobytes;
using support::ResetPeakResident;

constexpr int kImages = 10'000;

// Small photographs keep the folder quick to write; the run does all the
// same per-image work, whatever the picture's size.
struct LargeFolder {
    support::TempFolder start;
    support::TempFolder photos;

    LargeFolder() {
        std::vector<std::string> pictures;
        for (unsigned seed = 1; seed <= 8; ++seed) {
            support::SheetOptions options;
            options.width = 480;
            options.height = 360;
            options.moduleWidth = 2;
            options.barHeight = 60;
            options.seed = seed;
            const std::string barcode = "QSZ0" + std::to_string(500000 + seed);
            pictures.push_back(
                support::EncodeJpeg(seed % 4 == 0 ? support::MakeBlankSheet(options)
                                                  : support::MakeSheet(support::Symbology::Code39, barcode, options),
                                    85));
        }
        for (int i = 0; i < kImages; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "IMG_%05d.jpg", i);
            photos.Write(name, pictures[static_cast<std::size_t>(i) % pictures.size()]);
        }
    }
};

LargeFolder& Folder() {
    static LargeFolder folder;
    return folder;
}

class MeasuringFrontEnd final : public support::QuietFrontEnd {
public:
    long peakAfterFirstThousand = 0;
    void ImageFinished(std::int32_t index, std::int32_t, std::string_view) override {
        if (index == 1000) peakAfterFirstThousand = PeakResidentKilobytes();
    }
};

void BM_ListLargeFolder(benchmark::State& state) {
    LargeFolder& folder = Folder();
    std::vector<std::string> names;
    for (auto _ : state) {
        names.clear();
        benchmark::DoNotOptimize(ListJpegFiles(folder.photos.path(), names));
    }
    state.counters["files"] = static_cast<double>(names.size());
}
BENCHMARK(BM_ListLargeFolder)->Unit(benchmark::kMillisecond);

// Demo/Debug mode: the whole analysis and a log line per image, no rename,
// so every iteration meets the same folder.
void BM_RunLargeFolder(benchmark::State& state) {
    LargeFolder& folder = Folder();
    MeasuringFrontEnd ui;
    ui.settings.Values.ModeIndex = 1;
    ui.settings.Values.PhotoFolder = folder.photos.path();
    CoreState core;
    Context ctx = core.ContextFor(ui);
    core.run.StartFolder = folder.start.path();
    long peakAtEnd = 0;
    for (auto _ : state) {
        ResetPeakResident();
        benchmark::DoNotOptimize(RunBatch(ctx));
        peakAtEnd = PeakResidentKilobytes();
    }
    state.SetItemsProcessed(state.iterations() * kImages);
    state.counters["images"] = core.run.ProcessedCount;
    state.counters["peak_rss_kb_after_1000"] = static_cast<double>(ui.peakAfterFirstThousand);
    state.counters["peak_rss_kb_at_end"] = static_cast<double>(peakAtEnd);
    state.counters["peak_growth"] = static_cast<double>(peakAtEnd) / static_cast<double>(ui.peakAfterFirstThousand);
}
BENCHMARK(BM_RunLargeFolder)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
