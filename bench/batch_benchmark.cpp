// The batch run on camera-sized photographs: decoding alone, the whole work
// of one image, and images per second decoding in turn and with one or two
// threads decoding ahead, in wall-clock and CPU time against the decode.
//
// Run by hand: build-*/bench/batch_benchmark
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "app/batch_run.h"
#include "app/context.h"
#include "app/name_check.h"
#include "app/process_image.h"
#include "base/file_system.h"
#include "photo/jpeg_intake.h"
#include "support/peak_memory.h"
#include "support/quiet_front_end.h"
#include "support/synthetic_sheet.h"
#include "support/temp_folder.h"

namespace {

using namespace tagmora;

constexpr int kWidth = 5616;  // a full-frame camera's picture
constexpr int kHeight = 3744;

// Demo/Debug mode analyses exactly as Production does but renames nothing,
// so the same folder can be run again and again.
using support::QuietFrontEnd;

// Twelve photographs of a day's shooting, written once for all benchmarks:
// labels of both symbologies in different places, and sheets without label
// (six pictures, each saved twice, as a second shot of the same sheet). The
// same photographs also as a run names them, for the check of names.
struct CameraFolder {
    support::TempFolder start;
    support::TempFolder photos;
    support::TempFolder named;
    std::vector<std::string> names;

    CameraFolder() {
        struct Shot {
            const char* barcode;
            support::Symbology symbology;
            int centerX, centerY;
        };
        const Shot shots[] = {
            {"QSZ0104521", support::Symbology::Code39, 4000, 3100},
            {nullptr, support::Symbology::Code39, 0, 0},
            {"QSZ0104522", support::Symbology::Code128, 3700, 3200},
            {"QSZ0104523", support::Symbology::Code39, 1600, 3000},
            {nullptr, support::Symbology::Code39, 0, 0},
            {"QSZ0104524", support::Symbology::Code128, 4100, 700},
        };
        unsigned seed = 1;
        std::string number;
        for (const Shot& shot : shots) {
            number = shot.barcode ? std::string(shot.barcode) : number + "b";
            support::SheetOptions options;
            options.width = kWidth;
            options.height = kHeight;
            options.moduleWidth = 8;
            options.barHeight = 300;
            options.centerX = shot.centerX;
            options.centerY = shot.centerY;
            options.blurSigma = 0.8;
            options.noiseSigma = 2.0;
            options.seed = seed++;
            const std::string jpeg =
                support::EncodeJpeg(shot.barcode ? support::MakeSheet(shot.symbology, shot.barcode, options)
                                                 : support::MakeBlankSheet(options),
                                    90);
            for (int copy = 0; copy < 2; ++copy) {
                const std::string name = "IMG_" + std::to_string(1000 + 2 * seed + copy) + ".jpg";
                photos.Write(name, jpeg);
                names.push_back(name);
                named.Write(number + (copy == 0 ? "" : "a") + ".jpg", jpeg);
            }
        }
    }
};

CameraFolder& Folder() {
    static CameraFolder folder;
    return folder;
}

// A core set up to run over the folder in Demo/Debug mode.
struct BenchCore {
    QuietFrontEnd ui;
    CoreState state;
    Context ctx = state.ContextFor(ui);

    BenchCore() {
        ui.settings.Values.ModeIndex = 1;
        ui.settings.Values.PhotoFolder = Folder().photos.path();
        state.run.StartFolder = Folder().start.path();
        state.run.PhotoFolder = Folder().photos.path();
        state.run.KeepGoing = true;
    }
};

// Decoding alone, on one thread and on two at once: the CPU time of two
// decodes side by side shows what sharing the memory and caches costs.
void BM_DecodeOnly(benchmark::State& state) {
    CameraFolder& folder = Folder();
    WorkBitmap bitmap;
    std::size_t i = 0;
    for (auto _ : state) {
        const JpegResult result = LoadJpegGrey(JoinPath(folder.photos.path(), folder.names[i]), bitmap);
        benchmark::DoNotOptimize(result);
        i = (i + 1) % folder.names.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeOnly)
    ->Threads(1)
    ->Threads(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->MinTime(2.0)
    ->Unit(benchmark::kMillisecond);

// Decoding, the search for the barcode and the outcome of one image.
void BM_WholeImage(benchmark::State& state) {
    CameraFolder& folder = Folder();
    BenchCore core;
    std::size_t i = 0;
    for (auto _ : state) {
        core.state.run.KeepGoing = true;
        ProcessImage(core.ctx, folder.names[i]);
        i = (i + 1) % folder.names.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WholeImage)->Unit(benchmark::kMillisecond);

// Wall-clock time, the whole process's CPU time and the calling thread's,
// in seconds.
struct Clocks {
    double wall = 0;
    double cpu = 0;
    double thread = 0;
};

double Seconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

Clocks Now() { return {Seconds(CLOCK_MONOTONIC), Seconds(CLOCK_PROCESS_CPUTIME_ID), Seconds(CLOCK_THREAD_CPUTIME_ID)}; }

Clocks Since(const Clocks& start) {
    const Clocks now = Now();
    return {now.wall - start.wall, now.cpu - start.cpu, now.thread - start.thread};
}

// The yardstick of a run: the greyscale decode of its photographs, one after
// another on one thread (the best of three, the files in the page cache).
Clocks DecodeFolderInTurn(const CameraFolder& folder) {
    Clocks best{1e30, 1e30, 1e30};
    WorkBitmap bitmap;
    for (int round = 0; round < 3; ++round) {
        const Clocks start = Now();
        for (const std::string& name : folder.names)
            benchmark::DoNotOptimize(LoadJpegGrey(JoinPath(folder.photos.path(), name), bitmap));
        const Clocks took = Since(start);
        best = {std::min(best.wall, took.wall), std::min(best.cpu, took.cpu), std::min(best.thread, took.thread)};
    }
    return best;
}

// One run over the folder; items are images, so the rate is images per
// second. The argument is the number of threads decoding ahead, 0 for
// decoding in turn. The counters set the run against decoding the folder in
// turn: wall_per_decode and cpu_per_decode are the run's wall-clock and CPU
// time over the decode's, run_thread_cpu_per_decode the CPU time of the
// run's own thread (what no other core can take over), peak_rss_mb the
// process's peak memory during the runs. On n free cores a run's wall-clock
// time cannot fall below cpu_per_decode / n nor below the run's own thread.
void BM_BatchRun(benchmark::State& state) {
    CameraFolder& folder = Folder();
    BenchCore core;
    RunOptions options;
    options.DecodeAhead = state.range(0) != 0;
    options.DecodeWorkers = static_cast<std::size_t>(state.range(0));
    const Clocks decode = DecodeFolderInTurn(folder);
    support::ResetPeakResident();
    Clocks runs;
    for (auto _ : state) {
        const Clocks start = Now();
        benchmark::DoNotOptimize(RunBatch(core.ctx, options));
        const Clocks took = Since(start);
        runs = {runs.wall + took.wall, runs.cpu + took.cpu, runs.thread + took.thread};
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(folder.names.size()));
    // Shows that the work measured is the real one: images handed on, and
    // how many of them ended as problems.
    state.counters["images"] = core.state.run.ProcessedCount;
    state.counters["problems"] = core.state.run.ErrorCount;
    state.counters["wall_per_decode"] = runs.wall / iterations / decode.wall;
    state.counters["cpu_per_decode"] = runs.cpu / iterations / decode.cpu;
    state.counters["run_thread_cpu_per_decode"] = runs.thread / iterations / decode.cpu;
    state.counters["peak_rss_mb"] = static_cast<double>(support::PeakResidentKilobytes()) / 1024;
    state.SetLabel(options.DecodeAhead ? std::to_string(state.range(0)) + " decoding ahead" : "decoding in turn");
}
BENCHMARK(BM_BatchRun)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// The check of a named folder with one to two workers: every photograph
// read again (Deep Search on), no decoding ahead as each worker decodes its
// own. Items are photographs, so the rate is photographs per second.
void BM_CheckNames(benchmark::State& state) {
    CameraFolder& folder = Folder();
    std::size_t agreeing = 0;
    for (auto _ : state) {
        const auto rows =
            CheckFolderNames(folder.named.path(), SettingValues{}, static_cast<std::size_t>(state.range(0)));
        agreeing = static_cast<std::size_t>(
            std::ranges::count_if(*rows, [](const NameCheckRow& row) { return row.Verdict == NameVerdict::Agrees; }));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(folder.names.size()));
    state.counters["agrees"] = static_cast<double>(agreeing);
    state.SetLabel(std::to_string(state.range(0)) + " workers");
}
BENCHMARK(BM_CheckNames)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->MinTime(3.0);

}  // namespace
