#include "closeup/closeup_flow.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "base/file_system.h"
#include "base/run_log.h"
#include "base/text_helpers.h"
#include "closeup/closeup_row_scan.h"
#include "deep_search/deep_search_stage.h"
#include "photo/scan_line_mark.h"
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

// A name counts as taken while another file bears its base name, in any
// letter case and with any extension: the photograph must not join another
// photograph's raw file.
bool Rename(CloseUpContext& ctx, const std::string& newName) {
    std::vector<std::string> others = ListAllNames(ctx.run.PhotoFolder);
    std::erase(others, ctx.run.CurrentImage);
    if (HoldsBaseNoCase(others, newName.substr(0, newName.size() - std::string_view(".jpg").size()))) return false;
    return RenameNoReplace(ctx.run.PhotoFolder, ctx.run.CurrentImage, newName);
}

// Renames a read barcode image: "A" + text first, then text-1 ... text-9.
std::string RenameBarcodeImage(CloseUpContext& ctx, const std::string& text) {
    std::string newName = "A" + text + ".jpg";
    if (Rename(ctx, newName)) return newName;
    for (int n = 1; n <= kNumberedNames; ++n) {
        newName = text + "-" + std::to_string(n) + ".jpg";
        if (Rename(ctx, newName)) return newName;
    }
    return {};
}

// Lets clicks on Abort and Skip take effect before the next row; false when
// the user has stopped this image.
bool MayGoOn(CloseUpContext& ctx) {
    ctx.ui.ProcessEventsDuringImage();
    return ctx.run.KeepGoing;
}

// Every row the reading marks becomes a strip on the photo window (and, when
// asked for, a pause).
class StripDrawer final : public RowObserver {
public:
    explicit StripDrawer(CloseUpContext& ctx) : ctx_(ctx) {}
    void RowMarked(StripColour colour, std::int32_t row) override { DrawScanLine(ctx_, ctx_.bitmap, colour, row); }

private:
    CloseUpContext& ctx_;
};

// Reads one row and keeps what it tells about the image in the run flags.
std::string ReadRow(CloseUpContext& ctx, StripDrawer& drawer, std::int32_t row) {
    RowResult result =
        ScanCloseUpRow(ctx.bitmap, ctx.closeUp, row, ctx.Settings().BarcodeFormat(), ctx.run.BarcodeSeen, drawer);
    ctx.run.BarcodeSeen = result.BarcodeSeen;
    ctx.run.ReadValid = result.ReadValid;
    if (ctx.run.UnmatchedBarcode.empty()) ctx.run.UnmatchedBarcode = result.UnmatchedBarcode;
    return std::move(result.Text);
}

// The first pass over rows spread around the middle, then the refinement
// around the row on which a barcode was seen. Returns the latest text.
std::string ScanRows(CloseUpContext& ctx) {
    RunState& run = ctx.run;
    const std::int32_t height = ctx.bitmap.Height;
    const std::int32_t step = height >= kTallImageRows ? kTallImageStep : height / 8;
    const std::int32_t mid = height / 2;
    const auto offsets = RowOffsets(step);
    StripDrawer drawer(ctx);
    std::string text;
    std::int32_t foundRow = 0;

    for (std::int32_t i = 0; i < kRowsPerPass; ++i) {
        if (run.BarcodeSeen) {
            foundRow = mid + offsets[static_cast<std::size_t>(i - 1)];
            break;
        }
        const std::int32_t row = mid + offsets[static_cast<std::size_t>(i)];
        if (!InsideImage(row, height)) continue;
        if (!MayGoOn(ctx)) return {};
        text = ReadRow(ctx, drawer, row);
    }
    if (foundRow <= 0) return text;

    for (const std::int32_t offset : offsets) {
        const std::int32_t row = foundRow + offset / kRefinementDivisor;
        if (!InsideImage(row, height)) continue;
        if (!MayGoOn(ctx)) return {};
        text = ReadRow(ctx, drawer, row);
        run.ReadValid = MatchesFormat(text, ctx.Settings().BarcodeFormat());
        if (run.ReadValid) return text;
    }
    // A barcode was seen on foundRow. When no row around it read, the last
    // row tried may have missed the bars altogether; the image still shows
    // a barcode and must not be named after the previous one.
    run.BarcodeSeen = true;
    return text;
}

// The log line of a read barcode image.
std::string ReadOutcome(CloseUpContext& ctx, const std::string& text, bool demo, bool several) {
    RunState& run = ctx.run;
    ctx.closeUp.CloseUpLastBarcode = text;
    ctx.closeUp.CloseUpSuffix = "a";
    if (demo) {
        PromptOrStop(ctx, text + std::string(several ? kSeveralBarcodesNote : ""));
        return run.CurrentImage + " found Barcode: " + text;
    }
    if (const std::string newName = RenameBarcodeImage(ctx, text); !newName.empty())
        return run.CurrentImage + " renamed " + newName;
    ++run.ErrorCount;
    return run.CurrentImage + " found barcode, but unable to rename file.";
}

// The log line of an image without barcode named after the last one read.
std::string PreviousBarcodeOutcome(CloseUpContext& ctx, bool demo) {
    RunState& run = ctx.run;
    CloseUpState& closeUp = ctx.closeUp;
    const std::string newName = closeUp.CloseUpLastBarcode + closeUp.CloseUpSuffix + ".jpg";
    closeUp.CloseUpSuffix = NextLetterSuffix(closeUp.CloseUpSuffix);
    if (demo) {
        PromptOrStop(ctx, "No barcode found. Would rename to " + newName);
        return run.CurrentImage + " would be renamed to " + newName;
    }
    if (Rename(ctx, newName)) return run.CurrentImage + " renamed to " + newName;
    ++run.ErrorCount;
    return run.CurrentImage + " unable to rename to " + newName;
}

// The log line of an image that is a problem: a label of another format, a
// barcode seen but unread, or no barcode and none to take over.
std::string ProblemOutcome(CloseUpContext& ctx, bool unmatched, bool demo) {
    RunState& run = ctx.run;
    ++run.ErrorCount;
    if (unmatched) {
        // Forgotten as for an unread barcode: the next photographs show this
        // label's specimen, not the previous one.
        ctx.closeUp.CloseUpLastBarcode.clear();
        const std::string found = "Found barcode " + run.UnmatchedBarcode + ", but unable to match the format " +
                                  ctx.Settings().BarcodeFormat();
        if (demo) PromptOrStop(ctx, found);
        return run.CurrentImage + ": " + found;
    }
    if (run.BarcodeSeen) return run.CurrentImage + ": Found barcode, but unable to read";
    if (demo) PromptOrStop(ctx, "Can't find barcode");
    // With "Rename W/O Barcode" off the image keeps its name whatever came
    // before; it is logged as the General pipeline logs such an image.
    if (!ctx.Settings().RenameWithoutBarcode()) return "No barcode found on " + run.CurrentImage;
    return run.CurrentImage + ":  Unable to find barcode";
}

// Skipped or aborted part-way (a click made during the last row counts too):
// the photograph keeps its name and the next one is not named after an
// older barcode.
bool StoppedPartWay(CloseUpContext& ctx) {
    if (MayGoOn(ctx)) return false;
    ctx.closeUp.CloseUpLastBarcode.clear();
    ctx.run.BarcodeSeen = false;
    return true;
}

}  // namespace

void ProcessCloseUpImage(CloseUpContext ctx) {
    RunState& run = ctx.run;
    CloseUpState& closeUp = ctx.closeUp;
    // Only the Demo/Debug item asks instead of renaming.
    const bool demo = ctx.Settings().ModeIndex() == static_cast<int>(Mode::DemoDebug);
    ctx.ui.ShowPicture(ctx.bitmap);
    run.BarcodeSeen = false;
    run.UnmatchedBarcode.clear();
    std::string text = ScanRows(ctx);
    if (StoppedPartWay(ctx)) return;

    const bool several = SearchDeeperIfUnread(ctx, ctx.bitmap, text);
    if (StoppedPartWay(ctx)) return;
    const bool read = run.ReadValid && !text.empty();
    const bool unmatched = !read && !run.UnmatchedBarcode.empty();
    if (run.BarcodeSeen && !run.ReadValid && !unmatched) {
        if (demo) PromptOrStop(ctx, "Found barcode, but unable to read");
        text.clear();
        closeUp.CloseUpLastBarcode.clear();
    }

    std::string logLine;
    if (read && run.KeepGoing)
        logLine = ReadOutcome(ctx, text, demo, several);
    else if (!unmatched && !run.BarcodeSeen && !closeUp.CloseUpLastBarcode.empty() &&
             ctx.Settings().RenameWithoutBarcode())
        logLine = PreviousBarcodeOutcome(ctx, demo);
    else
        logLine = ProblemOutcome(ctx, unmatched, demo);

    run.BarcodeSeen = false;
    if (!logLine.empty()) AppendLogLine(ctx, logLine);
}

}  // namespace tagmora
