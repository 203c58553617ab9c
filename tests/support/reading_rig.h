#pragma once
// Reads scan lines and close-up rows as the flows do, the marks drawn as
// strips on the fake front end, for the tests, benchmarks and fuzzers of the
// reading code.
#include <cstdint>
#include <string>

#include "base/scan_verdict.h"
#include "closeup/closeup_row_scan.h"
#include "general/line_reading.h"
#include "general/scan_line_sampling.h"
#include "photo/scan_line_mark.h"
#include "support/fake_front_end.h"

namespace tagmora::support {

struct ReadingRig : LineObserver, RowObserver {
    TestCore core;
    LineReading reading{core.state.general, {}, *this};

    void LineMarked(StripColour colour, std::int32_t line, std::int32_t bandStart, std::int32_t bandEnd) override {
        core.state.run.BandStart = bandStart;
        core.state.run.BandEnd = bandEnd;
        DrawScanLine(core.ctx, core.state.bitmap, colour, line);
    }
    void RowMarked(StripColour colour, std::int32_t row) override {
        DrawScanLine(core.ctx, core.state.bitmap, colour, row);
    }

    // The reading of a line under the settings' format; readValid is kept
    // from the reading before, the rest starts afresh.
    LineReading& At(std::int32_t line) {
        format_ = core.settings().BarcodeFormat;
        reading.format = format_;
        reading.line = line;
        reading.result = {};
        return reading;
    }
    std::string Sample(std::int32_t line) {
        return SampleScanLine(At(line), core.state.bitmap, core.state.run.VerticalScan);
    }
    bool StartSeen() const { return reading.result.StartSeen.value_or(false); }

    // A close-up row, its finding taken into the verdict as the flow does.
    std::string ScanRow(std::int32_t row) {
        verdict.Take(ScanCloseUpRow(core.state.bitmap, core.state.closeUp, row, core.settings().BarcodeFormat,
                                    verdict.BarcodeSeen, *this));
        return verdict.Text;
    }
    ScanVerdict verdict;

private:
    std::string format_;
};

}  // namespace tagmora::support
