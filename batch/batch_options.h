#pragma once
// The command line of tagmora-batch: the folders to run over and the settings
// to use for this run only (nothing is saved).
#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/run_report.h"
#include "base/run_settings.h"

namespace tagmora::batch {

// Settings given on the command line; an absent one keeps its Config.txt
// value (or the default).
struct SettingOverrides {
    std::optional<int> ModeIndex;
    std::optional<int> TypeIndex;
    std::optional<int> RotationIndex;
    std::optional<std::string> BarcodeFormat;
    std::optional<std::string> SuffixFormat;
    std::optional<bool> SuffixAll;
    std::optional<bool> RenameRaw;
    std::optional<bool> IgnoreMatching;
    std::optional<bool> RenameWithoutBarcode;
    std::optional<bool> DeepSearch;
};

enum class CommandAction {
    Run,
    Watch,
    UndoLastRun,
    UndoRun,
    ListRuns,
    Report,
    CheckNames,
    ShowHelp,
    ShowVersion,
    Error
};

struct BatchCommand {
    CommandAction Action = CommandAction::Error;
    std::vector<std::string> Folders;  // one run each, in the order given; for Watch the one watched
    // For Watch: how long a file kept open must stand still to count as
    // complete; the watch's own default when not given.
    std::optional<std::chrono::milliseconds> SettleTime;
    std::string ReportFile;  // for Report
    ReportLayout Layout;     // for Report: its style, and the URL prefix of a Symbiota one
    int RunNumber = 0;       // for UndoRun
    SettingOverrides Overrides;
    std::string Error;        // what was wrong with the arguments, for Error
    bool CheckGiven = false;  // --check: the folders' names are checked, not run over
};

// Parses the arguments after the program name. Options may come before,
// between or after the folders and apply to every folder; "--name=value" and
// "--name value" are both accepted; "--" ends the options. The last of
// repeated options wins. --undo-last-run and --report FILE work on the last
// run of the log and take no folder (so do --list-runs and --undo-run N);
// --report-style and --url-prefix go with --report only; --watch FOLDER takes
// no other folder.
// --check reads the folders' photographs without renaming.
BatchCommand ParseBatchArguments(std::span<const std::string> args);

void ApplyOverrides(const SettingOverrides& overrides, SettingValues& values);

std::string UsageText();

}  // namespace tagmora::batch
