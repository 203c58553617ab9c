#include "batch/batch_options.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace tagmora::batch {

namespace {

struct Choice {
    std::string_view Word;
    int Index;
};

constexpr std::array kModes{Choice{"production", 0}, Choice{"demo", 1}};
constexpr std::array kTypes{Choice{"general", 0}, Choice{"closeup", 1}};
constexpr std::array kOrientations{Choice{"horizontal", 0}, Choice{"vertical", 1}};
constexpr std::array kReportStyles{Choice{"default", static_cast<int>(ReportStyle::Default)},
                                   Choice{"symbiota", static_cast<int>(ReportStyle::Symbiota)}};

struct Flag {
    std::string_view On;
    std::string_view Off;
    std::optional<bool> SettingOverrides::*Target;
};

constexpr std::array kFlags{
    Flag{"--suffix-all", "--no-suffix-all", &SettingOverrides::SuffixAll},
    Flag{"--rename-raw", "--no-rename-raw", &SettingOverrides::RenameRaw},
    Flag{"--ignore-matching", "--no-ignore-matching", &SettingOverrides::IgnoreMatching},
    Flag{"--rename-without-barcode", "--no-rename-without-barcode", &SettingOverrides::RenameWithoutBarcode},
    Flag{"--deep-search", "--no-deep-search", &SettingOverrides::DeepSearch},
};

template <std::size_t N>
std::optional<int> FindChoice(const std::array<Choice, N>& choices, std::string_view word) {
    for (const Choice& choice : choices)
        if (choice.Word == word) return choice.Index;
    return std::nullopt;
}

template <std::size_t N>
std::string ChoiceWords(const std::array<Choice, N>& choices) {
    std::string words;
    for (const Choice& choice : choices) words += (words.empty() ? "" : "|") + std::string(choice.Word);
    return words;
}

constexpr const char* kWatchAlone = "--watch cannot be given with --undo-last-run, --undo-run, --list-runs or --report";
constexpr const char* kOneLogAction = "--undo-last-run, --undo-run, --list-runs and --report cannot be given together";

bool IsLogAction(CommandAction action) {
    return action == CommandAction::UndoLastRun || action == CommandAction::UndoRun ||
           action == CommandAction::ListRuns || action == CommandAction::Report;
}

// The one thing done with the log instead of a run; the error when another
// was asked for already.
std::optional<std::string> TakeLogAction(BatchCommand& command, CommandAction action) {
    if (command.Action == CommandAction::Watch) return kWatchAlone;
    if (IsLogAction(command.Action) && command.Action != action) return kOneLogAction;
    command.Action = action;
    return std::nullopt;
}

// A run's number as --list-runs shows it: 1 or more.
std::optional<int> RunNumber(const std::string& value) {
    if (value.empty() || value.size() > 9 || value.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int number = std::stoi(value);
    if (number < 1) return std::nullopt;
    return number;
}

BatchCommand Failed(std::string error) {
    BatchCommand command;
    command.Action = CommandAction::Error;
    command.Error = std::move(error);
    return command;
}

// A flag option sets its override; false when arg is no flag.
bool TakeFlag(std::string_view arg, SettingOverrides& overrides) {
    for (const Flag& flag : kFlags) {
        if (arg == flag.On || arg == flag.Off) {
            overrides.*flag.Target = (arg == flag.On);
            return true;
        }
    }
    return false;
}

template <std::size_t N>
std::optional<std::string> TakeChoice(const std::array<Choice, N>& choices, std::string_view name,
                                      const std::string& value, std::optional<int>& target) {
    target = FindChoice(choices, value);
    if (target) return std::nullopt;
    return std::string(name) + " must be " + ChoiceWords(choices) + ", not " + value;
}

// Seconds, fractions allowed, from 0.05 to an hour.
std::optional<std::string> TakeSettleTime(const std::string& value, BatchCommand& command) {
    double seconds = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    if (error != std::errc() || end != value.data() + value.size() || !(seconds >= 0.05 && seconds <= 3600))
        return "--settle-time must be a number of seconds from 0.05 to 3600, not " + value;
    command.SettleTime = std::chrono::milliseconds(std::lround(seconds * 1000));
    return std::nullopt;
}

// An option with a value sets its override; the error, if the value is wrong.
std::optional<std::string> TakeValue(std::string_view name, const std::string& value, BatchCommand& command) {
    SettingOverrides& overrides = command.Overrides;
    if (name == "--report") {
        if (value.empty()) return "--report needs a file name";
        command.ReportFile = value;
        return TakeLogAction(command, CommandAction::Report);
    }
    if (name == "--undo-run") {
        const std::optional<int> number = RunNumber(value);
        if (!number) return "--undo-run needs a run number as --list-runs shows it, not " + value;
        command.RunNumber = *number;
        return TakeLogAction(command, CommandAction::UndoRun);
    }
    if (name == "--report-style") {
        std::optional<int> style;
        std::optional<std::string> error = TakeChoice(kReportStyles, name, value, style);
        if (style) command.Layout.Style = static_cast<ReportStyle>(*style);
        return error;
    }
    if (name == "--url-prefix") {
        if (value.empty()) return "--url-prefix needs a URL";
        command.Layout.UrlPrefix = value;
        return std::nullopt;
    }
    if (name == "--watch") {
        if (value.empty()) return "--watch needs a folder";
        if (command.Action == CommandAction::Watch) return "--watch takes one folder, and is given once";
        if (command.Action != CommandAction::Error) return kWatchAlone;
        command.Folders.insert(command.Folders.begin(), value);
        command.Action = CommandAction::Watch;
        return std::nullopt;
    }
    if (name == "--settle-time") return TakeSettleTime(value, command);
    if (name == "--format") {
        overrides.BarcodeFormat = value;
        return std::nullopt;
    }
    if (name == "--suffix-format") {
        overrides.SuffixFormat = value;
        return std::nullopt;
    }
    if (name == "--mode") return TakeChoice(kModes, name, value, overrides.ModeIndex);
    if (name == "--type") return TakeChoice(kTypes, name, value, overrides.TypeIndex);
    return TakeChoice(kOrientations, name, value, overrides.RotationIndex);
}

bool TakesValue(std::string_view name) {
    return name == "--mode" || name == "--type" || name == "--orientation" || name == "--format" ||
           name == "--suffix-format" || name == "--report" || name == "--report-style" || name == "--url-prefix" ||
           name == "--undo-run" || name == "--watch" || name == "--settle-time";
}

// A Symbiota report needs the address the photographs are served from, and
// only it takes one.
std::optional<std::string> ReportLayoutProblem(const ReportLayout& layout) {
    if (layout.Style != ReportStyle::Symbiota) {
        if (layout.UrlPrefix.empty()) return std::nullopt;
        return "--url-prefix goes with --report-style symbiota";
    }
    if (layout.UrlPrefix.empty())
        return "--report-style symbiota needs --url-prefix URL, the web address the photographs are served from";
    if (std::string problem = UrlPrefixProblem(layout.UrlPrefix); !problem.empty()) return "--url-prefix: " + problem;
    return std::nullopt;
}

// A check reads folders and writes its rows on standard output: it is
// neither a run, an undo nor a report.
BatchCommand FinishedCheck(BatchCommand command) {
    if (IsLogAction(command.Action) || command.Action == CommandAction::Watch)
        return Failed("--check cannot be given with --watch, --undo-last-run, --undo-run, --list-runs or --report");
    if (command.Folders.empty()) return Failed("no folder given to --check");
    command.Action = CommandAction::CheckNames;
    return command;
}

// The last run of the log is undone or reported without a folder; a run
// needs at least one.
BatchCommand Finished(BatchCommand command) {
    const bool layoutGiven = command.Layout.Style != ReportStyle::Default || !command.Layout.UrlPrefix.empty();
    if (layoutGiven && command.Action != CommandAction::Report)
        return Failed("--report-style and --url-prefix go with --report FILE.csv");
    if (command.CheckGiven) return FinishedCheck(std::move(command));
    if (IsLogAction(command.Action)) {
        if (!command.Folders.empty())
            return Failed(
                "no folder is given with --undo-last-run, --undo-run, --list-runs or --report: they read "
                "Tagmora.log in the current folder, not " +
                command.Folders.front());
        if (command.Action == CommandAction::Report)
            if (std::optional<std::string> problem = ReportLayoutProblem(command.Layout)) return Failed(*problem);
        return command;
    }
    if (command.SettleTime && command.Action != CommandAction::Watch)
        return Failed("--settle-time is for --watch only");
    if (command.Action == CommandAction::Watch) {
        if (command.Folders.size() > 1)
            return Failed("--watch watches one folder: " + command.Folders[1] + " cannot be run with it");
        return command;
    }
    if (command.Folders.empty()) return Failed("no folder given");
    command.Action = CommandAction::Run;
    return command;
}

}  // namespace

BatchCommand ParseBatchArguments(std::span<const std::string> args) {
    BatchCommand command;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isOption = !optionsEnded && arg.size() > 1 && arg.front() == '-';
        if (!isOption) {
            if (arg.empty()) return Failed("a folder name is empty");
            command.Folders.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h" || arg == "--version") {
            command.Action = arg == "--version" ? CommandAction::ShowVersion : CommandAction::ShowHelp;
            return command;
        }
        if (arg == "--undo-last-run" || arg == "--list-runs") {
            const auto action = arg == "--list-runs" ? CommandAction::ListRuns : CommandAction::UndoLastRun;
            if (std::optional<std::string> error = TakeLogAction(command, action)) return Failed(*error);
            continue;
        }
        if (arg == "--check") {
            command.CheckGiven = true;
            continue;
        }
        if (TakeFlag(arg, command.Overrides)) continue;

        // Options with a value: "--name=value" or "--name value".
        std::string name = arg;
        std::optional<std::string> value;
        if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        if (!TakesValue(name)) return Failed("unknown option " + arg);
        if (!value) {
            if (i + 1 >= args.size()) return Failed("option " + name + " needs a value");
            value = args[++i];
        }
        if (std::optional<std::string> error = TakeValue(name, *value, command)) return Failed(*error);
    }
    return Finished(std::move(command));
}

void ApplyOverrides(const SettingOverrides& overrides, SettingValues& values) {
    if (overrides.ModeIndex) values.ModeIndex = *overrides.ModeIndex;
    if (overrides.TypeIndex) values.TypeIndex = *overrides.TypeIndex;
    if (overrides.RotationIndex) values.RotationIndex = *overrides.RotationIndex;
    if (overrides.BarcodeFormat) values.BarcodeFormat = *overrides.BarcodeFormat;
    if (overrides.SuffixFormat) values.SuffixFormat = *overrides.SuffixFormat;
    if (overrides.SuffixAll) values.SuffixAll = *overrides.SuffixAll;
    if (overrides.RenameRaw) values.RenameRaw = *overrides.RenameRaw;
    if (overrides.IgnoreMatching) values.IgnoreMatching = *overrides.IgnoreMatching;
    if (overrides.RenameWithoutBarcode) values.RenameWithoutBarcode = *overrides.RenameWithoutBarcode;
    if (overrides.DeepSearch) values.DeepSearch = *overrides.DeepSearch;
}

std::string UsageText() {
    return "Usage: tagmora-batch [options] FOLDER...\n"
           "       tagmora-batch --undo-last-run | --list-runs | --undo-run N\n"
           "       tagmora-batch --report FILE.csv [--report-style symbiota --url-prefix URL]\n"
           "       tagmora-batch [options] --watch FOLDER\n"
           "       tagmora-batch --check [options] FOLDER...\n"
           "\n"
           "Reads the barcode on every .jpg photograph of each FOLDER and renames each\n"
           "photograph (and the files sharing its name) to its catalogue number, as\n"
           "Tagmora's Execute does, one run per folder in the order given. Config.txt\n"
           "in the current folder supplies the settings; Tagmora.log there receives\n"
           "each run's report. The options below change a setting for these runs\n"
           "only; nothing is saved.\n"
           "\n"
           "  --mode production|demo          demo reads and reports but renames nothing\n"
           "  --type general|closeup          whole sheets or close-ups of the label\n"
           "  --orientation horizontal|vertical\n"
           "                                  barcode across the image or up and down\n"
           "  --format TEXT                   barcode format string (# digit, @ letter,\n"
           "                                  ? any character)\n"
           "  --suffix-format TEXT            suffix of further photographs of a specimen\n"
           "                                  (@ = a,b,c...  # = 1,2,3...  ### = 001,002...)\n"
           "  --suffix-all, --no-suffix-all   suffix every photograph, or only further ones\n"
           "  --rename-raw, --no-rename-raw   rename files sharing the photograph's name\n"
           "  --rename-without-barcode, --no-rename-without-barcode\n"
           "                                  name a photograph without a readable barcode\n"
           "                                  after the one before it, or leave it as it is\n"
           "  --deep-search, --no-deep-search\n"
           "                                  when the fast search finds no barcode, look\n"
           "                                  again at the whole photograph (any angle)\n"
           "  --ignore-matching, --no-ignore-matching\n"
           "                                  pass over photographs already so named\n"
           "  --watch FOLDER                  rename each photograph written into FOLDER\n"
           "                                  as soon as it is complete (closed, or standing\n"
           "                                  still for the settle time), in name order, and\n"
           "                                  a raw file arriving later after it; the\n"
           "                                  photographs already there first. One run until\n"
           "                                  Ctrl-C or SIGTERM ends it after the photograph\n"
           "                                  in hand\n"
           "  --settle-time SECONDS           how long a file still open must stand still to\n"
           "                                  count as complete (default 3)\n"
           "  --undo-last-run                 rename back every file the last run of\n"
           "                                  Tagmora.log that renamed something renamed\n"
           "                                  (its manual renames too), newest first; no\n"
           "                                  folder is given\n"
           "  --list-runs                     list the runs of Tagmora.log, one a line:\n"
           "                                  number, date and time, folder, mode, files\n"
           "                                  renamed, undone or not\n"
           "  --undo-run N                    undo run N of that list\n"
           "  --report FILE.csv               write one CSV row per photograph of the last\n"
           "                                  run (UTF-8) with its SHA-256; an existing FILE\n"
           "                                  is never replaced\n"
           "  --report-style default|symbiota\n"
           "                                  symbiota: catalogNumber,originalUrl of each\n"
           "                                  renamed photograph, for a Symbiota image import\n"
           "  --url-prefix URL                where the photographs are served from\n"
           "                                  (http:// or https://), for --report-style symbiota\n"
           "  --check                         rename nothing: read every .jpg of each FOLDER\n"
           "                                  again and compare its label with the number in\n"
           "                                  its name; CSV on standard output (folder, file,\n"
           "                                  number in name, number on label, verdict:\n"
           "                                  agrees, disagrees, no label, no label, no\n"
           "                                  agreeing photograph, unreadable label, not a\n"
           "                                  catalogue name, cannot open); Tagmora.log is\n"
           "                                  not written; exit 1 when a photograph\n"
           "                                  disagrees, has an unreadable label or cannot\n"
           "                                  be opened\n"
           "  --help                          show this text\n"
           "  --version                       show the program's version\n"
           "\n"
           "Messages are printed on standard output. Ctrl-C or SIGTERM stops the run\n"
           "after the photograph in hand; later folders are not run. A folder in\n"
           "which another run of Tagmora is working is refused, untouched.\n"
           "Exit status: 2 bad arguments, a folder that cannot be read or one in use\n"
           "(the other folders are still run); else 1 when a run had problem images, found no\n"
           "image or stopped early; else 0.\n";
}

}  // namespace tagmora::batch
