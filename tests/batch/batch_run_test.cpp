// The run behind Execute: which files are handed on, in what order, the
// counts, Skip and Abort, the messages, and the log section it writes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <regex>

#include "app/batch_run.h"
#include "app/version.h"
#include "batch_fixtures.h"
#include "photo/process_image.h"

namespace tagmora {
namespace {

using testing::BatchRig;
using testing::WriteBlankPhoto;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kNoImages = "Unable to find any .jpg Files.";
const std::string kAborted = "Process Aborted by User";

// Three photographs without label: each is handed on and logged as a problem.
struct ThreeImages : ::testing::Test {
    BatchRig rig;
    void SetUp() override {
        WriteBlankPhoto(rig.photos, "IMG_1.jpg", 1);
        WriteBlankPhoto(rig.photos, "IMG_2.jpg", 2);
        WriteBlankPhoto(rig.photos, "IMG_3.jpg", 3);
    }
    // ProcessPendingEvents runs twice after each image: the first call after
    // image n is number 2n - 1.
    void ClickAfterImage(int image, void (*click)(Context&)) {
        rig.ui().onProcessEvents = [this, image, click](int call) {
            if (call == 2 * image - 1) click(rig.ctx());
        };
    }
};

TEST(SummaryTextTest, CountsBothLinesWithCrLf) {
    EXPECT_EQ(SummaryText(0, 0), "No Errors encountered with 0 images.\r\nPlease read the log file for details.");
    EXPECT_EQ(SummaryText(0, 12), "No Errors encountered with 12 images.\r\nPlease read the log file for details.");
    EXPECT_EQ(SummaryText(3, 7), "3 errors were encountered with 7 images.\r\nPlease read the log file for details.");
}

TEST(RunHeaderTextTest, DateTimeVersionTypeAndMode) {
    setenv("TZ", "UTC", 1);
    tzset();
    std::setlocale(LC_TIME, "C");
    testing::TestCore core;
    const std::time_t when = 1704164645;  // 2024-01-02 03:04:05 UTC
    const std::string version = FileVersionText();

    EXPECT_EQ(RunHeaderText(core.ctx, when), "\r\n01/02/24, 03:04:05\r\nVersion " + version +
                                                 "\r\nProcessing General images\r\nRenamed the following files:\r\n");
    core.settings().ModeIndex = 1;
    core.settings().TypeIndex = 1;
    EXPECT_EQ(RunHeaderText(core.ctx, when),
              "\r\n01/02/24, 03:04:05\r\nVersion " + version +
                  "\r\nProcessing Close Up images\r\nDemo Mode.  Processed the following files:\r\n");
    // A type group with nothing selected runs the Close-up pipeline, and says so.
    core.settings().TypeIndex = -1;
    EXPECT_THAT(RunHeaderText(core.ctx, when), ::testing::HasSubstr("Processing Close Up images\r\n"));
}

TEST(BatchRunTest, LogSectionsOfTwoRunsFollowEachOther) {
    BatchRig rig;
    WriteBlankPhoto(rig.photos, "IMG_1.jpg", 1);
    testing::TempFolder empty;
    ASSERT_TRUE(ExecuteRun(rig.ctx()));
    rig.core.settings().PhotoFolder = empty.path();
    ASSERT_TRUE(ExecuteRun(rig.ctx()));

    const std::string header =
        "\r\n[^\r\n]+, [^\r\n]+\r\nVersion " + FileVersionText() + "\r\nProcessing General images\r\n"
        "Renamed the following files:\r\n\r\n";
    const std::regex expected(header + "Directory = " + rig.photos.path() + "\r\n\r\n" +
                              "No barcode found on IMG_1\\.jpg\r\n" + header + "Directory = " + empty.path() +
                              "\r\n\r\n");
    EXPECT_TRUE(std::regex_match(rig.Log(), expected)) << rig.Log();
    // The second run found no image: its section is over after the folder line.
    EXPECT_EQ(rig.ui().messages.back(), kNoImages);
    EXPECT_EQ(rig.ui().photoWindowShown, 1);
}

TEST(BatchRunTest, FolderWithoutImagesEndsTheRunAfterTheFolderLine) {
    BatchRig rig;
    rig.photos.Write("notes.txt", "x");
    std::filesystem::create_directory(rig.photos / "x.jpg");
    rig.photos.Write(".hidden.jpg", "x");

    EXPECT_EQ(RunBatch(rig.ctx()), RunEnd::NoImages);
    EXPECT_THAT(rig.ui().messages, ElementsAre(kNoImages));
    EXPECT_EQ(rig.ui().photoWindowShown, 0);
    EXPECT_TRUE(rig.Log().ends_with("Directory = " + rig.photos.path() + "\r\n\r\n"));
    EXPECT_FALSE(rig.run().RunInProgress);
}

TEST(BatchRunTest, FolderThatCannotBeReadOffersNoImage) {
    BatchRig rig;
    rig.core.settings().PhotoFolder = rig.photos / "gone";
    EXPECT_EQ(RunBatch(rig.ctx()), RunEnd::NoImages);
    EXPECT_THAT(rig.ui().messages, ElementsAre(kNoImages));
    EXPECT_EQ(rig.run().PhotoFolder, rig.photos / "gone");
}

TEST(BatchRunTest, FindsJpgInAnyCaseButNotFoldersOrHiddenFiles) {
    BatchRig rig;
    WriteBlankPhoto(rig.photos, "a.JPG", 1);
    WriteBlankPhoto(rig.photos, "B.jpg", 2);
    WriteBlankPhoto(rig.photos, "c.Jpg", 3);
    WriteBlankPhoto(rig.photos, ".d.jpg", 4);
    std::filesystem::create_directory(rig.photos / "x.jpg");
    rig.photos.Write("e.jpeg", "not listed");

    ASSERT_TRUE(ExecuteRun(rig.ctx()));
    // In name order, whatever the letter case: shooting order decides which
    // photograph takes the previous one's number.
    EXPECT_THAT(rig.ui().imageNames, ElementsAre("a.JPG", "B.jpg", "c.Jpg"));
    EXPECT_EQ(rig.run().ProcessedCount, 3);
}

TEST(BatchRunTest, MatchingNamesArePassedOverWhenAsked) {
    BatchRig rig;
    WriteBlankPhoto(rig.photos, "QSZ0123456.jpg", 1);
    WriteBlankPhoto(rig.photos, "QSZ0123457.JPG", 2);

    ASSERT_TRUE(ExecuteRun(rig.ctx()));
    EXPECT_EQ(rig.ui().photoWindowShown, 1);
    EXPECT_EQ(rig.ui().photoWindowHidden, 1);
    EXPECT_THAT(rig.ui().imageNames, IsEmpty());
    EXPECT_THAT(rig.ImageLines(), IsEmpty());
    EXPECT_THAT(rig.ui().messages, ElementsAre(SummaryText(0, 0)));
    EXPECT_EQ(rig.ui().messages.back(),
              "No Errors encountered with 0 images.\r\nPlease read the log file for details.");
}

TEST(BatchRunTest, MatchingNamesAreHandedOnWhenNotAsked) {
    BatchRig rig;
    WriteBlankPhoto(rig.photos, "QSZ0123456.jpg", 1);
    WriteBlankPhoto(rig.photos, "QSZ0123457.JPG", 2);
    rig.core.settings().IgnoreMatching = false;
    rig.core.settings().ModeIndex = 1;  // nothing renamed, only read

    ASSERT_TRUE(ExecuteRun(rig.ctx()));
    EXPECT_THAT(rig.ui().imageNames, ElementsAre("QSZ0123456.jpg", "QSZ0123457.JPG"));
    EXPECT_EQ(rig.run().ProcessedCount, 2);
}

TEST(BatchRunTest, NameWithSuffixDoesNotMatchAndIsHandedOnAgain) {
    BatchRig rig;
    WriteBlankPhoto(rig.photos, "QSZ0123456.jpg", 1);
    WriteBlankPhoto(rig.photos, "QSZ0123456a.jpg", 2);
    rig.core.settings().ModeIndex = 1;

    ASSERT_TRUE(ExecuteRun(rig.ctx()));
    EXPECT_THAT(rig.ui().imageNames, ElementsAre("QSZ0123456a.jpg"));
}

TEST_F(ThreeImages, CountsImagesAndProblems) {
    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_EQ(rig.run().ProcessedCount, 3);
    EXPECT_EQ(rig.run().ErrorCount, 3);
    EXPECT_EQ(rig.ui().countText, "0/3");
    EXPECT_THAT(rig.ImageLines(), ElementsAre("No barcode found on IMG_1.jpg", "No barcode found on IMG_2.jpg",
                                              "No barcode found on IMG_3.jpg"));
    EXPECT_THAT(rig.ui().messages, ElementsAre(SummaryText(3, 3)));
    EXPECT_EQ(rig.ui().eventsProcessed, 6);
    EXPECT_EQ(rig.ui().photoWindowHidden, 1);
}

TEST_F(ThreeImages, PreviousBarcodeOfAnEarlierRunStillNamesImages) {
    rig.run().LastBarcode = "QSZ0000009";
    rig.run().ErrorCount = 5;
    rig.run().ProcessedCount = 9;
    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_EQ(rig.run().ErrorCount, 0);
    EXPECT_EQ(rig.ui().countText, "3/3");
    EXPECT_EQ(rig.ImageLines().back(), "IMG_3.jpg renamed with previous barcode QSZ0000009");
    EXPECT_THAT(testing::Names(rig.photos.Files()),
                ElementsAre("QSZ0000009.jpg", "QSZ00000091.jpg", "QSZ00000092.jpg"));
}

TEST_F(ThreeImages, SkipOnTheSecondGoesOnWithTheThird) {
    ClickAfterImage(2, SkipClicked);
    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_EQ(rig.run().ProcessedCount, 3);
    EXPECT_THAT(rig.ui().imageNames, ElementsAre("IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg"));
    EXPECT_THAT(rig.ui().messages, ElementsAre("IMG_2.jpg skipped.", SummaryText(3, 3)));
    EXPECT_THAT(rig.ImageLines(),
                ElementsAre("No barcode found on IMG_1.jpg", "No barcode found on IMG_2.jpg",
                            "IMG_2.jpg skipped by user.", "No barcode found on IMG_3.jpg"));
    EXPECT_TRUE(rig.run().KeepGoing);
}

TEST_F(ThreeImages, SkipOnTheLastShowsNoAbortMessage) {
    ClickAfterImage(3, SkipClicked);
    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_THAT(rig.ui().messages, ElementsAre("IMG_3.jpg skipped.", SummaryText(3, 3)));
}

TEST_F(ThreeImages, AbortOnTheSecondHandsOnNoMore) {
    ClickAfterImage(2, AbortClicked);
    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Aborted);
    EXPECT_THAT(rig.ui().imageNames, ElementsAre("IMG_1.jpg", "IMG_2.jpg"));
    EXPECT_THAT(rig.ui().messages, ElementsAre(kAborted, SummaryText(2, 2)));
    // The click is handled after the image in hand, so its line comes after.
    EXPECT_THAT(rig.ImageLines(), ElementsAre("No barcode found on IMG_1.jpg", "No barcode found on IMG_2.jpg",
                                              "Process aborted by user"));
    EXPECT_EQ(rig.ui().photoWindowHidden, 1);
}

TEST_F(ThreeImages, CancelInTheLastImagesPausePromptStillReportsTheAbort) {
    rig.core.settings().ModeIndex = 1;
    rig.core.settings().PauseEachLine = true;
    // Every prompt is answered OK until the second image is done; then the
    // first prompt of the third image, a pause prompt, gets Cancel.
    rig.ui().onProcessEvents = [this](int call) {
        if (call == 4) rig.ui().promptAnswers.push_back(false);
    };
    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Aborted);
    EXPECT_EQ(rig.run().ProcessedCount, 3);
    EXPECT_THAT(rig.ui().messages, ElementsAre(kAborted, SummaryText(rig.run().ErrorCount, 3)));
    // The cancelled image is still logged, and no line of its own says why.
    const auto lines = rig.ImageLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_THAT(lines.back(), ::testing::HasSubstr("IMG_3.jpg"));
}

TEST_F(ThreeImages, SecondExecuteDuringARunIsRefused) {
    bool secondAccepted = true;
    std::size_t logSizeAtSecond = 0;
    rig.ui().onProcessEvents = [&](int call) {
        if (call != 1) return;
        logSizeAtSecond = rig.Log().size();
        secondAccepted = ExecuteRun(rig.ctx());
    };
    ASSERT_TRUE(ExecuteRun(rig.ctx()));
    EXPECT_FALSE(secondAccepted);
    EXPECT_EQ(rig.run().ProcessedCount, 3);
    EXPECT_EQ(rig.ui().photoWindowShown, 1);
    EXPECT_GT(logSizeAtSecond, 0u);
    EXPECT_EQ(rig.Log().find("Directory = "), rig.Log().rfind("Directory = "));
    // Once over, the next run starts normally.
    EXPECT_FALSE(rig.run().RunInProgress);
    EXPECT_TRUE(ExecuteRun(rig.ctx()));
    EXPECT_EQ(rig.ui().photoWindowShown, 2);
}

TEST(BatchRunTest, FilesRenamedDuringTheRunAreNotMetAgain) {
    BatchRig rig;
    testing::WriteLabelPhoto(rig.photos, "IMG_1.jpg", testing::Symbology::Code39, "QSZ0000001", 1);
    rig.core.settings().IgnoreMatching = false;
    const auto before = rig.photos.Files();

    ASSERT_TRUE(ExecuteRun(rig.ctx()));
    EXPECT_THAT(rig.ui().imageNames, ElementsAre("IMG_1.jpg"));
    EXPECT_EQ(rig.run().ProcessedCount, 1);
    EXPECT_THAT(testing::Names(rig.photos.Files()), ElementsAre("QSZ0000001.jpg"));
    testing::ExpectSameContentsRenamed(before, rig.photos.Files());
}

}  // namespace
}  // namespace tagmora
