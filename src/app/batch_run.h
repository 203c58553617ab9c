#pragma once
// The batch run behind Execute: log header, file list, each image in turn,
// Skip and Abort, counts and summary.
#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

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

// The summary message at the end of a run.
std::string SummaryText(int errorCount, int processedCount);

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

}  // namespace tagmora
