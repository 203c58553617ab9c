#include "photo/process_image.h"

#include <gtest/gtest.h>

#include "app/context.h"
#include "support/fake_front_end.h"
#include "support/synthetic_sheet.h"
#include "support/temp_folder.h"

namespace tagmora {
namespace {

using testing::TempFolder;
using testing::TestCore;
using Lines = std::vector<std::string>;

struct ProcessImageTest : ::testing::Test {
    TempFolder photos;
    TempFolder start;
    TestCore core;

    void SetUp() override {
        core.state.run.PhotoFolder = photos.path();
        core.state.run.StartFolder = start.path();
        core.state.run.KeepGoing = true;
        testing::SheetOptions blank;
        blank.width = 300;
        blank.height = 200;
        testing::WriteJpegFile(photos / "IMG_2.jpg", testing::MakeBlankSheet(blank), 85);
    }
};

// An unreadable file is one problem image: the user is told, the log keeps it
// for review, and the next photograph is still processed.
TEST_F(ProcessImageTest, AFileThatIsNoJpegIsLoggedAndTheRunGoesOn) {
    photos.Write("IMG_1.jpg", "This is not a photograph.");
    ProcessImage(core.ctx, "IMG_1.jpg");
    ProcessImage(core.ctx, "gone.jpg");
    EXPECT_EQ(core.ui.messages, (Lines{"Unable to open file IMG_1.jpg. Make sure it is a valid image.",
                                       "Unable to open file gone.jpg. Make sure it is a valid image."}));
    EXPECT_EQ(core.ui.logLines, (Lines{"IMG_1.jpg: Unable to open image.", "gone.jpg: Unable to open image."}));
    EXPECT_EQ(core.state.run.ErrorCount, 2);
    EXPECT_EQ(core.ui.picturesShown, 0);
    EXPECT_EQ(start.Read("Tagmora.log"), "IMG_1.jpg: Unable to open image.\r\ngone.jpg: Unable to open image.\r\n");

    ProcessImage(core.ctx, "IMG_2.jpg");
    EXPECT_EQ(core.state.run.CurrentImage, "IMG_2.jpg");
    EXPECT_EQ(core.ui.picturesShown, 1);
    EXPECT_EQ(core.ui.logLines.back(), "No barcode found on IMG_2.jpg");
    EXPECT_EQ(core.state.run.ErrorCount, 3);
    EXPECT_EQ(core.ui.messages.size(), 2u);
}

TEST_F(ProcessImageTest, DamagedImageDataIsLoggedWithoutAMessage) {
    const std::string jpeg = photos.Read("IMG_2.jpg");
    photos.Write("IMG_3.jpg", jpeg.substr(0, jpeg.size() / 2));
    ProcessImage(core.ctx, "IMG_3.jpg");
    EXPECT_TRUE(core.ui.messages.empty());
    EXPECT_EQ(core.ui.imageNames, (Lines{"IMG_3.jpg"}));
    EXPECT_EQ(core.ui.logLines, (Lines{"IMG_3.jpg: Unable to open image."}));
    EXPECT_EQ(core.state.run.ErrorCount, 1);
    EXPECT_EQ(core.ui.picturesShown, 0);
}

TEST_F(ProcessImageTest, TheTypeSettingChoosesThePipeline) {
    core.settings().TypeIndex = 1;
    ProcessImage(core.ctx, "IMG_2.jpg");
    EXPECT_EQ(core.ui.imageNames, (Lines{"IMG_2.jpg"}));
    EXPECT_EQ(core.state.bitmap.Width, 300);
    ASSERT_EQ(core.ui.logLines.size(), 1u);
    EXPECT_EQ(core.ui.logLines[0], "IMG_2.jpg:  Unable to find barcode");
}

TEST_F(ProcessImageTest, AbortAndSkipStopTheRunAndSayWhy) {
    core.state.run.CurrentImage = "IMG_4.jpg";
    SkipClicked(core.ctx);
    EXPECT_FALSE(core.state.run.KeepGoing);
    EXPECT_TRUE(core.state.run.SkipRequested);
    core.state.run.KeepGoing = true;
    core.state.run.SkipRequested = false;
    AbortClicked(core.ctx);
    EXPECT_FALSE(core.state.run.KeepGoing);
    EXPECT_FALSE(core.state.run.SkipRequested);
    EXPECT_EQ(core.ui.logLines, (Lines{"IMG_4.jpg skipped by user.", "Process aborted by user"}));
    EXPECT_EQ(core.state.run.ErrorCount, 0);
}

TEST_F(ProcessImageTest, AnAbortStandsWhateverIsClickedWithIt) {
    core.state.run.CurrentImage = "IMG_4.jpg";
    AbortClicked(core.ctx);
    SkipClicked(core.ctx);
    EXPECT_FALSE(core.state.run.KeepGoing);
    EXPECT_FALSE(core.state.run.SkipRequested);

    core.state.run.KeepGoing = true;
    SkipClicked(core.ctx);
    AbortClicked(core.ctx);
    EXPECT_FALSE(core.state.run.SkipRequested);

    // Cancel in a prompt stops the run like Abort, without a line of its own.
    core.state.run.KeepGoing = false;
    SkipClicked(core.ctx);
    EXPECT_FALSE(core.state.run.SkipRequested);
    EXPECT_EQ(core.ui.logLines,
              (Lines{"Process aborted by user", "IMG_4.jpg skipped by user.", "Process aborted by user"}));
}

}  // namespace
}  // namespace tagmora
