#include "app/undo_run.h"

#include <gtest/gtest.h>

#include "app/batch_run.h"
#include "base/folder_lock.h"
#include "support/fake_front_end.h"
#include "support/temp_folder.h"

namespace tagmora {
namespace {

using support::TempFolder;
using Files = std::map<std::string, std::string>;
using Texts = std::vector<std::string>;

std::string RunSection(std::string_view modeLine, const std::string& folder, std::string_view lines,
                       std::string_view when = "01/02/26, 10:00:00") {
    return "\r\n" + std::string(when) + "\r\nVersion 1.0.0\r\nProcessing General images\r\n" + std::string(modeLine) +
           "\r\n\r\nDirectory = " + folder + "\r\n\r\n" + std::string(lines);
}

struct UndoRig {
    TempFolder start, photos;
    support::TestCore core;
    UndoRig() { core.state.run.StartFolder = start.path(); }
    UndoEnd Undo() { return UndoLastRun(core.ctx, nullptr); }
};

// Renames taken back newest first (a chain of renames of one file unwinds in
// order), those that cannot be are listed and left, and the undo's own
// section means a second undo does nothing.
TEST(UndoRunTest, TakesBackEveryRenameOfTheLastRunNewestFirst) {
    UndoRig rig;
    rig.photos.Write("QSZ9.jpg", "photo 1");
    rig.photos.Write("QSZ9.CR2", "raw 1");
    rig.photos.Write("QSZ1a.jpg", "photo 2");
    rig.photos.Write("IMG_3.jpg", "someone's new photo");  // the old name taken meanwhile
    rig.photos.Write("QSZ3.jpg", "photo 3");
    const std::string log = RunSection("Renamed the following files:", rig.photos.path(), "") +
                            RunSection("Renamed the following files:", rig.photos.path(),
                                       "-Renamed IMG_1.CR2 to QSZ1.CR2\r\n-Renamed IMG_1.jpg to QSZ1.jpg\r\n"
                                       "IMG_2.jpg renamed QSZ1a.jpg\r\n"
                                       "IMG_3.jpg renamed to QSZ3.jpg\r\n"
                                       "IMG_4.jpg renamed QSZ4.jpg\r\n"  // gone since
                                       "No barcode found on IMG_5.jpg\r\n"
                                       "-Manually renamed QSZ1.jpg to QSZ9.jpg\r\n"
                                       "-Manually renamed QSZ1.CR2 to QSZ9.CR2\r\n");
    rig.start.Write("Tagmora.log", log);
    int asked = 0;
    EXPECT_EQ(UndoLastRun(rig.core.ctx,
                          [&](const UndoPlan& plan) {
                              ++asked;
                              return plan.Moves.size() == 7 && plan.Folder == rig.photos.path();
                          }),
              UndoEnd::Partly);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(rig.photos.Files(), (Files{{"IMG_1.jpg", "photo 1"},
                                         {"IMG_1.CR2", "raw 1"},
                                         {"IMG_2.jpg", "photo 2"},
                                         {"IMG_3.jpg", "someone's new photo"},
                                         {"QSZ3.jpg", "photo 3"}}));
    EXPECT_EQ(rig.core.ui.messages, Texts{"5 renames of the last run undone.\r\n2 left as they are:\r\n"
                                          "QSZ4.jpg not renamed back to IMG_4.jpg: QSZ4.jpg is no longer there\r\n"
                                          "QSZ3.jpg not renamed back to IMG_3.jpg: IMG_3.jpg is taken"});
    const std::string undoSection = rig.start.Read("Tagmora.log").substr(log.size());
    EXPECT_NE(undoSection.find("\r\nUndo of run 2 of 01/02/26, 10:00:00:\r\n\r\nDirectory = " + rig.photos.path() +
                               "\r\n\r\n"
                               "-Renamed QSZ9.CR2 to QSZ1.CR2\r\n-Renamed QSZ9.jpg to QSZ1.jpg\r\n"
                               "Not undone: QSZ4.jpg"),
              std::string::npos)
        << undoSection;

    rig.core.ui.messages.clear();
    EXPECT_EQ(rig.Undo(), UndoEnd::NothingToDo);
    EXPECT_EQ(rig.core.ui.messages, Texts{"The last run has been undone already: there is nothing to undo."});
    EXPECT_EQ(rig.photos.Files().size(), 5u);
}

// A Demo/Debug run or one that renamed nothing does not hide the run before
// it; the history lists every run and which were undone.
TEST(UndoRunTest, UndoReachesTheLastRunThatRenamedAndTheHistoryListsAll) {
    UndoRig rig;
    rig.photos.Write("QSZ1.jpg", "photo 1");
    const std::string folder = rig.photos.path();
    rig.start.Write(
        "Tagmora.log",
        RunSection("Renamed the following files:", folder, "IMG_1.jpg renamed QSZ1.jpg\r\n") +
            // Started within the same second as the first.
            RunSection("Demo Mode.  Processed the following files:", folder, "QSZ1.jpg found Barcode: QSZ1\r\n") +
            RunSection("Renamed the following files:", folder, "", "01/02/26, 10:06:00"));
    {
        // Not while another run works in the folder.
        const FolderLock held(folder);
        EXPECT_EQ(rig.Undo(), UndoEnd::Busy);
        EXPECT_EQ(rig.core.ui.messages, Texts{FolderBusyText(folder)});
        rig.core.ui.messages.clear();
    }
    EXPECT_EQ(rig.Undo(), UndoEnd::Done);
    EXPECT_EQ(rig.photos.Files(), (Files{{"IMG_1.jpg", "photo 1"}}));
    Texts history;
    for (const RunEntry& run : RunHistory(rig.start.Read("Tagmora.log"))) history.push_back(RunEntryText(run));
    EXPECT_EQ(history, (Texts{"1\t01/02/26, 10:00:00\t" + folder + "\tProduction\t1 renamed\tundone",
                              "2\t01/02/26, 10:00:00\t" + folder + "\tDemo/Debug\t0 renamed\tnot undone",
                              "3\t01/02/26, 10:06:00\t" + folder + "\tProduction\t0 renamed\tnot undone"}));
    for (int number : {0, 1, 2, 4}) EXPECT_EQ(UndoRun(rig.core.ctx, number, nullptr), UndoEnd::NothingToDo);
    EXPECT_EQ(
        rig.core.ui.messages,
        (Texts{"1 renames of the last run undone.", "The last run has been undone already: there is nothing to undo.",
               "Run 1 has been undone already.", "Run 2 renamed nothing: there is nothing to undo.",
               "The log holds no run 4."}));
}

TEST(UndoRunTest, RunsWithoutRenamesHaveNothingToUndo) {
    const struct {
        std::string log;
        const char* message;
    } cases[] = {
        {RunSection("Demo Mode.  Processed the following files:", "/p", "IMG_1.jpg found Barcode: QSZ1\r\n"),
         "The last run was a Demo/Debug run and renamed nothing: there is nothing to undo."},
        {RunSection("Renamed the following files:", "/p", "No barcode found on IMG_1.jpg\r\n"),
         "The last run renamed nothing: there is nothing to undo."},
        {"-Renamed IMG_1.jpg to QSZ1.jpg\r\n", "The end of the log is not a run that can be undone."},
    };
    for (const auto& c : cases) {
        const UndoPlan plan = PlanUndo(c.log);
        EXPECT_TRUE(plan.Moves.empty()) << c.log;
        EXPECT_EQ(plan.Refusal, c.message);
    }
    UndoRig rig;
    EXPECT_EQ(rig.Undo(), UndoEnd::NoLog);
    EXPECT_EQ(rig.core.ui.messages, Texts{"Unable to open file: " + (rig.start / "Tagmora.log")});
    EXPECT_FALSE(rig.start.Exists("Tagmora.log"));
}

}  // namespace
}  // namespace tagmora
