#include "closeup/closeup_flow.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "base/file_system.h"
#include "base/text_helpers.h"
#include "closeup/closeup_row_scan.h"
#include "deep_search/deep_search_stage.h"
#include "deep_search/photograph_flow.h"
#include "photo/scan_line_mark.h"

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

// What one row tells about the image.
ScanFinding ReadRow(CloseUpContext& ctx, StripDrawer& drawer, std::int32_t row, bool barcodeSeen) {
    return ScanCloseUpRow(ctx.bitmap, ctx.closeUp, row, ctx.Settings().BarcodeFormat(), barcodeSeen, drawer);
}

// The first pass over rows spread around the middle, then the refinement
// around the row on which a barcode was seen.
ScanVerdict ScanRows(CloseUpContext& ctx) {
    const std::int32_t height = ctx.bitmap.Height;
    const std::int32_t step = height >= kTallImageRows ? kTallImageStep : height / 8;
    const std::int32_t mid = height / 2;
    const auto offsets = RowOffsets(step);
    StripDrawer drawer(ctx);
    ScanVerdict verdict;
    std::int32_t foundRow = 0;

    for (std::int32_t i = 0; i < kRowsPerPass; ++i) {
        if (verdict.BarcodeSeen) {
            foundRow = mid + offsets[static_cast<std::size_t>(i - 1)];
            break;
        }
        const std::int32_t row = mid + offsets[static_cast<std::size_t>(i)];
        if (!InsideImage(row, height)) continue;
        if (!MayGoOn(ctx)) return verdict;
        verdict.Take(ReadRow(ctx, drawer, row, verdict.BarcodeSeen));
    }
    if (foundRow <= 0) return verdict;

    for (const std::int32_t offset : offsets) {
        const std::int32_t row = foundRow + offset / kRefinementDivisor;
        if (!InsideImage(row, height)) continue;
        if (!MayGoOn(ctx)) return verdict;
        verdict.Take(ReadRow(ctx, drawer, row, verdict.BarcodeSeen));
        if (verdict.ReadValid) return verdict;
    }
    // A barcode was seen on foundRow. When no row around it read, the last
    // row tried may have missed the bars altogether; the image still shows
    // a barcode and must not be named after the previous one.
    verdict.Take({.Text = verdict.Text, .Seen = true, .Fits = verdict.ReadValid});
    return verdict;
}

// The Close-up pipeline's answers: a read label renamed "A" + number, a
// photograph without one after the last number with a letter.
class CloseUpPipeline final : public PhotographPipeline {
public:
    explicit CloseUpPipeline(CloseUpContext& ctx) : ctx_(ctx) {}

    ScanVerdict Scan() override { return ScanRows(ctx_); }
    std::string& PreviousBarcode() override { return ctx_.closeUp.CloseUpLastBarcode; }
    bool General() const override { return false; }

    ImageOutcome Read(const ScanVerdict& verdict) override {
        const std::string& text = verdict.Text;
        ctx_.closeUp.CloseUpLastBarcode = text;
        ctx_.closeUp.CloseUpSuffix = "a";
        ImageOutcome outcome{.Kind = OutcomeKind::Read, .File = ctx_.run.CurrentImage, .Barcode = text};
        if (ctx_.Settings().IsDemoDebug()) {
            PromptOrStop(ctx_, text + std::string(verdict.Several ? kSeveralBarcodesNote : ""));
            return outcome;
        }
        outcome.NewName = RenameBarcodeImage(ctx_, text);
        outcome.Kind = outcome.NewName.empty() ? OutcomeKind::UnableToRename : OutcomeKind::Renamed;
        return outcome;
    }

    ImageOutcome TakePrevious() override {
        CloseUpState& closeUp = ctx_.closeUp;
        const std::string newName = closeUp.CloseUpLastBarcode + closeUp.CloseUpSuffix + ".jpg";
        closeUp.CloseUpSuffix = NextLetterSuffix(closeUp.CloseUpSuffix);
        ImageOutcome outcome{.Kind = OutcomeKind::WouldBeRenamed, .File = ctx_.run.CurrentImage, .NewName = newName};
        if (ctx_.Settings().IsDemoDebug())
            PromptOrStop(ctx_, "No barcode found. Would rename to " + newName);
        else
            outcome.Kind = Rename(ctx_, newName) ? OutcomeKind::RenamedAfterPrevious : OutcomeKind::UnableToRenameTo;
        return outcome;
    }

    // With "Rename W/O Barcode" off the image keeps its name whatever came
    // before; it is logged as the General pipeline logs such an image.
    ImageOutcome NoBarcode() override {
        if (ctx_.Settings().IsDemoDebug()) PromptOrStop(ctx_, "Can't find barcode");
        const bool renaming = ctx_.Settings().RenameWithoutBarcode();
        return {.Kind = renaming ? OutcomeKind::CloseUpNoBarcode : OutcomeKind::NoBarcode,
                .File = ctx_.run.CurrentImage};
    }

private:
    CloseUpContext& ctx_;
};

}  // namespace

ImageOutcome ProcessCloseUpImage(CloseUpContext ctx) {
    CloseUpPipeline pipeline(ctx);
    return ProcessPhotograph(ctx, ctx.bitmap, pipeline, ctx.sheetLines);
}

ScanVerdict ReadCloseUpImage(CloseUpContext ctx) {
    CloseUpPipeline pipeline(ctx);
    return ReadPhotograph(ctx, ctx.bitmap, pipeline, ctx.sheetLines);
}

std::string ReadRowsForGeneral(CloseUpContext ctx) {
    const CloseUpState closeUp = ctx.closeUp;
    ScanVerdict verdict = ScanRows(ctx);
    ctx.closeUp = closeUp;
    return verdict.Read() ? std::move(verdict.Text) : std::string();
}

}  // namespace tagmora
