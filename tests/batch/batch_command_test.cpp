// tagmora-batch: its command line, how it prints what the desktop program
// would show, and its exit status, down to running the built program.
#include "batch/batch_command.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <tuple>

#include "app/batch_run.h"
#include "app/context.h"
#include "base/folder_lock.h"
#include "base/sha256.h"
#include "base/version.h"
#include "batch/batch_options.h"
#include "batch/console_front_end.h"
#include "batch_fixtures.h"

namespace tagmora {
namespace {

using batch::BatchCommand;
using batch::CommandAction;
using batch::ParseBatchArguments;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

BatchCommand Parse(std::initializer_list<std::string> args) {
    const std::vector<std::string> list(args);
    return ParseBatchArguments(list);
}

// The settings an override touches, in one comparable value.
auto Fields(const SettingValues& v) {
    return std::tuple(v.ModeIndex, v.TypeIndex, v.RotationIndex, v.BarcodeFormat, v.SuffixFormat, v.SuffixAll,
                      v.RenameRaw, v.IgnoreMatching, v.RenameWithoutBarcode, v.PauseEachLine);
}

TEST(BatchArgumentsTest, OptionsOverrideTheirSettingsAndTheLastRepeatWins) {
    BatchCommand command = Parse({"--mode", "demo", "--type=closeup", "--orientation", "vertical", "--format", "AB##",
                                  "--suffix-format=-#", "--suffix-all", "--no-rename-raw", "--no-ignore-matching",
                                  "--no-rename-without-barcode", "photos"});
    ASSERT_EQ(command.Action, CommandAction::Run) << command.Error;
    EXPECT_THAT(command.Folders, ElementsAre("photos"));
    SettingValues values;
    values.SuffixFormat = "@";
    values.PauseEachLine = true;
    batch::ApplyOverrides(command.Overrides, values);
    EXPECT_EQ(Fields(values), std::tuple(1, 1, 1, "AB##", "-#", true, false, false, false, true));  // no option pauses

    // Absent options keep their settings; an empty suffix format can be asked for.
    command = Parse({"photos", "--mode", "demo", "--mode=production", "--suffix-format=", "--no-suffix-all",
                     "--suffix-all", "--ignore-matching", "more"});
    ASSERT_EQ(command.Action, CommandAction::Run) << command.Error;
    values = SettingValues{};
    values.TypeIndex = values.RotationIndex = 1;
    values.BarcodeFormat = "XY#";
    values.SuffixFormat = "@";
    values.IgnoreMatching = false;
    batch::ApplyOverrides(command.Overrides, values);
    EXPECT_EQ(Fields(values), std::tuple(0, 1, 1, "XY#", "", true, true, true, true, false));
    EXPECT_THAT(command.Folders, ElementsAre("photos", "more"));

    // "--" lets a folder start with a dash; an option's value may.
    const BatchCommand dashes = Parse({"--format", "--x", "--", "--odd folder"});
    ASSERT_EQ(dashes.Action, CommandAction::Run) << dashes.Error;
    EXPECT_THAT(dashes.Folders, ElementsAre("--odd folder"));
    EXPECT_EQ(dashes.Overrides.BarcodeFormat, "--x");
}

TEST(BatchArgumentsTest, MistakesAreErrorsThatSayWhat) {
    const auto error = [](std::initializer_list<std::string> args) {
        const BatchCommand command = Parse(args);
        EXPECT_EQ(command.Action, CommandAction::Error);
        return command.Error;
    };
    EXPECT_THAT(error({}), HasSubstr("no folder"));
    EXPECT_THAT(error({"a", ""}), HasSubstr("empty"));
    EXPECT_THAT(error({"--colour", "red", "photos"}), HasSubstr("--colour"));
    EXPECT_THAT(error({"photos", "--format"}), HasSubstr("--format needs a value"));
    EXPECT_THAT(error({"--mode", "Demo", "photos"}), HasSubstr("production|demo"));
    EXPECT_THAT(error({"--type=close-up", "photos"}), HasSubstr("general|closeup"));
    EXPECT_THAT(error({"--orientation", "up", "photos"}), HasSubstr("horizontal|vertical"));
    EXPECT_THAT(error({"--suffix-all=1", "photos"}), HasSubstr("--suffix-all=1"));
    // The last run is undone or reported from the log: no folder.
    EXPECT_THAT(error({"--undo-last-run", "photos"}), HasSubstr("no folder is given with --undo-last-run"));
    EXPECT_THAT(error({"--report", "run.csv", "photos"}), HasSubstr("current folder, not photos"));
    EXPECT_THAT(error({"--report="}), HasSubstr("--report needs a file name"));
    EXPECT_THAT(error({"--report", "a.csv", "--undo-last-run"}), HasSubstr("cannot be given together"));
    EXPECT_THAT(error({"--list-runs", "--undo-run", "2"}), HasSubstr("cannot be given together"));
    EXPECT_THAT(error({"--undo-run", "0"}), HasSubstr("--undo-run needs a run number"));
    EXPECT_EQ(Parse({"--undo-last-run"}).Action, CommandAction::UndoLastRun);
    EXPECT_EQ(Parse({"--format=Q#", "--report", "run.csv"}).ReportFile, "run.csv");
    // A Symbiota report needs a web address, and only it takes one.
    EXPECT_THAT(error({"--report", "a.csv", "--report-style", "symbiota"}), HasSubstr("needs --url-prefix URL"));
    EXPECT_THAT(error({"--report", "a.csv", "--url-prefix", "https://x.org/"}), HasSubstr("goes with --report-style"));
    EXPECT_THAT(error({"--report", "a.csv", "--report-style=symbiota", "--url-prefix", "x.org/herbarium"}),
                HasSubstr("must start with http:// or https://"));
    EXPECT_THAT(error({"--report", "a.csv", "--report-style=symbiota", "--url-prefix", "https:///herbarium"}),
                HasSubstr("names no server"));
    EXPECT_THAT(error({"--report", "a.csv", "--report-style=symbiota", "--url-prefix", "https://x.org/my photos"}),
                HasSubstr("%20"));
    EXPECT_THAT(error({"--report-style", "symbiota", "--url-prefix=https://x.org", "photos"}),
                HasSubstr("go with --report FILE.csv"));
    EXPECT_THAT(error({"--report", "a.csv", "--report-style", "csv"}), HasSubstr("default|symbiota"));
    // A watch is of one folder, alone.
    EXPECT_THAT(error({"--watch", "a", "b"}), HasSubstr("one folder: b"));
    EXPECT_THAT(error({"--watch", "a", "--undo-last-run"}), HasSubstr("--watch cannot be given with"));
    EXPECT_THAT(error({"--report", "r.csv", "--watch", "a"}), HasSubstr("--watch cannot be given with"));
    EXPECT_THAT(error({"--watch", "a", "--settle-time", "0"}), HasSubstr("from 0.05 to 3600, not 0"));
    EXPECT_THAT(error({"--watch", "a", "--settle-time", "2s"}), HasSubstr("not 2s"));
    EXPECT_THAT(error({"a", "--settle-time", "2"}), HasSubstr("--settle-time is for --watch only"));
    const BatchCommand watch = Parse({"--settle-time=0.25", "--watch", "photos"});
    EXPECT_EQ(watch.Action, CommandAction::Watch);
    EXPECT_THAT(watch.Folders, ElementsAre("photos"));
    EXPECT_EQ(watch.SettleTime, std::chrono::milliseconds(250));
    EXPECT_EQ(Parse({"--watch", "photos"}).SettleTime, std::nullopt);
}

// Messages and prompts as printed are checked with the program below.
TEST(ConsoleFrontEndTest, ProgressLineCarriesTheImagesLogLines) {
    std::ostringstream out, progress;
    batch::ConsoleFrontEnd ui(out, &progress);
    ui.LogLineAppended("header");
    ui.ShowPhotoWindow(3);
    ui.LogLineAppended("-Renamed IMG_1.CR2 to QSZ0000001.CR2");
    ui.LogLineAppended("-Renamed IMG_1.jpg to QSZ0000001.jpg");
    ui.ImageFinished(1, 3, "IMG_1.jpg");
    ui.ImageFinished(3, 3, "IMG_3.jpg");
    EXPECT_EQ(progress.str(),
              "1/3 IMG_1.jpg: -Renamed IMG_1.CR2 to QSZ0000001.CR2 | -Renamed IMG_1.jpg to QSZ0000001.jpg\n"
              "3/3 IMG_3.jpg: (nothing logged)\n");
    EXPECT_EQ(out.str(), "");
}

// Makes folder the current one for the life of the object.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolder() { std::filesystem::current_path(previous_); }

private:
    std::filesystem::path previous_;
};

TEST(BatchCommandTest, InterruptStopsTheRunAfterTheImageInHand) {
    support::BatchRig rig;
    support::WriteBlankPhoto(rig.photos, "IMG_1.jpg", 1);
    support::WriteBlankPhoto(rig.photos, "IMG_2.jpg", 2);
    const volatile std::sig_atomic_t interrupted = 1;  // Ctrl-C pressed during the first image
    std::ostringstream out, err;
    const std::vector<std::string> args{rig.photos.path()};
    int status = -1;
    {
        const CurrentFolder current(rig.start.path());
        status = batch::RunBatchCommand(args, {out, err, nullptr, &interrupted});
    }
    // Ctrl-C answers between the scan lines: the image in hand is stopped
    // before any outcome, and nothing after it is run: the summary says so.
    EXPECT_EQ(status, batch::kExitProblems);
    EXPECT_EQ(out.str(),
              "Tagmora: Process Aborted by User\n"
              "Tagmora: No Errors encountered with 1 images.\nThe run was stopped: 1 photograph was not reached.\n"
              "Please read the log file for details.\n");
    EXPECT_THAT(rig.ImageLines(), ElementsAre("Process aborted by user"));
}

support::ProgramResult RunBatchProgram(const std::string& currentFolder, const std::vector<std::string>& args) {
    return support::RunProgram(TAGMORA_BATCH_PROGRAM, currentFolder, args);
}

// Config.txt of the current folder gives the settings, options change them
// for this run only, and the log goes to the current folder.
TEST(BatchProgramTest, RunsWithTheCurrentFoldersSettingsAndExitsZeroWhenClean) {
    support::BatchRig rig;
    support::WriteLabelPhoto(rig.photos, "IMG_1.jpg", support::Symbology::Code39, "QSZ0000001", 1);
    rig.photos.Write("IMG_1.CR2", "raw 1");
    support::WriteBlankPhoto(rig.photos, "IMG_2.jpg", 2);
    support::WriteBlankPhoto(rig.photos, "QSZ0000003.jpg", 3);
    const std::string config =
        "TGM\r\nBarcodeFormat: QSZ0######\r\nRotation: 0\r\nType: 0\r\nRenameRaw: 1\r\nRenameWO: 1\r\n"
        "SuffixFormat: ###\r\nFirstSuffix: 1\r\n";
    rig.start.Write("Config.txt", config);
    const auto before = rig.photos.Files();

    support::ProgramResult result = RunBatchProgram(rig.start.path(), {rig.photos.path(), "--mode=demo"});
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_THAT(result.out, HasSubstr("TGM:     QSZ0000001\n"));
    EXPECT_EQ(rig.photos.Files(), before);
    EXPECT_THAT(rig.Log(), HasSubstr("Demo Mode.  Processed the following files:"));

    result = RunBatchProgram(rig.start.path(), {"--no-suffix-all", rig.photos.path()});
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(result.out, "Tagmora: No Errors encountered with 2 images.\nPlease read the log file for details.\n");
    EXPECT_EQ(result.err, "");  // no progress lines when standard error is not a terminal
    // The suffix format ### came from Config.txt, Suffix All was switched off.
    EXPECT_THAT(rig.FileNames(),
                ElementsAre("QSZ0000001.CR2", "QSZ0000001.jpg", "QSZ0000001001.jpg", "QSZ0000003.jpg"));
    support::ExpectSameContentsRenamed(before, rig.photos.Files());
    EXPECT_THAT(rig.Log(), HasSubstr("\r\nDirectory = " + rig.photos.path() + "\r\n\r\n"));
    EXPECT_EQ(rig.start.Read("Config.txt"), config) << "options are never saved";
}

TEST(BatchProgramTest, ProblemImagesOrNoImageExitOne) {
    support::BatchRig rig;
    support::WriteBlankPhoto(rig.photos, "IMG_1.jpg", 1);
    support::ProgramResult result = RunBatchProgram(rig.start.path(), {rig.photos.path()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "Tagmora: 1 errors were encountered with 1 images.\nPlease read the log file for details.\n");

    // A relative folder is logged in full.
    std::filesystem::create_directory(rig.start / "photos");
    result = RunBatchProgram(rig.start.path(), {"./photos/"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "Tagmora: Unable to find any .jpg Files.\n");
    EXPECT_THAT(rig.Log(), HasSubstr("\r\nDirectory = " + rig.start.path() + "/photos\r\n\r\n"));
}

// One run per folder, as Execute pressed for each: a photograph without a
// label in the second folder never takes the number read in the first. A
// folder that cannot be read is reported and the others are still run.
TEST(BatchProgramTest, SeveralFoldersRunOneAfterAnother) {
    support::BatchRig rig;
    support::TempFolder second;
    support::WriteLabelPhoto(rig.photos, "IMG_1.jpg", support::Symbology::Code39, "QSZ0000001", 1);
    support::WriteBlankPhoto(second, "IMG_2.jpg", 2);
    support::ProgramResult result = RunBatchProgram(rig.start.path(), {rig.photos.path(), second.path()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out,
              "Tagmora: No Errors encountered with 1 images.\nPlease read the log file for details.\n"
              "Tagmora: 1 errors were encountered with 1 images.\nPlease read the log file for details.\n");
    EXPECT_TRUE(second.Exists("IMG_2.jpg"));
    EXPECT_THAT(rig.Log(), HasSubstr("Directory = " + second.path() + "\r\n\r\nNo barcode found on IMG_2.jpg\r\n"));

    result = RunBatchProgram(rig.start.path(), {rig.photos / "missing", rig.photos.path()});
    EXPECT_EQ(result.status, 2);
    EXPECT_THAT(result.err, HasSubstr("cannot read the folder"));
    EXPECT_THAT(result.out, HasSubstr("No Errors encountered with 0 images."));  // the named photograph is passed over
}

// A run reported and undone from the start folder; the undo is not undone
// twice and a report never replaces a file.
TEST(BatchProgramTest, ReportsAndUndoesTheLastRunWithoutAFolder) {
    support::BatchRig rig;
    support::WriteLabelPhoto(rig.photos, "IMG_1.jpg", support::Symbology::Code39, "QSZ0000001", 1);
    rig.photos.Write("IMG_1.CR2", "raw 1");
    support::WriteBlankPhoto(rig.photos, "IMG_2.jpg", 2);
    const auto before = rig.photos.Files();
    ASSERT_EQ(RunBatchProgram(rig.start.path(), {rig.photos.path()}).status, 0);

    support::ProgramResult result = RunBatchProgram(rig.start.path(), {"--report", "run.csv"});
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(rig.start.Read("run.csv"), "folder,original name,new name,barcode,outcome,raw files,sha256\r\n" +
                                             rig.photos.path() +
                                             ",IMG_1.jpg,QSZ0000001.jpg,QSZ0000001,read,QSZ0000001.CR2," +
                                             Sha256Hex(rig.photos.Read("QSZ0000001.jpg")) + "\r\n" + rig.photos.path() +
                                             ",IMG_2.jpg,QSZ00000011.jpg,QSZ0000001,previous barcode,," +
                                             Sha256Hex(rig.photos.Read("QSZ00000011.jpg")) + "\r\n");
    result = RunBatchProgram(rig.start.path(), {"--report", "run.csv"});
    EXPECT_EQ(result.status, 2);
    EXPECT_THAT(result.err, HasSubstr("run.csv: the file exists already"));

    // Neither a Demo/Debug run nor one that found nothing hides it from undo.
    support::TempFolder empty;
    RunBatchProgram(rig.start.path(), {"--mode=demo", rig.photos.path()});
    ASSERT_EQ(RunBatchProgram(rig.start.path(), {empty.path()}).status, 1);
    result = RunBatchProgram(rig.start.path(), {"--undo-last-run"});
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(result.out, "Tagmora: 3 renames of the last run undone.\n");
    EXPECT_EQ(rig.photos.Files(), before);
    result = RunBatchProgram(rig.start.path(), {"--list-runs"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 3) << result.out;
    for (const std::string& line :
         {std::string("1\t"), "\t" + rig.photos.path() + "\tProduction\t3 renamed\tundone\n2\t",
          std::string("\tDemo/Debug\t0 renamed\tnot undone\n3\t"),
          "\t" + empty.path() + "\tProduction\t0 renamed\tnot undone\n"})
        EXPECT_THAT(result.out, HasSubstr(line));
    result = RunBatchProgram(rig.start.path(), {"--undo-run", "1"});
    EXPECT_EQ(result.out, "Tagmora: Run 1 has been undone already.\n");
    result = RunBatchProgram(rig.start.path(), {"--undo-last-run"});
    EXPECT_EQ(result.out, "Tagmora: The last run has been undone already: there is nothing to undo.\n");
    EXPECT_EQ(rig.photos.Files(), before);
}

// The Symbiota import lists each renamed photograph once (not its raw file,
// not one left under its name) at its address; the full report carries the
// SHA-256 of each photograph still there.
TEST(BatchProgramTest, ReportsForSymbiotaAndWithChecksums) {
    support::BatchRig rig;
    support::WriteBlankPhoto(rig.photos, "A_0.jpg", 0);
    support::WriteLabelPhoto(rig.photos, "IMG_1.jpg", support::Symbology::Code39, "QSZ0000001", 1);
    rig.photos.Write("IMG_1.CR2", "raw 1");
    support::WriteBlankPhoto(rig.photos, "IMG_2.jpg", 2);
    ASSERT_EQ(RunBatchProgram(rig.start.path(), {"--suffix-format= (#)", rig.photos.path()}).status, 1);

    support::ProgramResult result =
        RunBatchProgram(rig.start.path(), {"--report", "symbiota.csv", "--report-style", "symbiota", "--url-prefix",
                                           "https://images.example.org/herbarium"});
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(rig.start.Read("symbiota.csv"),
              "catalogNumber,originalUrl\r\n"
              "QSZ0000001,https://images.example.org/herbarium/QSZ0000001.jpg\r\n"
              "QSZ0000001,https://images.example.org/herbarium/QSZ0000001%20%281%29.jpg\r\n");
    EXPECT_THAT(result.out, HasSubstr("2 renamed photographs of the last run reported in symbiota.csv"));

    std::filesystem::remove(rig.photos / "QSZ0000001 (1).jpg");
    ASSERT_EQ(RunBatchProgram(rig.start.path(), {"--report=full.csv"}).status, 0);
    const std::string full = rig.start.Read("full.csv");
    EXPECT_THAT(full, HasSubstr(",A_0.jpg,,,no barcode,," + Sha256Hex(rig.photos.Read("A_0.jpg")) + "\r\n"));
    EXPECT_THAT(full, HasSubstr(",IMG_2.jpg,QSZ0000001 (1).jpg,QSZ0000001,previous barcode,,\r\n"));
}

// The safety options reach the run: without Rename W/O Barcode a photograph
// without a label keeps its name; a whole label of another format is
// reported, not taken for none.
TEST(BatchProgramTest, WithoutRenameWOAndUnderAnotherFormatNothingIsMisnamed) {
    support::BatchRig rig;
    support::WriteLabelPhoto(rig.photos, "IMG_1.jpg", support::Symbology::Code39, "QSZ0000001", 1);
    support::WriteBlankPhoto(rig.photos, "IMG_2.jpg", 2);
    support::ProgramResult result =
        RunBatchProgram(rig.start.path(), {"--no-rename-without-barcode", rig.photos.path()});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(rig.FileNames(), ElementsAre("IMG_2.jpg", "QSZ0000001.jpg"));
    EXPECT_THAT(rig.ImageLines(), ElementsAre("-Renamed IMG_1.jpg to QSZ0000001.jpg", "No barcode found on IMG_2.jpg"));

    result = RunBatchProgram(rig.start.path(), {"--format", "XY########", "--no-deep-search", rig.photos.path()});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(rig.ImageLines(), ElementsAre("No barcode found on IMG_2.jpg",
                                              ">>>>>QSZ0000001.jpg: Found barcode QSZ0000001, but unable to match "
                                              "the format XY########"));
}

// A second run in a folder another holds is refused before it touches
// anything; the lock goes with its holder, and a lock file left behind by a
// killed run does not block.
TEST(BatchProgramTest, AFolderInUseIsRefusedBeforeAnythingIsTouched) {
    support::BatchRig rig;
    support::WriteBlankPhoto(rig.photos, "IMG_1.jpg", 1);
    const auto before = rig.photos.Files();
    {
        const FolderLock held(rig.photos.path());
        ASSERT_FALSE(held.Refused());
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{rig.photos.path()}, {"--mode=demo", rig.photos.path()}}) {
            const support::ProgramResult result = RunBatchProgram(rig.start.path(), args);
            EXPECT_EQ(result.status, 2);
            EXPECT_EQ(result.out, "Tagmora: " + FolderBusyText(rig.photos.path()) + "\n");
        }
        EXPECT_FALSE(rig.start.Exists("Tagmora.log"));
    }
    EXPECT_EQ(rig.photos.Files(), before);
    rig.photos.Write(std::string(kFolderLockName), "");
    EXPECT_EQ(RunBatchProgram(rig.start.path(), {rig.photos.path()}).status, 1);
    EXPECT_THAT(rig.FileNames(), ElementsAre("IMG_1.jpg"));
    EXPECT_THAT(rig.ImageLines(), ElementsAre("No barcode found on IMG_1.jpg"));
}

// A check reads every named photograph again and renames nothing: a label
// of another number is found, a detail photograph is fine only beside one
// that agrees, a name without a number is only listed.
TEST(BatchProgramTest, CheckFindsTheMisnamedPhotographAndRenamesNothing) {
    support::BatchRig rig;
    support::WriteLabelPhoto(rig.photos, "QSZ0000001.jpg", support::Symbology::Code39, "QSZ0000001", 1);
    support::WriteLabelPhoto(rig.photos, "QSZ0000002.jpg", support::Symbology::Code128, "QSZ0000005", 2);
    support::WriteBlankPhoto(rig.photos, "QSZ0000001a.jpg", 3);
    support::WriteBlankPhoto(rig.photos, "QSZ0000009-1.jpg", 4);
    support::WriteBlankPhoto(rig.photos, "IMG_7.jpg", 5);
    const auto before = rig.photos.Files();

    const support::ProgramResult result = RunBatchProgram(rig.start.path(), {"--check", rig.photos.path()});
    EXPECT_EQ(result.status, 1) << result.err;
    const std::string folder = rig.photos.path();
    EXPECT_EQ(result.out, "folder,file,number in name,number on label,verdict\r\n" + folder +
                              ",IMG_7.jpg,,,not a catalogue name\r\n" + folder +
                              ",QSZ0000001.jpg,QSZ0000001,QSZ0000001,agrees\r\n" + folder +
                              ",QSZ0000001a.jpg,QSZ0000001,,no label\r\n" + folder +
                              ",QSZ0000002.jpg,QSZ0000002,QSZ0000005,disagrees\r\n" + folder +
                              ",QSZ0000009-1.jpg,QSZ0000009,,\"no label, no agreeing photograph\"\r\n");
    EXPECT_EQ(rig.photos.Files(), before);
    EXPECT_FALSE(rig.start.Exists("Tagmora.log"));
}

TEST(BatchProgramTest, BadArgumentsExitTwoWithoutTouchingTheLogAndHelpZero) {
    support::BatchRig rig;
    rig.start.Write("file.jpg", "x");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{},
          {"--mode", "fast", rig.photos.path()},
          {"--bogus", rig.photos.path()},
          {rig.photos / "missing"},
          {"--watch", rig.photos / "missing"},
          {rig.start / "file.jpg"},
          {"--check"},
          {"--check", "--undo-last-run"},
          {"--check", rig.photos / "missing"},
          {"--report", "x.csv", "--report-style", "symbiota", "--url-prefix", "ftp://x.org/"}}) {
        const support::ProgramResult result = RunBatchProgram(rig.start.path(), args);
        EXPECT_EQ(result.status, 2) << (args.empty() ? "" : args.front());
        EXPECT_THAT(result.err, HasSubstr("tagmora-batch: "));
        EXPECT_EQ(result.out, "");
    }
    EXPECT_FALSE(rig.start.Exists("Tagmora.log"));
    EXPECT_FALSE(rig.start.Exists("x.csv"));

    support::ProgramResult result = RunBatchProgram(rig.start.path(), {"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_THAT(result.out, HasSubstr("Usage: tagmora-batch [options] FOLDER"));
    result = RunBatchProgram(rig.start.path(), {"--version"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "tagmora-batch " + FileVersionText() + "\n");
}

}  // namespace
}  // namespace tagmora
