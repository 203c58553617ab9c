// Close-up reading: one row, and a whole photograph in Demo/Debug mode (no
// files are renamed; the log goes to a scratch folder).
#include <benchmark/benchmark.h>

#include "closeup/closeup_flow.h"
#include "closeup/closeup_row_scan.h"
#include "support/fake_front_end.h"
#include "support/reading_rig.h"
#include "support/synthetic_sheet.h"
#include "support/temp_folder.h"

namespace {

using namespace tagmora;

WorkBitmap CloseUp(int moduleWidth) {
    support::SheetOptions options;
    options.width = 1600;
    options.height = 1000;
    options.moduleWidth = moduleWidth;
    options.barHeight = 450;
    options.blurSigma = 1.0;
    options.noiseSigma = 3.0;
    return support::MakeSheet(support::Symbology::Code39, "QSZ0123456", options);
}

void BM_ScanCloseUpRow(benchmark::State& state) {
    support::ReadingRig rig;
    rig.core.state.bitmap = CloseUp(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(rig.ScanRow(500));
    state.SetItemsProcessed(state.iterations() * rig.core.state.bitmap.Width);
}
BENCHMARK(BM_ScanCloseUpRow)->Arg(4)->Arg(6);

void BM_ProcessCloseUpImage(benchmark::State& state) {
    support::TestCore core;
    support::TempFolder logFolder;
    core.settings().ModeIndex = 1;
    core.state.run.StartFolder = logFolder.path();
    core.state.run.CurrentImage = "IMG.jpg";
    core.state.run.KeepGoing = true;
    core.state.bitmap = CloseUp(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        ProcessCloseUpImage(core.ctx.CloseUp());
        core.ui.strips.clear();
        core.ui.prompts.clear();
        core.ui.logLines.clear();
    }
}
BENCHMARK(BM_ProcessCloseUpImage)->Arg(4)->Arg(6);

}  // namespace
