// Broken and unusual files as a camera, a disk or another program may leave
// them: each ends as "Unable to open image." or as an ordinary outcome.
#include <gtest/gtest.h>

#include "photo/process_image.h"
#include "support/fake_front_end.h"
#include "support/jpeg_variants.h"
#include "support/temp_folder.h"

namespace tagmora {
namespace {

using testing::JpegKind;
using testing::MakeJpeg;

class BadJpegTest : public ::testing::Test {
protected:
    void SetUp() override {
        core.state.run.StartFolder = folder.path();
        core.state.run.PhotoFolder = folder.path();
        core.state.run.KeepGoing = true;
    }

    // Runs one file through the per-image entry; returns its log lines.
    std::vector<std::string> Process(const std::string& bytes) {
        folder.Write("IMG_0001.jpg", bytes);
        ProcessImage(core.ctx, "IMG_0001.jpg");
        return core.ui.logLines;
    }

    void ExpectUnableToOpen(const std::vector<std::string>& lines) {
        EXPECT_EQ(lines, std::vector<std::string>{"IMG_0001.jpg: Unable to open image."});
        EXPECT_EQ(core.state.run.ErrorCount, 1);
        EXPECT_EQ(core.ui.messages,
                  std::vector<std::string>{"Unable to open file IMG_0001.jpg. Make sure it is a valid image."});
    }

    void ExpectOrdinaryOutcome(const std::vector<std::string>& lines) {
        EXPECT_EQ(lines, std::vector<std::string>{"No barcode found on IMG_0001.jpg"});
        EXPECT_TRUE(core.ui.messages.empty());
    }

    testing::TempFolder folder;
    testing::TestCore core;
};

TEST_F(BadJpegTest, FilesThatAreNoJpegAreReportedAndCounted) {
    ExpectUnableToOpen(Process(""));
}

TEST_F(BadJpegTest, TextAndPngNamedJpgAreReportedAndCounted) {
    ExpectUnableToOpen(Process("Just some notes, not a photograph.\n"));
}

TEST_F(BadJpegTest, PngNamedJpgIsReportedAndCounted) {
    constexpr char kPngStart[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\0\0\0\0";
    ExpectUnableToOpen(Process(std::string(kPngStart, sizeof kPngStart - 1)));
}

TEST_F(BadJpegTest, HeaderCutShortIsReportedAndCounted) {
    ExpectUnableToOpen(Process(MakeJpeg(JpegKind::Grey, 64, 64).substr(0, 40)));
}

TEST_F(BadJpegTest, AHugeAnnouncedPictureIsRefusedNotAllocated) {
    ExpectUnableToOpen(Process(testing::JpegAnnouncing(65500, 65500)));
    EXPECT_LT(core.state.bitmap.Pixels.capacity(), 100u * 1000u * 1000u);
}

TEST_F(BadJpegTest, ScanDataCutShortStillEndsWithAnOutcomeLine) {
    std::string jpeg = MakeJpeg(JpegKind::Grey, 256, 256);
    std::vector<std::string> lines = Process(jpeg.substr(0, jpeg.size() / 2));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0] == "IMG_0001.jpg: Unable to open image." || lines[0] == "No barcode found on IMG_0001.jpg")
        << lines[0];
}

TEST_F(BadJpegTest, UnusualButValidJpegsAreOrdinaryImages) {
    for (JpegKind kind : {JpegKind::Grey, JpegKind::Rgb, JpegKind::Progressive, JpegKind::Arithmetic}) {
        core.ui.logLines.clear();
        ExpectOrdinaryOutcome(Process(MakeJpeg(kind, 96, 64)));
        EXPECT_EQ(core.state.bitmap.Width, 96);
        EXPECT_EQ(core.state.bitmap.Height, 64);
    }
    core.ui.logLines.clear();
    ExpectOrdinaryOutcome(Process(MakeJpeg(JpegKind::Grey, 1, 1)));
}

TEST_F(BadJpegTest, CmykPhotographEndsWithOneOutcomeLine) {
    std::vector<std::string> lines = Process(MakeJpeg(JpegKind::Cmyk, 32, 32));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_LE(core.state.run.ErrorCount, 1);
}

TEST_F(BadJpegTest, AFileRemovedBeforeItsTurnIsReportedAndTheRunGoesOn) {
    ProcessImage(core.ctx, "IMG_0009.jpg");
    EXPECT_EQ(core.ui.logLines, std::vector<std::string>{"IMG_0009.jpg: Unable to open image."});
    EXPECT_EQ(core.state.run.ErrorCount, 1);
}

}  // namespace
}  // namespace tagmora
