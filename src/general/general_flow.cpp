#include "general/general_flow.h"

#include <algorithm>
#include <string>
#include <utility>

#include "base/text_helpers.h"
#include "deep_search/deep_search_stage.h"
#include "deep_search/photograph_flow.h"
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

// What one line tells about the image: its text, whether its latest Code 39
// attempt saw a start character, and a whole text of another format.
ScanFinding ReadCandidateLine(GeneralContext& ctx, StripDrawer& drawer, std::int32_t line) {
    const std::string format = ctx.Settings().BarcodeFormat();
    LineReading reading{ctx.general, format, drawer, line};
    std::string text = SampleScanLine(reading, ctx.bitmap, ctx.run.VerticalScan);
    ctx.run.BandStart = ctx.general.BandStart;
    ctx.run.BandEnd = ctx.general.BandEnd;
    // The verdict is the format check's, whatever the line left.
    const bool fits = MatchesFormat(text, format);
    return {std::move(text), reading.result.StartSeen, fits, std::move(reading.result.UnmatchedBarcode)};
}

// Tries the candidate lines in order until one reads a text as long as the
// format; between lines, clicks on Abort and Skip take effect.
ScanVerdict SearchCandidateLines(GeneralContext& ctx) {
    RunState& run = ctx.run;
    GeneralState& general = ctx.general;
    const std::int32_t extent = run.VerticalScan ? ctx.bitmap.Width : ctx.bitmap.Height;
    const std::vector<std::int32_t> lines = CandidateLines(extent, general.LastLine);
    StripDrawer drawer(ctx);

    ScanVerdict verdict;
    // The list's first entry is never tried.
    for (std::size_t index = 1; index < lines.size(); ++index) {
        general.LastLine = lines[index];
        DrawScanLine(ctx, ctx.bitmap, StripColour::Black, lines[index]);
        ctx.ui.ProcessEventsDuringImage();
        if (!run.KeepGoing) break;
        verdict.Take(ReadCandidateLine(ctx, drawer, lines[index]));
        if (CharacterCount(verdict.Text) >= CharacterCount(ctx.Settings().BarcodeFormat())) break;
    }
    return verdict;
}

// The General pipeline's answers: the read photograph renamed with its
// companions (or alone), one without a label after the previous barcode.
class GeneralPipeline final : public PhotographPipeline {
public:
    explicit GeneralPipeline(GeneralContext& ctx) : ctx_(ctx) {}

    ScanVerdict Scan() override { return SearchCandidateLines(ctx_); }
    std::string& PreviousBarcode() override { return ctx_.run.LastBarcode; }
    void StartAfresh() override { ctx_.general.LastLine = 0; }
    bool General() const override { return true; }

    ImageOutcome Read(const ScanVerdict& verdict) override {
        const std::string& text = verdict.Text;
        ImageOutcome outcome{.Kind = OutcomeKind::Read, .File = ctx_.run.CurrentImage, .Barcode = text};
        if (ctx_.Settings().IsDemoDebug()) {
            PromptOrStop(ctx_, "    " + text + std::string(verdict.Several ? kSeveralBarcodesNote : ""));
        } else if (ctx_.Settings().RenameRaw()) {
            RenameImageFiles(ctx_, text);
            outcome.Kind = OutcomeKind::RenamedWithFiles;
        } else {
            outcome = RenameImageOnly(ctx_, text);
        }
        ctx_.run.LastBarcode = text;
        return outcome;
    }

    ImageOutcome TakePrevious() override {
        const std::string& barcode = ctx_.run.LastBarcode;
        ImageOutcome outcome{.Kind = OutcomeKind::PreviousBarcode, .File = ctx_.run.CurrentImage, .Barcode = barcode};
        if (ctx_.Settings().IsDemoDebug()) {
            PromptOrStop(ctx_, kCannotFindBarcode);
            outcome.Kind = OutcomeKind::WouldTakePrevious;
        } else {
            RenameImageFiles(ctx_, barcode);
        }
        return outcome;
    }

    ImageOutcome NoBarcode() override {
        if (ctx_.Settings().IsDemoDebug()) PromptOrStop(ctx_, kCannotFindBarcode);
        return {.Kind = OutcomeKind::NoBarcode, .File = ctx_.run.CurrentImage};
    }

private:
    static constexpr std::string_view kCannotFindBarcode = "    Can't find Barcode";
    GeneralContext& ctx_;
};

}  // namespace

ImageOutcome ProcessGeneralImage(GeneralContext ctx) {
    GeneralPipeline pipeline(ctx);
    return ProcessPhotograph(ctx, ctx.bitmap, pipeline, ctx.closeUpRows);
}

ScanVerdict ReadGeneralImage(GeneralContext ctx) {
    GeneralPipeline pipeline(ctx);
    return ReadPhotograph(ctx, ctx.bitmap, pipeline, ctx.closeUpRows);
}

std::string ReadLinesForCloseUp(GeneralContext ctx) {
    const std::int32_t lastLine = ctx.general.LastLine;
    ScanVerdict verdict = SearchCandidateLines(ctx);
    ctx.general.LastLine = lastLine;
    return verdict.Read() ? std::move(verdict.Text) : std::string();
}

}  // namespace tagmora
