#include "app/process_image.h"

#include <gtest/gtest.h>

#include "app/context.h"
#include "support/folder_rig.h"
#include "support/jpeg_variants.h"
#include "support/synthetic_sheet.h"

namespace tagmora {
namespace {

using Lines = std::vector<std::string>;

struct ProcessImageTest : ::testing::Test, support::FolderRig {
    void SetUp() override {
        support::WriteJpegFile(photos / "IMG_2.jpg", support::MakeBlankSheet({.width = 300, .height = 200}), 85);
    }
};

// An unreadable file is one problem image: the user is told, the log keeps it
// for review, and the next photograph is still processed.
TEST_F(ProcessImageTest, AFileThatCannotBeReadIsLoggedAndTheRunGoesOn) {
    photos.Write("text.jpg", "This is not a photograph.");
    photos.Write("huge.jpg", support::JpegAnnouncing(65500, 65500));
    for (const char* name : {"text.jpg", "huge.jpg", "gone.jpg"}) ProcessImage(core.ctx, name);
    EXPECT_EQ(core.ui.messages, (Lines{"Unable to open file text.jpg. Make sure it is a valid image.",
                                       "Unable to open file huge.jpg. Make sure it is a valid image.",
                                       "Unable to open file gone.jpg. Make sure it is a valid image."}));
    EXPECT_EQ(start.Read("Tagmora.log"),
              "text.jpg: Unable to open image.\r\nhuge.jpg: Unable to open image.\r\n"
              "gone.jpg: Unable to open image.\r\n");
    EXPECT_EQ(core.state.run.ErrorCount, 3);
    EXPECT_EQ(core.ui.picturesShown, 0);

    ProcessImage(core.ctx, "IMG_2.jpg");
    EXPECT_EQ(core.state.run.CurrentImage, "IMG_2.jpg");
    EXPECT_EQ(core.ui.picturesShown, 1);
    EXPECT_EQ(core.ui.logLines.back(), "No barcode found on IMG_2.jpg");
    EXPECT_EQ(core.state.run.ErrorCount, 4);
}

// A truncated JPEG is told like any unreadable one, not only logged.
TEST_F(ProcessImageTest, DamagedImageDataIsLoggedAndTold) {
    const std::string jpeg = photos.Read("IMG_2.jpg");
    photos.Write("IMG_3.jpg", jpeg.substr(0, jpeg.size() / 2));
    ProcessImage(core.ctx, "IMG_3.jpg");
    EXPECT_EQ(core.ui.messages, (Lines{"Unable to open file IMG_3.jpg. Make sure it is a valid image."}));
    EXPECT_EQ(core.ui.imageNames, (Lines{"IMG_3.jpg"}));
    EXPECT_EQ(core.ui.logLines, (Lines{"IMG_3.jpg: Unable to open image."}));
    EXPECT_EQ(core.state.run.ErrorCount, 1);
    EXPECT_EQ(core.ui.picturesShown, 0);
}

TEST_F(ProcessImageTest, TheTypeSettingChoosesThePipeline) {
    core.settings().TypeIndex = 1;
    ProcessImage(core.ctx, "IMG_2.jpg");
    EXPECT_EQ(core.ui.imageNames, (Lines{"IMG_2.jpg"}));
    EXPECT_EQ(core.ui.logLines, (Lines{"IMG_2.jpg:  Unable to find barcode"}));
}

// Both buttons act when the driver next processes events; an Abort (or a
// Cancel, which stops the run without a line) stands against a Skip.
TEST_F(ProcessImageTest, AbortAndSkipStopTheRunAndAnAbortStands) {
    RunState& run = core.state.run;
    run.CurrentImage = "IMG_4.jpg";
    SkipClicked(core.ctx);
    EXPECT_FALSE(run.KeepGoing);
    EXPECT_TRUE(run.SkipRequested);
    AbortClicked(core.ctx);  // after a Skip
    EXPECT_FALSE(run.SkipRequested);
    SkipClicked(core.ctx);  // after an Abort
    EXPECT_FALSE(run.SkipRequested);

    run.KeepGoing = false;  // a Cancel
    SkipClicked(core.ctx);
    EXPECT_FALSE(run.KeepGoing);
    EXPECT_FALSE(run.SkipRequested);
    EXPECT_EQ(core.ui.logLines, (Lines{"IMG_4.jpg skipped by user.", "Process aborted by user"}));
    EXPECT_EQ(run.ErrorCount, 0);
}

}  // namespace
}  // namespace tagmora
