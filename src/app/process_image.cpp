#include "app/process_image.h"

#include "app/context.h"
#include "base/file_system.h"
#include "base/run_log.h"
#include "closeup/closeup_flow.h"
#include "general/general_flow.h"

namespace tagmora {

ImageOutcome ProcessImage(Context& ctx, const std::string& fileName) {
    const JpegResult result = LoadJpegGrey(JoinPath(ctx.run.PhotoFolder, fileName), ctx.bitmap);
    return ProcessDecodedImage(ctx, fileName, result);
}

namespace {

ImageOutcome OutcomeOfDecoded(Context& ctx, const std::string& fileName, JpegResult result) {
    // A file that is gone, unreadable, not a JPEG, cut short or too large to
    // hold is one problem image among many: the user is told, the log records
    // it for review, and the run goes on with the next photograph.
    const ImageOutcome unreadable{.Kind = OutcomeKind::UnableToOpen, .File = fileName};
    const auto tellUnreadable = [&] {
        ctx.ui.ShowMessage("Unable to open file " + fileName + ". Make sure it is a valid image.");
        return unreadable;
    };
    if (result == JpegResult::CannotOpen || result == JpegResult::TooLarge) return tellUnreadable();
    ctx.ui.SetImageName(fileName);
    // A truncated or damaged photograph is as unreadable as any other.
    if (result == JpegResult::CorruptData) return tellUnreadable();
    if (ctx.Settings().IsGeneralType()) return ProcessGeneralImage(ctx.General());
    return ProcessCloseUpImage(ctx.CloseUp());
}

}  // namespace

ImageOutcome ProcessDecodedImage(Context& ctx, const std::string& fileName, JpegResult result) {
    ctx.run.CurrentImage = fileName;
    ImageOutcome outcome = OutcomeOfDecoded(ctx, fileName, result);
    LogOutcome(ctx, outcome);
    return outcome;
}

// Both buttons act when the driver next processes events, so both can be
// clicked during one image. An abort (or a Cancel in a prompt) stands: a Skip
// clicked with it must not turn the stopped run back into a skipped image.
void AbortClicked(Context& ctx) {
    ctx.run.KeepGoing = false;
    ctx.run.SkipRequested = false;
    LogOutcome(ctx, {.Kind = OutcomeKind::Aborted});
}

void SkipClicked(Context& ctx) {
    // Once the run is stopped, or this image already skipped, a further
    // click changes nothing; nor does one while a watch waits for the
    // camera, with no image in hand.
    if (!ctx.run.KeepGoing || ctx.run.CurrentImage.empty()) return;
    ctx.run.KeepGoing = false;
    ctx.run.SkipRequested = true;
    LogOutcome(ctx, {.Kind = OutcomeKind::Skipped, .File = ctx.run.CurrentImage});
}

}  // namespace tagmora
