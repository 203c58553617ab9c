#include "general/general_flow.h"

#include <algorithm>
#include <string>
#include <utility>

#include "base/run_log.h"
#include "base/text_helpers.h"
#include "deep_search/deep_search_stage.h"
#include "general/renaming.h"
#include "general/scan_line_sampling.h"
#include "photo/scan_line_mark.h"
#include "symbology/format_match.h"

namespace tagmora {

std::vector<std::int32_t> CandidateLines(std::int32_t extent, std::int32_t lastLine) {
    constexpr std::int32_t kNearStep = kLineStep / 3;
    constexpr std::int32_t kNearReach = 100;
    std::vector<std::int32_t> lines;
    // Labels sit at much the same place on consecutive sheets: look around
    // the previous image's line first.
    if (lastLine != 0) {
        const std::int32_t end = std::min(extent, lastLine + kNearReach);
        for (std::int32_t line = std::max(lastLine - kNearReach, 0); line < end; line += kNearStep)
            lines.push_back(line);
    }
    // Then the whole image, coarse grid first, then its two offsets.
    for (std::int32_t offset = 0; offset < kLineStep; offset += kNearStep)
        for (std::int32_t line = offset; line <= extent; line += kLineStep) lines.push_back(line);
    return lines;
}

namespace {

// Every line the reading marks becomes a strip on the photo window (and,
// when asked for, a pause); the band it reports bounds the red strip.
class StripDrawer final : public LineObserver {
public:
    explicit StripDrawer(GeneralContext& ctx) : ctx_(ctx) {}

    void LineMarked(StripColour colour, std::int32_t line, std::int32_t bandStart, std::int32_t bandEnd) override {
        ctx_.run.BandStart = bandStart;
        ctx_.run.BandEnd = bandEnd;
        DrawScanLine(ctx_, ctx_.bitmap, colour, line);
    }

private:
    GeneralContext& ctx_;
};

// Reads one line and keeps what it tells about the image: the latest Code 39
// attempt decides BarcodeSeen, the first whole text of another format is
// kept for the outcome.
std::string ReadCandidateLine(GeneralContext& ctx, StripDrawer& drawer, std::int32_t line) {
    const std::string format = ctx.Settings().BarcodeFormat();
    LineReading reading{ctx.general, format, drawer, line};
    std::string text = SampleScanLine(reading, ctx.bitmap, ctx.run.VerticalScan);
    ctx.run.BandStart = ctx.general.BandStart;
    ctx.run.BandEnd = ctx.general.BandEnd;
    if (reading.result.StartSeen) ctx.run.BarcodeSeen = *reading.result.StartSeen;
    if (ctx.run.UnmatchedBarcode.empty()) ctx.run.UnmatchedBarcode = reading.result.UnmatchedBarcode;
    return text;
}

// Tries the candidate lines in order until one reads a text as long as the
// format; between lines, clicks on Abort and Skip take effect.
std::string SearchCandidateLines(GeneralContext& ctx) {
    RunState& run = ctx.run;
    GeneralState& general = ctx.general;
    const std::int32_t extent = run.VerticalScan ? ctx.bitmap.Width : ctx.bitmap.Height;
    const std::vector<std::int32_t> lines = CandidateLines(extent, general.LastLine);
    StripDrawer drawer(ctx);

    std::string text;
    // The list's first entry is never tried.
    for (std::size_t index = 1; index < lines.size(); ++index) {
        general.LastLine = lines[index];
        DrawScanLine(ctx, ctx.bitmap, StripColour::Black, lines[index]);
        ctx.ui.ProcessEventsDuringImage();
        if (!run.KeepGoing) break;
        text = ReadCandidateLine(ctx, drawer, lines[index]);
        if (CharacterCount(text) >= CharacterCount(ctx.Settings().BarcodeFormat())) break;
    }
    // A click made while the last line was read still stops the image
    // before anything is renamed.
    ctx.ui.ProcessEventsDuringImage();
    return text;
}

// A whole label that does not fit the format: reported, and the previous
// barcode forgotten, so that the photographs after it are not filed under
// an older number.
std::string UnmatchedBarcodeOutcome(GeneralContext& ctx, bool demoDebug) {
    const std::string found = "Found barcode " + ctx.run.UnmatchedBarcode + ", but unable to match the format " +
                              ctx.Settings().BarcodeFormat();
    if (demoDebug) PromptOrStop(ctx, found);
    ++ctx.run.ErrorCount;
    ctx.run.LastBarcode.clear();
    ctx.general.LastLine = 0;
    return std::string(kProblemMarker) + ctx.run.CurrentImage + ": " + found;
}

// A photograph without a readable barcode: named after the previous one when
// one is known and "Rename W/O Barcode" asks for it, otherwise a problem.
std::string NoBarcodeOutcome(GeneralContext& ctx, bool demoDebug) {
    RunState& run = ctx.run;
    const std::string& name = run.CurrentImage;
    if (!run.LastBarcode.empty() && ctx.Settings().RenameWithoutBarcode()) {
        if (demoDebug) {
            PromptOrStop(ctx, "    Can't find Barcode");
            return name + " would be renamed with previous barcode " + run.LastBarcode;
        }
        RenameImageFiles(ctx, run.LastBarcode);
        return name + " renamed with previous barcode " + run.LastBarcode;
    }
    if (demoDebug) PromptOrStop(ctx, "    Can't find Barcode");
    ++run.ErrorCount;
    return "No barcode found on " + name;
}

// A barcode read: the photograph (and its companions) renamed after it, or
// in Demo/Debug mode only reported. Returns the image's own log line, if any.
std::string ReadOutcome(GeneralContext& ctx, const std::string& text, bool demoDebug, bool several) {
    std::string pendingLogLine;
    if (demoDebug) {
        PromptOrStop(ctx, "    " + text + std::string(several ? kSeveralBarcodesNote : ""));
        pendingLogLine = ctx.run.CurrentImage + " found Barcode: " + text;
    } else if (ctx.Settings().RenameRaw()) {
        RenameImageFiles(ctx, text);
    } else {
        RenameImageOnly(ctx, text, pendingLogLine);
    }
    ctx.run.LastBarcode = text;
    return pendingLogLine;
}

// Skipped or aborted part-way: nothing was decided about this photograph, so
// it keeps its name, and the next one is not named after an older one.
bool StoppedPartWay(GeneralContext& ctx) {
    if (ctx.run.KeepGoing) return false;
    ctx.run.LastBarcode.clear();
    ctx.run.BarcodeSeen = false;
    return true;
}

}  // namespace

std::string ReadLinesForCloseUp(GeneralContext ctx) {
    RunState& run = ctx.run;
    const bool seen = std::exchange(run.BarcodeSeen, false);
    const bool valid = run.ReadValid;
    std::string unmatched = std::exchange(run.UnmatchedBarcode, {});
    const std::int32_t lastLine = ctx.general.LastLine;
    std::string text = SearchCandidateLines(ctx);
    if (!MatchesFormat(text, ctx.Settings().BarcodeFormat())) text.clear();
    run.BarcodeSeen = seen;
    run.ReadValid = valid;
    run.UnmatchedBarcode = std::move(unmatched);
    ctx.general.LastLine = lastLine;
    return text;
}

void ProcessGeneralImage(GeneralContext ctx) {
    RunState& run = ctx.run;
    GeneralState& general = ctx.general;
    const std::string name = run.CurrentImage;

    ctx.ui.ShowPicture(ctx.bitmap);
    run.BarcodeSeen = false;
    run.UnmatchedBarcode.clear();
    std::string text = SearchCandidateLines(ctx);
    if (StoppedPartWay(ctx)) return;

    // The verdict is the format check's, whatever the lines left.
    run.ReadValid = MatchesFormat(text, ctx.Settings().BarcodeFormat());
    const bool several = SearchDeeperIfUnread(ctx, ctx.bitmap, text, ctx.closeUpRows);
    if (StoppedPartWay(ctx)) return;
    const bool read = run.ReadValid && !text.empty();
    const bool unmatched = !read && !run.UnmatchedBarcode.empty();

    const bool demoDebug = !ctx.Settings().IsProduction();
    if (run.BarcodeSeen && !run.ReadValid && !unmatched) {
        if (demoDebug) PromptOrStop(ctx, "Found barcode, but unable to read");
        text.clear();
        general.LastLine = 0;
    }

    std::string pendingLogLine;
    if (read) {
        pendingLogLine = ReadOutcome(ctx, text, demoDebug, several);
    } else if (unmatched) {
        pendingLogLine = UnmatchedBarcodeOutcome(ctx, demoDebug);
    } else if (run.BarcodeSeen) {
        pendingLogLine = std::string(kProblemMarker) + name + ": Found barcode, but unable to read";
        ++run.ErrorCount;
        run.LastBarcode.clear();
        general.LastLine = 0;
    } else {
        pendingLogLine = NoBarcodeOutcome(ctx, demoDebug);
    }

    run.BarcodeSeen = false;
    if (!pendingLogLine.empty()) AppendLogLine(ctx, pendingLogLine);
}

}  // namespace tagmora
