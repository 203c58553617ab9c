#include "app/manual_rename.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "support/fake_front_end.h"
#include "support/synthetic_sheet.h"
#include "support/temp_folder.h"

namespace tagmora {
namespace {

using testing::TempFolder;
using testing::TestCore;
using Lines = std::vector<std::string>;

// A log of two runs; the second one's outcome lines are given.
std::string LogWithLastRun(std::string_view outcomeLines) {
    std::string log =
        "\r\n01/02/26, 10:00:00\r\nVersion 1.0.0\r\nProcessing General images\r\nRenamed the following files:\r\n"
        "\r\nDirectory = /old\r\n\r\nIMG_1.jpg: Unable to open image.\r\n"
        "\r\n01/02/26, 11:00:00\r\nVersion 1.0.0\r\nProcessing General images\r\nRenamed the following files:\r\n"
        "\r\nDirectory = /new\r\n\r\n";
    return log + std::string(outcomeLines);
}

TEST(ReviewLinesTest, OffersOnlyTheLastRunsLinesWithUnableOrConfidence) {
    const Lines lines = ReviewLines(LogWithLastRun("IMG_7.jpg: Unable to open image.\r\nNo barcode found on IMG_8.jpg\r\n"));
    ASSERT_EQ(lines, Lines{"IMG_7.jpg: Unable to open image."});
    EXPECT_EQ(NameFromLogLine(lines[0]), "IMG_7.jpg");

    EXPECT_EQ(ReviewLines(LogWithLastRun("a.jpg renamed b.jpg (LOW CONFIDENCE)\r\nc.jpg: UNABLE\r\nd.jpg renamed e.jpg")),
              (Lines{"a.jpg renamed b.jpg (LOW CONFIDENCE)", "c.jpg: UNABLE"}));
    // The last line counts even without its line end.
    EXPECT_EQ(ReviewLines(LogWithLastRun("x.jpg renamed y.jpg\r\nz.jpg:  Unable to find barcode")),
              Lines{"z.jpg:  Unable to find barcode"});
}

TEST(ReviewLinesTest, ARunThatFoundNoImageOffersNothing) {
    EXPECT_TRUE(ReviewLines(LogWithLastRun("")).empty());
    EXPECT_TRUE(ReviewLines("").empty());
}

TEST(NameFromLogLineTest, TakesTheNameEachLineFormCarries) {
    EXPECT_EQ(NameFromLogLine("IMG_9.jpg:  Unable to find barcode"), "IMG_9.jpg");
    EXPECT_EQ(NameFromLogLine("IMG_9.jpg unable to rename to QSZ0000002.jpg"), "IMG_9.jpg");
    EXPECT_EQ(NameFromLogLine("IMG_5.jpg renamed QSZ0000001.jpg (Low confidence"), "QSZ0000001.jpg");
    // The General pipeline's marker is not part of the file name.
    EXPECT_EQ(NameFromLogLine(">>>>>IMG_4.jpg: Found barcode, but unable to read"), "IMG_4.jpg");
    EXPECT_EQ(NameFromLogLine(">>>>>IMG_4.jpg found barcode, but unable to rename file."), "IMG_4.jpg");
    EXPECT_EQ(NameFromLogLine(">>>>>IMG_4.jpg found barcode, but unable to rename IMG_4.CR2"), "IMG_4.jpg");
}

TEST(NameFromLogLineTest, LinesNamingNothingUsableGiveNoName) {
    EXPECT_EQ(NameFromLogLine("Low confidence somewhere"), "");  // no "amed "
    EXPECT_EQ(NameFromLogLine(""), "");
    EXPECT_EQ(NameFromLogLine(">>>>>: unable"), "");
    // An edited log must not lead the rename out of the photo folder.
    EXPECT_EQ(NameFromLogLine("../Config.txt: Unable to open image."), "");
    EXPECT_EQ(NameFromLogLine("..: Unable to open image."), "");
    EXPECT_EQ(NameFromLogLine("x renamed sub/QSZ1.jpg (Low confidence"), "");
}

TEST(ZoomRectangleTest, ClickNearTheRightEdgeShowsTheRightmostColumns) {
    // 2000 x 1500 in 601 x 444: both factors are 3.
    EXPECT_EQ(ZoomRectangle(2000, 1500, 601, 444, 595, 222), (ZoomRect{1400, 366, 2000, 966}));
    EXPECT_EQ(ZoomRectangle(2000, 1500, 601, 444, 0, 443), (ZoomRect{0, 900, 600, 1500}));
    EXPECT_EQ(ZoomRectangle(2000, 1500, 601, 444, 2, 1), (ZoomRect{0, 0, 600, 600}));
}

TEST(ZoomRectangleTest, FactorsAreTruncatedNotRounded) {
    // 1201 / 601 is 1.998 and counts as 1: the right edge click lands at 600.
    EXPECT_EQ(ZoomRectangle(1201, 887, 601, 444, 600, 100), (ZoomRect{300, 0, 900, 600}));
}

TEST(ZoomRectangleTest, ASmallBitmapKeepsItsFarEdgesInView) {
    // The top (left) is pushed in first, then the bottom (right) wins.
    EXPECT_EQ(ZoomRectangle(400, 300, 601, 444, 300, 200), (ZoomRect{-200, -300, 400, 300}));
    EXPECT_EQ(ZoomRectangle(400, 300, 0, 0, 1, 1), (ZoomRect{0, 0, 400, 300}));
}

class ManualRenameFilesTest : public ::testing::Test {
protected:
    TempFolder folder;
    void SetUp() override {
        folder.Write("IMG_7.jpg", "photo");
        folder.Write("IMG_7.CR2", "raw");
    }
};

TEST_F(ManualRenameFilesTest, RenamesThePhotographAndItsRawFile) {
    ASSERT_TRUE(ManualRenameFiles(folder.path(), "IMG_7.jpg", "QSZ0001234.jpg"));
    EXPECT_EQ(folder.Files(), (std::map<std::string, std::string>{{"QSZ0001234.jpg", "photo"}, {"QSZ0001234.CR2", "raw"}}));
}

TEST_F(ManualRenameFilesTest, ATypedUpperCaseExtensionStillGivesTheRawFileItsName) {
    ASSERT_TRUE(ManualRenameFiles(folder.path(), "IMG_7.jpg", "QSZ0001234.JPG"));
    EXPECT_EQ(folder.Files(), (std::map<std::string, std::string>{{"QSZ0001234.JPG", "photo"}, {"QSZ0001234.CR2", "raw"}}));
}

TEST_F(ManualRenameFilesTest, ANameWithoutJpgLeavesTheRawFileAsItWas) {
    ASSERT_TRUE(ManualRenameFiles(folder.path(), "IMG_7.jpg", "QSZ0001234"));
    // The raw file's new name is the photograph's: taken, so it stays.
    EXPECT_EQ(folder.Files(), (std::map<std::string, std::string>{{"QSZ0001234", "photo"}, {"IMG_7.CR2", "raw"}}));
}

TEST_F(ManualRenameFilesTest, NeverReplacesAnExistingFile) {
    folder.Write("QSZ0001234.jpg", "other photo");
    EXPECT_FALSE(ManualRenameFiles(folder.path(), "IMG_7.jpg", "QSZ0001234.jpg"));
    EXPECT_EQ(folder.Read("QSZ0001234.jpg"), "other photo");
    EXPECT_EQ(folder.Read("IMG_7.jpg"), "photo");
    EXPECT_EQ(folder.Read("IMG_7.CR2"), "raw");

    // A raw name that is taken keeps both raw files; the photograph still moves.
    folder.Write("QSZ0005555.CR2", "other raw");
    EXPECT_TRUE(ManualRenameFiles(folder.path(), "IMG_7.jpg", "QSZ0005555.jpg"));
    EXPECT_EQ(folder.Read("QSZ0005555.jpg"), "photo");
    EXPECT_EQ(folder.Read("QSZ0005555.CR2"), "other raw");
    EXPECT_EQ(folder.Read("IMG_7.CR2"), "raw");
}

TEST_F(ManualRenameFilesTest, NamesThatLeaveTheFolderAreRefused) {
    std::filesystem::create_directory(folder / "sub");
    using namespace std::string_view_literals;
    for (std::string_view typed : {""sv, "."sv, ".."sv, "sub/QSZ1.jpg"sv, "../QSZ1.jpg"sv, "a\0b.jpg"sv})
        EXPECT_FALSE(ManualRenameFiles(folder.path(), "IMG_7.jpg", typed)) << typed;
    EXPECT_FALSE(ManualRenameFiles(folder.path(), "MISSING.jpg", "QSZ1.jpg"));
    EXPECT_EQ(folder.Files().size(), 2u);
    EXPECT_TRUE(folder.Exists("IMG_7.jpg"));
    EXPECT_TRUE(std::filesystem::is_empty(folder / "sub"));
}

TEST(ManualRenameFilesFolderTest, AFolderNamedLikeAPhotographIsNotRewritten) {
    TempFolder root;
    std::filesystem::create_directory(root / "day.jpg");
    std::filesystem::create_directory(root / "day.CR2");
    const std::string photos = root / "day.jpg";
    std::ofstream(photos + "/IMG_1.jpg") << "photo";
    std::ofstream(photos + "/IMG_1.CR2") << "raw";
    std::ofstream(root / "day.CR2" + "/IMG_1.CR2") << "someone else's raw";
    ASSERT_TRUE(ManualRenameFiles(photos, "IMG_1.jpg", "QSZ1.jpg"));
    EXPECT_TRUE(std::filesystem::exists(photos + "/QSZ1.CR2"));
    EXPECT_TRUE(std::filesystem::exists(root / "day.CR2" + "/IMG_1.CR2"));
}

// The review with a recording front end: what is offered and what is said.
class ManualReviewTest : public ::testing::Test {
protected:
    TempFolder start;
    TempFolder photos;
    TestCore core;
    std::vector<ReviewItem> offered;
    std::vector<std::int32_t> offeredWidths;

    void SetUp() override {
        core.state.run.StartFolder = start.path();
        core.settings().PhotoFolder = photos.path();
    }
    void WritePhoto(const std::string& name, std::int32_t width) {
        WorkBitmap bitmap;
        bitmap.Resize(width, 30);
        for (std::size_t i = 0; i < bitmap.Pixels.size(); ++i) bitmap.Pixels[i] = static_cast<std::uint8_t>(i * 7);
        testing::WriteJpegFile(photos / name, bitmap, 90);
    }
    void Review() {
        RunManualReview(core.ctx, [&](const ReviewItem& item) {
            offered.push_back(item);
            offeredWidths.push_back(core.state.bitmap.Width);
        });
    }
};

TEST_F(ManualReviewTest, OffersEachProblemImageThatOpensAndEndsWithComplete) {
    WritePhoto("IMG_7.jpg", 40);
    WritePhoto("IMG_9.jpg", 56);
    photos.Write("IMG_3.jpg", "not a JPEG");
    start.Write("Tagmora.log", LogWithLastRun("IMG_7.jpg: Unable to open image.\r\n"
                                              "No barcode found on IMG_8.jpg\r\n"
                                              "IMG_3.jpg: Unable to open image.\r\n"
                                              "IMG_2.jpg: Unable to open image.\r\n"
                                              ">>>>>IMG_9.jpg: Found barcode, but unable to read\r\n"));
    Review();
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0].Name, "IMG_7.jpg");
    EXPECT_EQ(offered[0].Line, "IMG_7.jpg: Unable to open image.");
    EXPECT_EQ(offered[0].Folder, photos.path());
    EXPECT_EQ(offered[1].Name, "IMG_9.jpg");
    EXPECT_EQ(offeredWidths, (std::vector<std::int32_t>{40, 56}));
    EXPECT_EQ(core.ui.messages, (Lines{"Unable to open file " + (photos / "IMG_3.jpg"),
                                       "Unable to open file " + (photos / "IMG_2.jpg"), "Complete"}));
}

TEST_F(ManualReviewTest, AnEmptyLastSectionSaysCompleteAtOnce) {
    start.Write("Tagmora.log", LogWithLastRun(""));
    Review();
    EXPECT_TRUE(offered.empty());
    EXPECT_EQ(core.ui.messages, Lines{"Complete"});
}

TEST_F(ManualReviewTest, AMissingLogIsReportedAndTheProgramGoesOn) {
    Review();
    EXPECT_TRUE(offered.empty());
    EXPECT_EQ(core.ui.messages, Lines{"Unable to open file: " + (start / "Tagmora.log")});
}

}  // namespace
}  // namespace tagmora
