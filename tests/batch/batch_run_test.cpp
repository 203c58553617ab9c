// The run behind Execute: which files are handed on, in what order, the
// counts, Skip and Abort, the messages, and the log section it writes.
#include "app/batch_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <regex>

#include "app/process_image.h"
#include "base/version.h"
#include "batch_fixtures.h"

namespace tagmora {
namespace {

using support::BatchRig;
using support::WriteBlankPhoto;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using Lines = std::vector<std::string>;

const std::string kNoImages = "Unable to find any .jpg Files.";
const std::string kAborted = "Process Aborted by User";

TEST(SummaryTextTest, CountsBothLinesWithCrLf) {
    EXPECT_EQ(SummaryText(0, 12), "No Errors encountered with 12 images.\r\nPlease read the log file for details.");
    EXPECT_EQ(SummaryText(3, 7), "3 errors were encountered with 7 images.\r\nPlease read the log file for details.");
}

TEST(RunHeaderTextTest, DateTimeVersionTypeAndMode) {
    setenv("TZ", "UTC", 1);
    tzset();
    std::setlocale(LC_TIME, "C");
    support::TestCore core;
    const std::time_t when = 1704164645;  // 2024-01-02 03:04:05 UTC
    const std::string start = "\r\n01/02/24, 03:04:05\r\nVersion " + FileVersionText();

    EXPECT_EQ(RunHeaderText(core.ctx, when),
              start + "\r\nProcessing General images\r\nRenamed the following files:\r\n");
    core.settings().ModeIndex = 1;
    core.settings().TypeIndex = 1;
    EXPECT_EQ(RunHeaderText(core.ctx, when),
              start + "\r\nProcessing Close Up images\r\nDemo Mode.  Processed the following files:\r\n");
    // A type group with nothing selected runs the Close-up pipeline, and says so.
    core.settings().TypeIndex = -1;
    EXPECT_THAT(RunHeaderText(core.ctx, when), ::testing::HasSubstr("Processing Close Up images\r\n"));
}

// A run that finds no image ends after the folder line, without photo window
// or summary; so does one over a folder that cannot be read.
TEST(BatchRunTest, LogSectionsOfTwoRunsFollowEachOther) {
    BatchRig rig;
    WriteBlankPhoto(rig.photos, "IMG_1.jpg", 1);
    support::TempFolder empty;
    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    rig.core.settings().PhotoFolder = empty.path();
    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::NoImages);

    const std::string header = "\r\n[^\r\n]+, [^\r\n]+\r\nVersion " + FileVersionText() +
                               "\r\nProcessing General images\r\n"
                               "Renamed the following files:\r\n\r\n";
    const std::regex expected(header + "Directory = " + rig.photos.path() + "\r\n\r\n" +
                              "No barcode found on IMG_1\\.jpg\r\n" + header + "Directory = " + empty.path() +
                              "\r\n\r\n");
    EXPECT_TRUE(std::regex_match(rig.Log(), expected)) << rig.Log();
    EXPECT_THAT(rig.ui().messages, ElementsAre(SummaryText(1, 1), kNoImages));
    EXPECT_EQ(rig.ui().photoWindowShown, 1);

    rig.core.settings().PhotoFolder = rig.photos / "gone";
    EXPECT_EQ(RunBatch(rig.ctx()), RunEnd::NoImages);
    EXPECT_EQ(rig.ui().messages.back(), kNoImages);
    EXPECT_TRUE(rig.Log().ends_with("Directory = " + rig.photos / "gone" + "\r\n\r\n"));
    EXPECT_FALSE(rig.run().RunInProgress);
}

TEST(BatchRunTest, FindsJpgInAnyCaseButNotFoldersOrHiddenFiles) {
    BatchRig rig;
    WriteBlankPhoto(rig.photos, "c.Jpg", 3);
    WriteBlankPhoto(rig.photos, "a.JPG", 1);
    WriteBlankPhoto(rig.photos, "B.jpg", 2);
    WriteBlankPhoto(rig.photos, ".d.jpg", 4);
    std::filesystem::create_directory(rig.photos / "x.jpg");
    rig.photos.Write("e.jpeg", "not listed");

    ASSERT_TRUE(ExecuteRun(rig.ctx()));
    // In name order, whatever the letter case: shooting order decides which
    // photograph takes the previous one's number.
    EXPECT_THAT(rig.ui().imageNames, ElementsAre("a.JPG", "B.jpg", "c.Jpg"));
    EXPECT_EQ(rig.run().ProcessedCount, 3);
}

// "Ignore if matches Format String": names that already are a catalogue
// number are passed over (nothing shown, logged or counted); a suffixed name
// does not match and is handed on again.
TEST(BatchRunTest, MatchingNamesArePassedOverOnlyWhenAsked) {
    const struct {
        bool ignore;
        Lines handedOn;
    } cases[] = {{true, {"QSZ0123456a.jpg"}}, {false, {"QSZ0123456.jpg", "QSZ0123456a.jpg", "QSZ0123457.JPG"}}};
    for (const auto& c : cases) {
        BatchRig rig;
        WriteBlankPhoto(rig.photos, "QSZ0123456.jpg", 1);
        WriteBlankPhoto(rig.photos, "QSZ0123456a.jpg", 2);
        WriteBlankPhoto(rig.photos, "QSZ0123457.JPG", 3);
        rig.core.settings().IgnoreMatching = c.ignore;
        rig.core.settings().ModeIndex = 1;  // read only, nothing renamed

        ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
        EXPECT_THAT(rig.ui().imageNames, ElementsAreArray(c.handedOn));
        EXPECT_EQ(rig.run().ProcessedCount, static_cast<int>(c.handedOn.size()));
    }
    // All passed over: the photo window still comes and goes.
    BatchRig rig;
    WriteBlankPhoto(rig.photos, "QSZ0123456.jpg", 1);
    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_EQ(rig.ui().photoWindowHidden, 1);
    EXPECT_THAT(rig.ImageLines(), IsEmpty());
    EXPECT_THAT(rig.ui().messages,
                ElementsAre("No Errors encountered with 0 images.\r\nPlease read the log file for details."));
}

// Three photographs without label: each is handed on and logged as a problem.
void WriteThreeBlankPhotos(const support::TempFolder& photos) {
    for (unsigned n = 1; n <= 3; ++n) WriteBlankPhoto(photos, "IMG_" + std::to_string(n) + ".jpg", n);
}

struct ThreeImages : ::testing::Test {
    BatchRig rig;
    void SetUp() override { WriteThreeBlankPhotos(rig.photos); }
};

TEST_F(ThreeImages, CountsImagesAndProblems) {
    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_EQ(rig.run().ProcessedCount, 3);
    EXPECT_EQ(rig.run().ErrorCount, 3);
    EXPECT_EQ(rig.ui().countText, "0/3");
    EXPECT_THAT(rig.ImageLines(), ElementsAre("No barcode found on IMG_1.jpg", "No barcode found on IMG_2.jpg",
                                              "No barcode found on IMG_3.jpg"));
    EXPECT_THAT(rig.ui().messages, ElementsAre(SummaryText(3, 3)));
    EXPECT_EQ(rig.ui().eventsProcessed, 6);  // twice after each image
    EXPECT_EQ(rig.ui().photoWindowHidden, 1);
}

// The counts start again, and so does the previous barcode: a label read in
// an earlier run, even a Demo/Debug one over another folder, never names the
// photographs of this one, in either pipeline.
TEST_F(ThreeImages, ARunStartsWithNoPreviousBarcode) {
    support::TempFolder other;
    support::WriteLabelPhoto(other, "IMG_0.jpg", support::Symbology::Code39, "QSZ0000009", 9);
    rig.core.settings().ModeIndex = 1;
    rig.core.settings().PhotoFolder = other.path();
    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_EQ(rig.run().LastBarcode, "QSZ0000009");

    rig.core.settings().ModeIndex = 0;
    rig.core.settings().PhotoFolder = rig.photos.path();
    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_EQ(rig.run().ErrorCount, 3);
    EXPECT_EQ(rig.ui().countText, "0/3");
    EXPECT_EQ(rig.ImageLines().back(), "No barcode found on IMG_3.jpg");

    rig.core.state.closeUp.CloseUpLastBarcode = "QSZ0000009";
    rig.core.state.closeUp.CloseUpSuffix = "c";
    rig.core.settings().TypeIndex = 1;
    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_EQ(rig.ImageLines().back(), "IMG_3.jpg:  Unable to find barcode");
    EXPECT_EQ(rig.core.state.closeUp.CloseUpSuffix, "a");
    EXPECT_THAT(rig.FileNames(), ElementsAre("IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg"));
}

// A click made during image n acts at the first event processing after it:
// its line follows the image's own.
TEST(BatchRunTest, SkipGoesOnWithTheNextImageAndAbortHandsOnNoMore) {
    const std::string one = "No barcode found on IMG_1.jpg", two = "No barcode found on IMG_2.jpg",
                      three = "No barcode found on IMG_3.jpg";
    const struct {
        int image;
        void (*click)(Context&);
        RunEnd end;
        Lines messages;
        Lines lines;
    } cases[] = {
        {2,
         SkipClicked,
         RunEnd::Completed,
         {"IMG_2.jpg skipped.",
          "3 errors were encountered with 3 images.\r\n1 photograph was skipped: IMG_2.jpg.\r\n"
          "Please read the log file for details."},
         {one, two, "IMG_2.jpg skipped by user.", three}},
        {3,
         SkipClicked,
         RunEnd::Completed,
         {"IMG_3.jpg skipped.",
          "3 errors were encountered with 3 images.\r\n1 photograph was skipped: IMG_3.jpg.\r\n"
          "Please read the log file for details."},
         {one, two, three, "IMG_3.jpg skipped by user."}},
        // The name passed over as already of the format's shape is not counted as unreached.
        {1,
         AbortClicked,
         RunEnd::Aborted,
         {kAborted,
          "1 errors were encountered with 1 images.\r\nThe run was stopped: 2 photographs were not "
          "reached.\r\nPlease read the log file for details."},
         {one, "Process aborted by user"}},
        {2,
         AbortClicked,
         RunEnd::Aborted,
         {kAborted,
          "2 errors were encountered with 2 images.\r\nThe run was stopped: 1 photograph was not "
          "reached.\r\nPlease read the log file for details."},
         {one, two, "Process aborted by user"}},
    };
    for (const auto& c : cases) {
        BatchRig rig;
        WriteThreeBlankPhotos(rig.photos);
        WriteBlankPhoto(rig.photos, "QSZ0000009.jpg", 9);
        rig.ui().onProcessEvents = [&](int call) {
            if (call == 2 * c.image - 1) c.click(rig.ctx());
        };
        EXPECT_EQ(RunBatch(rig.ctx()), c.end);
        EXPECT_EQ(rig.ui().messages, c.messages);
        EXPECT_EQ(rig.ImageLines(), c.lines);
        EXPECT_EQ(rig.run().KeepGoing, c.end == RunEnd::Completed);
        EXPECT_EQ(rig.ui().photoWindowHidden, 1);
    }
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
    EXPECT_THAT(rig.ui().messages, ElementsAre(kAborted,
                                               "2 errors were encountered with 3 images.\r\nThe run was "
                                               "stopped after its last photograph.\r\nPlease read the log "
                                               "file for details."));
    // The image stopped part-way has no outcome; no line of its own says why.
    EXPECT_THAT(rig.ImageLines().back(), ::testing::HasSubstr("IMG_2.jpg"));
    EXPECT_EQ(rig.run().ErrorCount, 2);
}

TEST_F(ThreeImages, SecondExecuteDuringARunIsRefused) {
    bool secondAccepted = true;
    rig.ui().onProcessEvents = [&](int call) {
        if (call == 1) secondAccepted = ExecuteRun(rig.ctx());
    };
    ASSERT_TRUE(ExecuteRun(rig.ctx()));
    EXPECT_FALSE(secondAccepted);
    EXPECT_EQ(rig.run().ProcessedCount, 3);
    EXPECT_EQ(rig.ui().photoWindowShown, 1);
    EXPECT_EQ(rig.Log().find("Directory = "), rig.Log().rfind("Directory = "));
    // Once over, the next run starts normally.
    EXPECT_TRUE(ExecuteRun(rig.ctx()));
    EXPECT_EQ(rig.ui().photoWindowShown, 2);
}

}  // namespace
}  // namespace tagmora
