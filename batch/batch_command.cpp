#include "batch/batch_command.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "app/batch_run.h"
#include "app/config_file.h"
#include "app/context.h"
#include "app/process_image.h"
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
    case CommandAction::Run:
        break;
    }

    std::error_code error;
    const std::filesystem::path startFolder = std::filesystem::current_path(error);
    if (error) {
        streams.err << "tagmora-batch: cannot tell the current folder: " << error.message() << '\n';
        return kExitBadArguments;
    }

    ConsoleFrontEnd ui(streams.out, streams.progress);
    CoreState state;
    Context ctx = state.ContextFor(ui);
    state.run.StartFolder = startFolder.string();
    LoadConfig(state.run.StartFolder, ui.settings.Values, ui);
    ApplyOverrides(command.Overrides, ui.settings.Values);

    // Ctrl-C acts like the Abort button: the image in hand is stopped and
    // logged, then the run stops, and no later folder is run.
    bool abortHandled = false;
    ui.onProcessEvents = [&] {
        if (streams.interrupted != nullptr && *streams.interrupted != 0 && !abortHandled) {
            abortHandled = true;
            AbortClicked(ctx);
        }
    };

    // One run per folder, exactly as Execute pressed once for each.
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
        problems = problems || end != RunEnd::Completed || state.run.ErrorCount != 0;
        if (end == RunEnd::Aborted) break;
    }
    if (unreadable) return kExitBadArguments;
    return problems ? kExitProblems : kExitClean;
}

}  // namespace tagmora::batch
