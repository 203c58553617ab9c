#include "general/general_flow.h"

#include <algorithm>
#include <string>

#include "app/context.h"
#include "app/run_log.h"
#include "general/renaming.h"
#include "general/scan_line_sampling.h"
#include "photo/scan_line_mark.h"
#include "symbology/format_match.h"

namespace tagmora {

namespace {

// Each box of the flow is an OK/Cancel prompt; Cancel ends the run after
// this image.
void Prompt(Context& ctx, const std::string& text) {
    if (!ctx.ui.AskOkCancel(text)) ctx.run.KeepGoing = false;
}

}  // namespace

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

void ProcessGeneralImage(Context& ctx) {
    RunState& run = ctx.run;
    GeneralState& general = ctx.general;
    const std::string name = run.CurrentImage;

    ctx.ui.ShowPicture(ctx.bitmap);

    const std::int32_t extent = run.VerticalScan ? ctx.bitmap.Width : ctx.bitmap.Height;
    const std::vector<std::int32_t> lines = CandidateLines(extent, general.LastLine);

    run.BarcodeSeen = false;
    std::string text;
    // The list's first entry is never tried.
    for (std::size_t index = 1; index < lines.size(); ++index) {
        general.LastLine = lines[index];
        DrawScanLine(ctx, 0, lines[index]);
        if (!run.KeepGoing) break;
        text = SampleScanLine(ctx, lines[index]);
        if (text.size() >= ctx.Settings().BarcodeFormat().size()) break;
    }

    // The verdict is the format check's, whatever the line analysis left.
    MatchesFormat(ctx, text);

    const bool demoDebug = !ctx.Settings().IsProduction();
    if (run.BarcodeSeen && !run.ReadValid) {
        if (demoDebug) Prompt(ctx, "Found barcode, but unable to read");
        text.clear();
        general.LastLine = 0;
    }

    std::string pendingLogLine;
    if (run.ReadValid && !text.empty() && run.KeepGoing) {
        if (demoDebug) {
            Prompt(ctx, "    " + text);
            pendingLogLine = name + " found Barcode: " + text;
        } else if (ctx.Settings().RenameRaw()) {
            RenameImageFiles(ctx, text);
        } else {
            RenameImageOnly(ctx, text, pendingLogLine);
        }
        run.LastBarcode = text;
    } else if (run.BarcodeSeen) {
        pendingLogLine = ">>>>>" + name + ": Found barcode, but unable to read";
        ++run.ErrorCount;
        run.LastBarcode.clear();
        general.LastLine = 0;
    } else if (!run.LastBarcode.empty()) {
        if (demoDebug) {
            Prompt(ctx, "    Can't find Barcode");
            pendingLogLine = name + " would be renamed with previous barcode " + run.LastBarcode;
        } else {
            RenameImageFiles(ctx, run.LastBarcode);
            pendingLogLine = name + " renamed with previous barcode " + run.LastBarcode;
        }
    } else {
        if (demoDebug) Prompt(ctx, "    Can't find Barcode");
        pendingLogLine = "No barcode found on " + name;
        ++run.ErrorCount;
    }

    run.BarcodeSeen = false;
    if (!pendingLogLine.empty()) AppendLogLine(ctx, pendingLogLine);
}

}  // namespace tagmora
