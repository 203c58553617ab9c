#include "batch/batch_options.h"

#include <array>
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

BatchCommand Failed(std::string error) {
    BatchCommand command;
    command.Action = CommandAction::Error;
    command.Error = std::move(error);
    return command;
}

// The last run of the log is undone or reported without a folder; a run
// needs one.
BatchCommand Finished(BatchCommand command, bool haveFolder) {
    if (command.Action == CommandAction::UndoLastRun || command.Action == CommandAction::Report) {
        if (haveFolder)
            return Failed("no folder is given with --undo-last-run or --report: they read Tagmora.log in the "
                          "current folder, not " + command.Folder);
        return command;
    }
    if (!haveFolder) return Failed("no folder given");
    if (command.Folder.empty()) return Failed("the folder name is empty");
    command.Action = CommandAction::Run;
    return command;
}

bool ApplyFlag(const std::string& arg, SettingOverrides& overrides) {
    for (const Flag& flag : kFlags) {
        if (arg == flag.On || arg == flag.Off) {
            overrides.*flag.Target = (arg == flag.On);
            return true;
        }
    }
    return false;
}

// Applies one option that takes a value; returns what was wrong, or nothing.
std::string ApplyValueOption(const std::string& name, const std::string& value, BatchCommand& command) {
    SettingOverrides& overrides = command.Overrides;
    if (name == "--report") {
        if (value.empty()) return "--report needs a file name";
        if (command.Action == CommandAction::UndoLastRun) return kUndoOrReport;
        command.ReportFile = value;
        command.Action = CommandAction::Report;
    } else if (name == "--format") {
        overrides.BarcodeFormat = value;
    } else if (name == "--suffix-format") {
        overrides.SuffixFormat = value;
    } else if (name == "--mode") {
        overrides.ModeIndex = FindChoice(kModes, value);
        if (!overrides.ModeIndex) return "--mode must be " + ChoiceWords(kModes) + ", not " + value;
    } else if (name == "--type") {
        overrides.TypeIndex = FindChoice(kTypes, value);
        if (!overrides.TypeIndex) return "--type must be " + ChoiceWords(kTypes) + ", not " + value;
    } else {
        overrides.RotationIndex = FindChoice(kOrientations, value);
        if (!overrides.RotationIndex) return "--orientation must be " + ChoiceWords(kOrientations) + ", not " + value;
    }
    return {};
}

}  // namespace

BatchCommand ParseBatchArguments(std::span<const std::string> args) {
    BatchCommand command;
    bool haveFolder = false;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isOption = !optionsEnded && arg.size() > 1 && arg.front() == '-';
        if (!isOption) {
            if (haveFolder) return Failed("only one folder can be given: " + command.Folder + ", " + arg);
            command.Folder = arg;
            haveFolder = true;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            command.Action = CommandAction::ShowHelp;
            return command;
        }
        if (arg == "--version") {
            command.Action = CommandAction::ShowVersion;
            return command;
        }
        if (arg == "--undo-last-run") {
            if (!command.ReportFile.empty()) return Failed(kUndoOrReport);
            command.Action = CommandAction::UndoLastRun;
            continue;
        }

        if (ApplyFlag(arg, command.Overrides)) continue;

        // Options with a value: "--name=value" or "--name value".
        std::string name = arg;
        std::optional<std::string> value;
        if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        const bool takesValue = name == "--mode" || name == "--type" || name == "--orientation" ||
                                name == "--format" || name == "--suffix-format" || name == "--report";
        if (!takesValue) return Failed("unknown option " + arg);
        if (!value) {
            if (i + 1 >= args.size()) return Failed("option " + name + " needs a value");
            value = args[++i];
        }

        if (std::string error = ApplyValueOption(name, *value, command); !error.empty()) return Failed(error);
    }

    return Finished(std::move(command), haveFolder);
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
}

std::string UsageText() {
    return "Usage: tagmora-batch [options] FOLDER\n"
           "       tagmora-batch --undo-last-run\n"
           "       tagmora-batch --report FILE.csv\n"
           "\n"
           "Reads the barcode on every .jpg photograph of FOLDER and renames each\n"
           "photograph (and the files sharing its name) to its catalogue number, as\n"
           "Tagmora's Execute does. Config.txt in the current folder supplies the\n"
           "settings; Tagmora.log there receives the run's report. The options below\n"
           "change a setting for this run only; nothing is saved.\n"
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
           "  --ignore-matching, --no-ignore-matching\n"
           "                                  pass over photographs already so named\n"
           "  --undo-last-run                 rename back every file the last run of\n"
           "                                  Tagmora.log renamed (its manual renames too),\n"
           "                                  newest first; no folder is given\n"
           "  --report FILE.csv               write one CSV row per photograph of the last\n"
           "                                  run (UTF-8); an existing FILE is never replaced\n"
           "  --help                          show this text\n"
           "  --version                       show the program's version\n"
           "\n"
           "Messages are printed on standard output. Ctrl-C stops the run after the\n"
           "photograph in hand.\n"
           "Exit status: 0 no problem image, 1 problem images, no image found or the\n"
           "run stopped early, 2 bad arguments or a folder that cannot be read.\n";
}

}  // namespace tagmora::batch
