#include "deep_search/photograph_flow.h"

#include "deep_search/deep_search_stage.h"

namespace tagmora {

namespace {

// Skipped or aborted part-way: nothing was decided about this photograph, so
// it keeps its name, and the next one is not named after an older one.
bool StoppedPartWay(RunContext& ctx, PhotographPipeline& pipeline) {
    if (ctx.run.KeepGoing) return false;
    pipeline.PreviousBarcode().clear();
    return true;
}

// A label seen and not used (whole but of another format, or not read): a
// problem, and the previous barcode forgotten, so that the photographs after
// it are not filed under an older number.
ImageOutcome LabelProblem(RunContext& ctx, PhotographPipeline& pipeline, const ScanVerdict& verdict,
                          Decision decision) {
    ImageOutcome outcome{.Kind = OutcomeKind::Unreadable, .File = ctx.run.CurrentImage, .General = pipeline.General()};
    if (decision == Decision::FormatMismatch) {
        outcome.Kind = OutcomeKind::FormatMismatch;
        outcome.Barcode = verdict.UnmatchedBarcode;
        outcome.Format = ctx.Settings().BarcodeFormat();
    }
    // An empty format takes the empty text: nothing is asked then.
    if (ctx.Settings().IsDemoDebug() && (decision == Decision::FormatMismatch || !verdict.ReadValid))
        PromptOrStop(ctx, OutcomeFinding(outcome));
    pipeline.PreviousBarcode().clear();
    pipeline.StartAfresh();
    return outcome;
}

}  // namespace

ImageOutcome ProcessPhotograph(RunContext& ctx, const WorkBitmap& bitmap, PhotographPipeline& pipeline,
                               const OtherTypeReading& otherType) {
    ctx.ui.ShowPicture(bitmap);
    ScanVerdict verdict = pipeline.Scan();
    // A click made while the last line was read still stops the photograph
    // before anything is renamed.
    ctx.ui.ProcessEventsDuringImage();
    if (StoppedPartWay(ctx, pipeline)) return {};
    SearchDeeperIfUnread(ctx, bitmap, verdict, otherType);
    if (StoppedPartWay(ctx, pipeline)) return {};

    const Decision decision =
        Decide(verdict, !pipeline.PreviousBarcode().empty(), ctx.Settings().RenameWithoutBarcode());
    switch (decision) {
    case Decision::Read:
        return pipeline.Read(verdict);
    case Decision::FormatMismatch:
    case Decision::Unreadable:
        return LabelProblem(ctx, pipeline, verdict, decision);
    case Decision::PreviousBarcode:
        return pipeline.TakePrevious();
    case Decision::NoBarcode:
        break;
    }
    return pipeline.NoBarcode();
}

ScanVerdict ReadPhotograph(RunContext& ctx, const WorkBitmap& bitmap, PhotographPipeline& pipeline,
                           const OtherTypeReading& otherType) {
    ctx.ui.ShowPicture(bitmap);
    ScanVerdict verdict = pipeline.Scan();
    if (ctx.run.KeepGoing) SearchDeeperIfUnread(ctx, bitmap, verdict, otherType);
    return verdict;
}

}  // namespace tagmora
