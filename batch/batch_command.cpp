#include "batch/batch_command.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <ostream>
#include <system_error>

#include "app/batch_run.h"
#include "app/config_file.h"
#include "app/context.h"
#include "app/name_check.h"
#include "app/process_image.h"
#include "app/run_report.h"
#include "app/undo_run.h"
#include "app/watch_run.h"
#include "base/file_helpers.h"
#include "base/file_system.h"
#include "base/run_log.h"
#include "base/unique_fd.h"
#include "base/version.h"
#include "batch/batch_options.h"
#include "batch/console_front_end.h"

namespace tagmora::batch {

namespace {

// The folder as the log records it: absolute, without "." or ".." steps and
// without a trailing separator.
std::string AbsoluteFolder(const std::string& folder) {
    std::string path = std::filesystem::absolute(folder).lexically_normal().string();
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// Why the folder cannot be run over, or empty when it can.
std::string FolderProblem(const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return folder + ": " + std::strerror(errno);
    if (!S_ISDIR(info.st_mode)) return folder + ": not a folder";
    const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid()) return folder + ": " + std::strerror(errno);
    return {};
}

// The start folder is the current one: Config.txt and Tagmora.log live there.
std::optional<std::string> StartFolder(std::ostream& err) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (!error) return folder.string();
    err << "tagmora-batch: cannot tell the current folder: " << error.message() << '\n';
    return std::nullopt;
}

// number 0: the last run that renamed something.
int RunUndoCommand(const CommandStreams& streams, int number) {
    const std::optional<std::string> start = StartFolder(streams.err);
    if (!start) return kExitBadArguments;
    ConsoleFrontEnd ui(streams.out, nullptr);
    CoreState state;
    Context ctx = state.ContextFor(ui);
    state.run.StartFolder = *start;
    switch (UndoRun(ctx, number, nullptr)) {
    case UndoEnd::Done:
    case UndoEnd::NothingToDo:
    case UndoEnd::Cancelled:
        return kExitClean;
    case UndoEnd::Busy:
        return kExitBadArguments;
    case UndoEnd::NoLog:
    case UndoEnd::Partly:
        break;
    }
    return kExitProblems;
}

int RunListCommand(const CommandStreams& streams) {
    const std::optional<std::string> start = StartFolder(streams.err);
    if (!start) return kExitBadArguments;
    ConsoleFrontEnd ui(streams.out, nullptr);
    const std::optional<std::string> log = ReadTextFile(JoinPath(*start, kLogFileName), ui);
    if (!log) return kExitProblems;
    for (const RunEntry& run : RunHistory(*log)) streams.out << RunEntryText(run) << '\n';
    return kExitClean;
}

// The current folder, where Config.txt and Tagmora.log live, with the
// settings read from the one and the command's options laid over them;
// nothing, and the user told, when there is no current folder.
std::optional<std::string> LoadCommandSettings(const BatchCommand& command, const CommandStreams& streams,
                                               ConsoleFrontEnd& ui) {
    std::optional<std::string> start = StartFolder(streams.err);
    if (!start) return std::nullopt;
    LoadConfig(*start, ui.settings.Values, ui);
    ApplyOverrides(command.Overrides, ui.settings.Values);
    return start;
}

int RunReportCommand(const BatchCommand& command, const CommandStreams& streams) {
    ConsoleFrontEnd ui(streams.out, nullptr);
    // The format string helps tell the number in a name with a suffix.
    const std::optional<std::string> start = LoadCommandSettings(command, streams, ui);
    if (!start) return kExitBadArguments;
    const std::optional<std::string> log = ReadTextFile(JoinPath(*start, kLogFileName), ui);
    if (!log) return kExitProblems;
    const LastRunReport report = ReportOfLastRun(*log, ui.settings.Values.BarcodeFormat, command.Layout);
    if (!report.Refusal.empty()) {
        ui.ShowMessage(report.Refusal);
        return kExitProblems;
    }
    std::string error;
    if (!WriteNewFile(command.ReportFile, report.Csv, error)) {
        streams.err << "tagmora-batch: " << error << " (a report never replaces a file: give a new name)\n";
        return kExitBadArguments;
    }
    const auto rows = std::count(report.Csv.begin(), report.Csv.end(), '\n') - 1;
    const bool symbiota = command.Layout.Style == ReportStyle::Symbiota;
    streams.out << "tagmora-batch: " << rows << (symbiota ? " renamed photographs" : " photographs")
                << " of the last run reported in " << command.ReportFile << '\n';
    return kExitClean;
}

// One run per folder, exactly as Execute pressed once for each.
int RunFolders(const BatchCommand& command, const CommandStreams& streams, ConsoleFrontEnd& ui, Context& ctx) {
    // Ctrl-C or SIGTERM acts like the Abort button: the image in hand is
    // stopped and logged, then the run stops, and no later folder is run.
    bool abortHandled = false;
    ui.onProcessEvents = [&] {
        if (streams.interrupted != nullptr && *streams.interrupted != 0 && !abortHandled) {
            abortHandled = true;
            AbortClicked(ctx);
        }
    };
    bool unreadable = false;
    bool problems = false;
    for (const std::string& folder : command.Folders) {
        if (const std::string problem = FolderProblem(folder); !problem.empty()) {
            streams.err << "tagmora-batch: cannot read the folder " << problem << '\n';
            unreadable = true;
            continue;
        }
        ui.settings.Values.PhotoFolder = AbsoluteFolder(folder);
        const RunEnd end = RunBatch(ctx);
        // Another run holds the folder: nothing was touched, as for a folder
        // that cannot be read.
        unreadable = unreadable || end == RunEnd::Busy;
        problems = problems || end != RunEnd::Completed || ctx.run.ErrorCount != 0;
        if (end == RunEnd::Aborted) break;
    }
    if (unreadable) return kExitBadArguments;
    return problems ? kExitProblems : kExitClean;
}

// A watch is ended by Ctrl-C or SIGTERM once the photograph in hand is done:
// that is how a day's shooting ends, not an abort.
int WatchOneFolder(const BatchCommand& command, const CommandStreams& streams, ConsoleFrontEnd& ui, Context& ctx) {
    const std::string& folder = command.Folders.front();
    if (const std::string problem = FolderProblem(folder); !problem.empty()) {
        streams.err << "tagmora-batch: cannot watch the folder " << problem << '\n';
        return kExitBadArguments;
    }
    ui.settings.Values.PhotoFolder = AbsoluteFolder(folder);
    if (streams.progress != nullptr)
        *streams.progress << "Watching " << ui.settings.Values.PhotoFolder << " (Ctrl-C ends the watch)\n";
    WatchOptions options;
    if (command.SettleTime) options.QuietPeriod = *command.SettleTime;
    options.StopAsked = [&streams] { return streams.interrupted != nullptr && *streams.interrupted != 0; };
    switch (WatchFolder(ctx, std::move(options))) {
    case WatchEnd::Refused:
    case WatchEnd::CannotWatch:
        return kExitBadArguments;
    case WatchEnd::Stopped:
        return ctx.run.ErrorCount != 0 ? kExitProblems : kExitClean;
    case WatchEnd::Aborted:
    case WatchEnd::FolderGone:
        break;
    }
    return kExitProblems;
}

// The folders' photographs read again and compared with their names: rows
// on standard output after one header, nothing renamed, nothing logged.
int RunCheckCommand(const BatchCommand& command, const CommandStreams& streams) {
    ConsoleFrontEnd ui(streams.err, nullptr);
    if (!LoadCommandSettings(command, streams, ui)) return kExitBadArguments;

    bool unreadable = false;
    bool attention = false;
    bool headerWritten = false;
    for (const std::string& folder : command.Folders) {
        std::optional<std::vector<NameCheckRow>> rows;
        const std::string problem = FolderProblem(folder);
        if (problem.empty()) rows = CheckFolderNames(AbsoluteFolder(folder), ui.settings.Values);
        if (!rows) {
            streams.err << "tagmora-batch: cannot read the folder " << (problem.empty() ? folder : problem) << '\n';
            unreadable = true;
            continue;
        }
        streams.out << NameCheckCsv(*rows, !headerWritten) << std::flush;
        headerWritten = true;
        attention = attention ||
                    std::ranges::any_of(*rows, [](const NameCheckRow& row) { return NeedsAttention(row.Verdict); });
    }
    if (unreadable) return kExitBadArguments;
    return attention ? kExitProblems : kExitClean;
}

}  // namespace

int RunBatchCommand(std::span<const std::string> args, const CommandStreams& streams) {
    const BatchCommand command = ParseBatchArguments(args);
    switch (command.Action) {
    case CommandAction::ShowHelp:
        streams.out << UsageText();
        return kExitClean;
    case CommandAction::ShowVersion:
        streams.out << "tagmora-batch " << FileVersionText() << '\n';
        return kExitClean;
    case CommandAction::Error:
        streams.err << "tagmora-batch: " << command.Error << "\n(tagmora-batch --help tells the options)\n";
        return kExitBadArguments;
    case CommandAction::UndoLastRun:
        return RunUndoCommand(streams, 0);
    case CommandAction::UndoRun:
        return RunUndoCommand(streams, command.RunNumber);
    case CommandAction::ListRuns:
        return RunListCommand(streams);
    case CommandAction::Report:
        return RunReportCommand(command, streams);
    case CommandAction::CheckNames:
        return RunCheckCommand(command, streams);
    case CommandAction::Run:
    case CommandAction::Watch:
        break;
    }

    ConsoleFrontEnd ui(streams.out, streams.progress);
    const std::optional<std::string> startFolder = LoadCommandSettings(command, streams, ui);
    if (!startFolder) return kExitBadArguments;
    CoreState state;
    Context ctx = state.ContextFor(ui);
    state.run.StartFolder = *startFolder;
    if (command.Action == CommandAction::Watch) return WatchOneFolder(command, streams, ui, ctx);
    return RunFolders(command, streams, ui, ctx);
}

}  // namespace tagmora::batch
