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

constexpr const char* kUndoOrReport = "--undo-last-run and --report cannot be given together";
constexpr const char* kWatchAlone = "--watch cannot be given with --undo-last-run or --report";

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
        if (command.Action == CommandAction::UndoLastRun) return kUndoOrReport;
        if (command.Action == CommandAction::Watch) return kWatchAlone;
        command.ReportFile = value;
        command.Action = CommandAction::Report;
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
           name == "--suffix-format" || name == "--report" || name == "--watch" || name == "--settle-time";
}

// The last run of the log is undone or reported without a folder; a run
// needs at least one.
BatchCommand Finished(BatchCommand command) {
    if (command.Action == CommandAction::UndoLastRun || command.Action == CommandAction::Report) {
        if (!command.Folders.empty())
            return Failed(
                "no folder is given with --undo-last-run or --report: they read Tagmora.log in the "
                "current folder, not " +
                command.Folders.front());
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
        if (arg == "--undo-last-run") {
            if (!command.ReportFile.empty()) return Failed(kUndoOrReport);
            if (command.Action == CommandAction::Watch) return Failed(kWatchAlone);
            command.Action = CommandAction::UndoLastRun;
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
           "       tagmora-batch --undo-last-run\n"
           "       tagmora-batch [options] --watch FOLDER\n"
           "       tagmora-batch --report FILE.csv\n"
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
           "                                  Tagmora.log renamed (its manual renames too),\n"
           "                                  newest first; no folder is given\n"
           "  --report FILE.csv               write one CSV row per photograph of the last\n"
           "                                  run (UTF-8); an existing FILE is never replaced\n"
           "  --help                          show this text\n"
           "  --version                       show the program's version\n"
           "\n"
           "Messages are printed on standard output. Ctrl-C (or SIGTERM) stops the run\n"
           "after the photograph in hand; later folders are not run.\n"
           "Exit status: 2 bad arguments or a folder that cannot be read (the other\n"
           "folders are still run); else 1 when a run had problem images, found no\n"
           "image or stopped early; else 0.\n";
}

}  // namespace tagmora::batch
