#include "closeup/closeup_flow.h"

#include <array>
#include <string>

#include "app/context.h"
#include "app/file_system.h"
#include "app/run_log.h"
#include "closeup/closeup_row_scan.h"
#include "symbology/format_match.h"

namespace tagmora {

namespace {

constexpr std::int32_t kRowsPerPass = 10;
// Tall photographs are tried every 200 rows; shorter ones over eighths.
constexpr std::int32_t kTallImageRows = 1200;
constexpr std::int32_t kTallImageStep = 200;
// The refinement tries rows at a fifth of the first pass's spacing.
constexpr std::int32_t kRefinementDivisor = 5;
// Numbered names tried after the "A" name is taken: -1 to -9.
constexpr int kNumberedNames = 9;

std::array<std::int32_t, kRowsPerPass> RowOffsets(std::int32_t step) {
    // The middle first, then upwards, then downwards.
    return {0, -step, -2 * step, -3 * step, -4 * step, -5 * step, step, 2 * step, 3 * step, 4 * step};
}

bool InsideImage(std::int32_t row, std::int32_t height) { return row >= 1 && row <= height - 1; }

// Asks in Demo/Debug mode; Cancel ends the run after this image.
void Confirm(Context& ctx, std::string_view text) {
    if (!ctx.ui.AskOkCancel(text)) ctx.run.KeepGoing = false;
}

bool Rename(Context& ctx, const std::string& newName) {
    return RenameNoReplace(ctx.run.PhotoFolder, ctx.run.CurrentImage, newName);
}

// The next suffix letter: the character with the next code. A suffix that is
// run past the last byte value wraps round, leaving out the bytes a file name
// cannot hold (NUL and the path separator) and the line breaks, which would
// split the image's log line.
std::string NextSuffix(const std::string& suffix) {
    auto code = static_cast<unsigned char>(suffix.empty() ? 'a' - 1 : suffix.front());
    do {
        ++code;  // wraps from 255 to 0
    } while (code == 0 || code == '/' || code == '\n' || code == '\r');
    return std::string(1, static_cast<char>(code));
}

// Renames a read barcode image: "A" + text first, then text-1 ... text-9.
std::string RenameBarcodeImage(Context& ctx, const std::string& text) {
    std::string newName = "A" + text + ".jpg";
    if (Rename(ctx, newName)) return newName;
    for (int n = 1; n <= kNumberedNames; ++n) {
        newName = text + "-" + std::to_string(n) + ".jpg";
        if (Rename(ctx, newName)) return newName;
    }
    return {};
}

}  // namespace

void ProcessCloseUpImage(Context& ctx) {
    RunState& run = ctx.run;
    CloseUpState& closeUp = ctx.closeUp;
    // Only the Demo/Debug item asks instead of renaming.
    const bool demo = ctx.Settings().ModeIndex() == static_cast<int>(Mode::DemoDebug);
    ctx.ui.ShowPicture(ctx.bitmap);
    std::string text;
    std::string logLine;

    const std::int32_t height = ctx.bitmap.Height;
    const std::int32_t step = height >= kTallImageRows ? kTallImageStep : height / 8;
    const std::int32_t mid = height / 2;
    const auto offsets = RowOffsets(step);
    std::int32_t foundRow = 0;
    run.BarcodeSeen = false;

    for (std::int32_t i = 0; i < kRowsPerPass; ++i) {
        if (run.BarcodeSeen) {
            foundRow = mid + offsets[static_cast<std::size_t>(i - 1)];
            break;
        }
        const std::int32_t row = mid + offsets[static_cast<std::size_t>(i)];
        if (InsideImage(row, height)) text = ScanCloseUpRow(ctx, row);
    }

    if (foundRow > 0) {
        bool matched = false;
        for (const std::int32_t offset : offsets) {
            const std::int32_t row = foundRow + offset / kRefinementDivisor;
            if (!InsideImage(row, height)) continue;
            text = ScanCloseUpRow(ctx, row);
            if (MatchesFormat(ctx, text)) {
                matched = true;
                break;
            }
        }
        // A barcode was seen on foundRow. When no row around it read, the last
        // row tried may have missed the bars altogether; the image still shows
        // a barcode and must not be named after the previous one.
        if (!matched) run.BarcodeSeen = true;
    }

    if (run.BarcodeSeen && !run.ReadValid) {
        if (demo) Confirm(ctx, "Found barcode, but unable to read");
        text.clear();
        closeUp.CloseUpLastBarcode.clear();
    }

    if (run.ReadValid && !text.empty() && run.KeepGoing) {
        closeUp.CloseUpLastBarcode = text;
        closeUp.CloseUpSuffix = "a";
        if (demo) {
            logLine = run.CurrentImage + " found Barcode: " + text;
            Confirm(ctx, text);
        } else if (const std::string newName = RenameBarcodeImage(ctx, text); !newName.empty()) {
            logLine = run.CurrentImage + " renamed " + newName;
        } else {
            logLine = run.CurrentImage + " found barcode, but unable to rename file.";
            ++run.ErrorCount;
        }
    } else if (!run.BarcodeSeen && !closeUp.CloseUpLastBarcode.empty()) {
        // No barcode: the same specimen as the barcode image before it.
        const std::string newName = closeUp.CloseUpLastBarcode + closeUp.CloseUpSuffix + ".jpg";
        if (demo) {
            logLine = run.CurrentImage + " would be renamed to " + newName;
            Confirm(ctx, "No barcode found. Would rename to " + newName);
        } else if (Rename(ctx, newName)) {
            logLine = run.CurrentImage + " renamed to " + newName;
        } else {
            logLine = run.CurrentImage + " unable to rename to " + newName;
            ++run.ErrorCount;
        }
        closeUp.CloseUpSuffix = NextSuffix(closeUp.CloseUpSuffix);
    } else {
        if (demo && !run.BarcodeSeen) Confirm(ctx, "Can't find barcode");
        logLine = run.BarcodeSeen ? run.CurrentImage + ": Found barcode, but unable to read"
                                  : run.CurrentImage + ":  Unable to find barcode";
        ++run.ErrorCount;
    }

    run.BarcodeSeen = false;
    if (!logLine.empty()) AppendLogLine(ctx, logLine);
}

}  // namespace tagmora
