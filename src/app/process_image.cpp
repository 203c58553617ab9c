#include "app/process_image.h"

#include "app/context.h"
#include "base/file_system.h"
#include "base/run_log.h"
#include "closeup/closeup_flow.h"
#include "general/general_flow.h"

namespace tagmora {

void ProcessImage(Context& ctx, const std::string& fileName) {
    const JpegResult result = LoadJpegGrey(JoinPath(ctx.run.PhotoFolder, fileName), ctx.bitmap);
    ProcessDecodedImage(ctx, fileName, result);
}

void ProcessDecodedImage(Context& ctx, const std::string& fileName, JpegResult result) {
    ctx.run.CurrentImage = fileName;

    // A file that is gone, unreadable, not a JPEG or too large to hold is one
    // problem image among many: the user is told, the log records it for
    // review, and the run goes on with the next photograph.
    if (result == JpegResult::CannotOpen || result == JpegResult::TooLarge) {
        ctx.ui.ShowMessage("Unable to open file " + fileName + ". Make sure it is a valid image.");
        AppendLogLine(ctx, fileName + ": Unable to open image.");
        ++ctx.run.ErrorCount;
        return;
    }

    ctx.ui.SetImageName(fileName);
    if (result == JpegResult::CorruptData) {
        AppendLogLine(ctx, fileName + ": Unable to open image.");
        ++ctx.run.ErrorCount;
        return;
    }

    if (ctx.Settings().TypeIndex() == 0)
        ProcessGeneralImage(ctx.General());
    else
        ProcessCloseUpImage(ctx.CloseUp());
}

// Both buttons act when the driver next processes events, so both can be
// clicked during one image. An abort (or a Cancel in a prompt) stands: a Skip
// clicked with it must not turn the stopped run back into a skipped image.
void AbortClicked(Context& ctx) {
    ctx.run.KeepGoing = false;
    ctx.run.SkipRequested = false;
    AppendLogLine(ctx, "Process aborted by user");
}

void SkipClicked(Context& ctx) {
    // Once the run is stopped, or this image already skipped, a further
    // click changes nothing; nor does one while a watch waits for the
    // camera, with no image in hand.
    if (!ctx.run.KeepGoing || ctx.run.CurrentImage.empty()) return;
    ctx.run.KeepGoing = false;
    ctx.run.SkipRequested = true;
    AppendLogLine(ctx, ctx.run.CurrentImage + " skipped by user.");
}

}  // namespace tagmora
