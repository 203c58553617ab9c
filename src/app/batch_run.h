#pragma once
// The batch run behind Execute: log header, file list, each image in turn,
// Skip and Abort, counts and summary.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "base/run_state.h"

namespace tagmora {

struct Context;

// What every log section starts with: an empty line, the date and time at
// now (in the C library's LC_TIME locale) and the version, then kindLines,
// whose lines tell what wrote the section.
std::string SectionHeaderText(std::time_t now, std::string_view kindLines);
// The log entry that ends a section's header: the folder it works in.
std::string DirectoryEntryText(std::string_view folder);

// The run log header entry for the current settings and time.
std::string RunHeaderText(Context& ctx);
// The same at a given moment; date and time follow the C library's LC_TIME
// locale, which the front ends set from the user's environment.
std::string RunHeaderText(Context& ctx, std::time_t now);

// Why a run, a manual rename or an undo does not start: another one holds
// the folder.
std::string FolderBusyText(std::string_view folder);

// Told when a folder offers no photograph to run over.
inline constexpr std::string_view kNoImagesMessage = "Unable to find any .jpg Files.";

// The summary message at the end of a run.
std::string SummaryText(int errorCount, int processedCount);
// The same with what a stop or a skip left undone, on lines of their own
// between the two: the photographs skipped and, when the run was stopped,
// how many of its list were never reached.
std::string SummaryText(const RunState& run, bool stopped);

// One run over the settings' photo folder. Returns false without doing
// anything when a run is already in progress.
bool ExecuteRun(Context& ctx);

struct RunOptions {
    // Decode the next images on worker threads while the current one is
    // analysed; the results are the same either way.
    bool DecodeAhead = true;
    // Threads decoding ahead; 0 gives one per core.
    std::size_t DecodeWorkers = 0;
};

enum class RunEnd {
    Refused,    // a run was already in progress: nothing done
    Busy,       // another run holds the folder: nothing done, the user told
    NoImages,   // no *.jpg file found (or the folder could not be read)
    Completed,  // every image of the list handed on or passed over
    Aborted,    // Abort or Cancel ended the run early
};

// ExecuteRun with its options, telling how the run ended.
RunEnd RunBatch(Context& ctx, const RunOptions& options = {});

// The pieces of a run that other ways of running (a watched folder) share.

// Marks a run as in progress for as long as it lasts, also when it ends by
// an exception, so that the next Execute is not refused for ever.
class RunInProgressGuard {
public:
    explicit RunInProgressGuard(RunState& run) : run_(run) { run_.RunInProgress = true; }
    ~RunInProgressGuard() { run_.RunInProgress = false; }
    RunInProgressGuard(const RunInProgressGuard&) = delete;
    RunInProgressGuard& operator=(const RunInProgressGuard&) = delete;

private:
    RunState& run_;
};

// The start of a run: no previous barcode, the log header and the
// "Directory = " entry of the settings' photo folder, the counts at zero.
void BeginRunSection(Context& ctx);

// Before an image is handed on: true when its name is passed over (already
// of the format's shape, when that is asked).
bool PassesOver(Context& ctx, const std::string& name);

// After an image was handed on: the counts, the events that act between
// images, Skip's message. False when the run was stopped (Abort, Cancel).
// index counts from 1 among total.
bool AfterImage(Context& ctx, const std::string& name, std::int32_t index, std::int32_t total);

// The end of a run: the photo window hidden, the abort message, the summary.
RunEnd EndRun(Context& ctx);

}  // namespace tagmora
