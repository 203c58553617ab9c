#include "app/batch_run.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string_view>
#include <vector>

#include "app/context.h"
#include "app/decode_pool.h"
#include "app/process_image.h"
#include "app/run_section.h"
#include "base/file_system.h"
#include "base/folder_lock.h"
#include "base/run_log.h"
#include "base/text_helpers.h"
#include "base/version.h"
#include "photo/jpeg_intake.h"
#include "symbology/format_match.h"

namespace tagmora {

namespace {

constexpr std::string_view kAbortedMessage = "Process Aborted by User";

// Names the file with its line breaks shown as \n, so the message stays whole.
std::string PassedOverMessage(std::string_view name) {
    return "Passed over \"" + ReplaceAll(ReplaceAll(name, "\r", "\\r"), "\n", "\\n") +
           "\": a file name with a line break cannot be logged.";
}

std::string LocalTimeText(const char* format, const std::tm& when) {
    char buffer[128];
    const std::size_t length = std::strftime(buffer, sizeof buffer, format, &when);
    return std::string(buffer, length);
}

// Every run starts with no previous barcode: a photograph without a label in
// this folder must never take the number of a label read in another folder,
// or in an earlier Demo/Debug run. The line last tried only orders the search
// and may carry over.
void ForgetPreviousBarcodes(Context& ctx) {
    ctx.run.LastBarcode.clear();
    ctx.closeUp.CloseUpLastBarcode.clear();
    ctx.closeUp.CloseUpSuffix = "a";
}

std::string CountText(const RunState& run) {
    return std::to_string(run.ProcessedCount - run.ErrorCount) + "/" + std::to_string(run.ProcessedCount);
}

// A name already of the format's shape is passed over when asked: nothing
// is shown, logged or counted for it.
bool PassedOver(const RunSettings& settings, const std::string& name) {
    return settings.IgnoreMatching() && MatchesFormat(name, settings.BarcodeFormat());
}

std::size_t NextLikelyHandedOn(const RunSettings& settings, const std::vector<std::string>& names, std::size_t from) {
    while (from < names.size() && PassedOver(settings, names[from])) ++from;
    return from;
}

// The decodes running ahead of the run, and the first image not yet queued.
struct DecodingAhead {
    explicit DecodingAhead(std::size_t workers) : pool(workers == 0 ? DecodeWorkersForThisMachine() : workers) {}
    DecodePool pool;
    std::size_t nextToQueue = 0;
};

// Queues the images likely to be handed on after index, in list order, for
// as long as the pool has a picture free.
void QueueDecodesAhead(const Context& ctx, DecodingAhead& ahead, const std::vector<std::string>& names,
                       std::size_t index) {
    const RunSettings& settings = ctx.Settings();
    std::size_t& next = ahead.nextToQueue;
    for (next = NextLikelyHandedOn(settings, names, std::max(next, index + 1)); next < names.size();
         next = NextLikelyHandedOn(settings, names, next + 1))
        if (!ahead.pool.Start(next, JoinPath(ctx.run.PhotoFolder, names[next]))) return;
}

// One image with the decoding done ahead where that is safe: the picture of
// this image was decoded while earlier ones were analysed (or is decoded now,
// in turn), and the next images' decoding is queued before this one is
// analysed.
void HandOnDecodingAhead(Context& ctx, DecodingAhead& ahead, const std::vector<std::string>& names, std::size_t index) {
    const std::string& name = names[index];
    std::optional<JpegResult> result = ahead.pool.TakeInto(index, ctx.bitmap);
    QueueDecodesAhead(ctx, ahead, names, index);
    if (!result) result = LoadJpegGrey(JoinPath(ctx.run.PhotoFolder, name), ctx.bitmap);
    ProcessDecodedImage(ctx, name, *result);
}

// The photographs of the list after a stop that would have been handed on.
std::int32_t CountUnreached(const RunSettings& settings, const std::vector<std::string>& names, std::size_t from) {
    std::int32_t count = 0;
    for (std::size_t index = from; index < names.size(); ++index)
        if (!PassedOver(settings, names[index])) ++count;
    return count;
}

// Up to this many skipped names are listed in the summary; more send the
// user to the log, so the message box stays on the screen.
constexpr std::size_t kSkippedNamesListed = 10;

std::string Photographs(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " photograph was " : " photographs were ");
}

std::string SkippedText(const std::vector<std::string>& skipped) {
    std::string text = Photographs(skipped.size()) + "skipped";
    if (skipped.size() > kSkippedNamesListed) return text + ": see the log.";
    for (std::size_t i = 0; i < skipped.size(); ++i) text += (i == 0 ? ": " : ", ") + skipped[i];
    return text + ".";
}

std::string StoppedText(std::int32_t unreached) {
    if (unreached <= 0) return "The run was stopped after its last photograph.";
    return "The run was stopped: " + Photographs(static_cast<std::size_t>(unreached)) + "not reached.";
}

void HandOnEachImage(Context& ctx, const std::vector<std::string>& names, const RunOptions& options) {
    const auto total = static_cast<std::int32_t>(names.size());
    DecodingAhead ahead(options.DecodeWorkers);  // stops its workers however the loop ends
    for (std::size_t index = 0; index < names.size(); ++index) {
        const std::string& name = names[index];
        if (PassesOver(ctx, name)) continue;

        if (options.DecodeAhead)
            HandOnDecodingAhead(ctx, ahead, names, index);
        else
            ProcessImage(ctx, name);

        if (!AfterImage(ctx, name, static_cast<std::int32_t>(index) + 1, total)) {
            ctx.run.UnreachedCount = CountUnreached(ctx.Settings(), names, index + 1);
            return;
        }
    }
}

}  // namespace

std::string SectionHeaderText(std::time_t now, std::string_view kindLines) {
    std::tm local{};
    localtime_r(&now, &local);
    std::string text(kCrLf);
    text += LocalTimeText("%x", local) + ", " + LocalTimeText("%X", local);
    text += kCrLf;
    text += "Version " + FileVersionText();
    text += kCrLf;
    text += kindLines;
    return text;
}

std::string DirectoryEntryText(std::string_view folder) {
    return std::string(kDirectoryPrefix) + std::string(folder) + std::string(kCrLf);
}

std::string RunHeaderText(Context& ctx, std::time_t now) {
    const RunSettings& settings = ctx.Settings();
    std::string kind = settings.TypeIndex() == 0 ? "Processing General images" : "Processing Close Up images";
    kind += kCrLf;
    kind += settings.ModeIndex() == 0 ? kProductionHeaderLine : kDemoHeaderLine;
    kind += kCrLf;
    return SectionHeaderText(now, kind);
}

std::string RunHeaderText(Context& ctx) { return RunHeaderText(ctx, std::time(nullptr)); }

std::string FolderBusyText(std::string_view folder) {
    return "Another run of Tagmora is working in " + std::string(folder) +
           ". Only one run at a time may rename in a folder: try again when it has ended.";
}

std::string SummaryText(int errorCount, int processedCount) {
    std::string text =
        errorCount > 0 ? std::to_string(errorCount) + " errors were encountered with " + std::to_string(processedCount)
                       : "No Errors encountered with " + std::to_string(processedCount);
    text += " images.";
    text += kCrLf;
    text += "Please read the log file for details.";
    return text;
}

std::string SummaryText(const RunState& run, bool stopped) {
    std::string text = SummaryText(run.ErrorCount, run.ProcessedCount);
    std::string undone;
    if (!run.SkippedImages.empty()) undone += SkippedText(run.SkippedImages) + std::string(kCrLf);
    if (stopped) undone += StoppedText(run.UnreachedCount) + std::string(kCrLf);
    // After the first line, which the main window keeps in view.
    text.insert(text.find(kCrLf) + kCrLf.size(), undone);
    return text;
}

void BeginRunSection(Context& ctx) {
    RunState& run = ctx.run;
    run.KeepGoing = true;
    ForgetPreviousBarcodes(ctx);
    AppendLogLine(ctx, RunHeaderText(ctx));
    run.VerticalScan = ctx.Settings().RotationIndex() != 0;
    run.PhotoFolder = ctx.Settings().PhotoFolder();
    AppendLogLine(ctx, DirectoryEntryText(run.PhotoFolder));
    run.ErrorCount = 0;
    run.ProcessedCount = 0;
    run.SkippedImages.clear();
    run.UnreachedCount = 0;
}

bool PassesOver(Context& ctx, const std::string& name) {
    ctx.run.SkipRequested = false;
    return PassedOver(ctx.Settings(), name);
}

bool AfterImage(Context& ctx, const std::string& name, std::int32_t index, std::int32_t total) {
    RunState& run = ctx.run;
    ctx.ui.ProcessPendingEvents();  // Abort and Skip clicked during the image act here
    ++run.ProcessedCount;
    ctx.ui.SetCountText(CountText(run));
    ctx.ui.ProcessPendingEvents();
    ctx.ui.ImageFinished(index, total, name);

    if (run.KeepGoing) return true;
    if (!run.SkipRequested) return false;  // aborted: nothing more is handed on
    run.KeepGoing = true;
    run.SkipRequested = false;
    run.SkippedImages.push_back(name);
    ctx.ui.ShowMessage(name + " skipped.");
    return true;
}

RunEnd EndRun(Context& ctx) {
    ctx.ui.HidePhotoWindow();
    const bool aborted = !ctx.run.KeepGoing;
    if (aborted) ctx.ui.ShowMessage(kAbortedMessage);
    ctx.ui.ShowMessage(SummaryText(ctx.run, aborted));
    return aborted ? RunEnd::Aborted : RunEnd::Completed;
}

RunEnd RunBatch(Context& ctx, const RunOptions& options) {
    RunState& run = ctx.run;
    // A click on Execute while a run pumps events would otherwise start a
    // second run inside the first and reset the state both share.
    if (run.RunInProgress) return RunEnd::Refused;
    RunInProgressGuard inProgress(run);
    // Two runs in one folder would each meet the other's renames as vanished
    // files and name photographs after each other's barcodes.
    const std::string folder = ctx.Settings().PhotoFolder();
    const FolderLock lock(folder);
    if (lock.Refused()) {
        ctx.ui.ShowMessage(FolderBusyText(folder));
        return RunEnd::Busy;
    }
    BeginRunSection(ctx);

    // Taken once: files renamed during the run are not met again. Sorted,
    // because a photograph without a label takes the number of the one shot
    // before it. A folder that cannot be read offers no image either.
    std::vector<std::string> names;
    std::vector<std::string> passedOver;
    const bool listed = ListJpegFiles(run.PhotoFolder, names, &passedOver);
    for (const std::string& name : passedOver) ctx.ui.ShowMessage(PassedOverMessage(name));
    if (!listed || names.empty()) {
        ctx.ui.ShowMessage(kNoImagesMessage);
        return RunEnd::NoImages;
    }

    ctx.ui.ShowPhotoWindow(static_cast<std::int32_t>(names.size()));
    HandOnEachImage(ctx, names, options);
    return EndRun(ctx);
}

bool ExecuteRun(Context& ctx) { return RunBatch(ctx) != RunEnd::Refused; }

}  // namespace tagmora
