#include "app/manual_rename.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <tuple>

#include "support/fake_front_end.h"
#include "support/folder_rig.h"
#include "support/synthetic_sheet.h"
#include "support/temp_folder.h"

namespace tagmora {
namespace {

using support::TempFolder;
using Lines = std::vector<std::string>;
using Files = std::map<std::string, std::string>;

// A log of two runs; the second one's outcome lines are given.
std::string LogWithLastRun(std::string_view outcomeLines, const std::string& folder = "/photos") {
    const std::string header =
        "\r\n01/02/26, 10:00:00\r\nVersion 1.0.0\r\nProcessing General images\r\n"
        "Renamed the following files:\r\n\r\nDirectory = " +
        folder + "\r\n\r\n";
    return header + "IMG_1.jpg: Unable to open image.\r\n" + header + std::string(outcomeLines);
}

TEST(ManualRenameTest, TheReviewOffersEachProblemPhotographOnceInLogOrder) {
    using Offered = std::vector<ReviewCandidate>;
    const struct {
        std::string lines;
        Offered offered;
    } cases[] = {
        {"IMG_7.jpg: Unable to open image.\r\nNo barcode found on IMG_8.jpg\r\n-Renamed IMG_9.jpg to Q.jpg\r\n",
         {{"IMG_7.jpg: Unable to open image.", "IMG_7.jpg"}, {"No barcode found on IMG_8.jpg", "IMG_8.jpg"}}},
        // Every problem form and a skip, each photograph once; good outcomes are not offered.
        {">>>>>A.jpg: Found barcode, but unable to read\r\nB.jpg:  Unable to find barcode\r\n"
         ">>>>>C.jpg: Found barcode X, but unable to match the format Q#\r\n"
         ">>>>>D.jpg found barcode, but unable to rename D.CR2\r\n>>>>>D.jpg found barcode, but unable to rename "
         "D.xmp\r\n"
         "E.jpg unable to rename to Q1a.jpg\r\nF.jpg renamed to Q1b.jpg\r\nG.jpg skipped by user.\r\n",
         {{">>>>>A.jpg: Found barcode, but unable to read", "A.jpg"},
          {"B.jpg:  Unable to find barcode", "B.jpg"},
          {">>>>>C.jpg: Found barcode X, but unable to match the format Q#", "C.jpg"},
          {">>>>>D.jpg found barcode, but unable to rename D.CR2", "D.jpg"},
          {"E.jpg unable to rename to Q1a.jpg", "E.jpg"},
          {"G.jpg skipped by user.", "G.jpg"}}},
        // Lines of other writers: any holding "unable" or "confidence", as before.
        {"a.jpg renamed b.jpg (LOW CONFIDENCE)\r\nc.txt: UNABLE\r\n../x: unable\r\n",
         {{"a.jpg renamed b.jpg (LOW CONFIDENCE)", "b.jpg (LOW CONFIDENCE)"}, {"c.txt: UNABLE", "c.txt"}}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReviewCandidates(LastLogSection(LogWithLastRun(c.lines))), c.offered) << c.lines;
    LogSection undo = LastLogSection(LogWithLastRun("No barcode found on IMG_8.jpg\r\n"));
    undo.Kind = SectionKind::Undo;
    EXPECT_TRUE(ReviewCandidates(undo).empty());
}

TEST(ManualRenameTest, NameFromLogLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"IMG_7.jpg: Unable to open image.", "IMG_7.jpg"},
        {"IMG_9.jpg:  Unable to find barcode", "IMG_9.jpg"},
        {"IMG_9.jpg unable to rename to QSZ0000002.jpg", "IMG_9.jpg"},
        {"IMG_5.jpg renamed QSZ0000001.jpg (Low confidence", "QSZ0000001.jpg"},
        {"IMG_5.jpg renamed  QSZ1.jpg confidence", " QSZ1.jpg confidence"},  // no "(Low": untrimmed
        // The General pipeline's marker is not part of the file name.
        {">>>>>IMG_4.jpg: Found barcode, but unable to read", "IMG_4.jpg"},
        {">>>>>IMG_4.jpg found barcode, but unable to rename IMG_4.CR2", "IMG_4.jpg"},
        {">>>>>IMG_4.jpg: Found barcode AB1, but unable to match the format QSZ0######", "IMG_4.jpg"},
        {"No barcode found on IMG 8.jpg", "IMG 8.jpg"},
        {"Low confidence somewhere", ""},  // no "amed "
        {"", ""},
        {">>>>>: unable", ""},
        // An edited log must not lead the rename out of the photo folder.
        {"../Config.txt: Unable to open image.", ""},
        {"..: Unable to open image.", ""},
        {"x renamed sub/QSZ1.jpg (Low confidence", ""},
    };
    for (const auto& [line, name] : cases) EXPECT_EQ(NameFromLogLine(line), name) << line;
}

TEST(ManualRenameTest, ZoomRectangle) {
    const struct {
        std::int32_t bitmapWidth, bitmapHeight, viewWidth, viewHeight, x, y;
        PixelRect shown;
    } cases[] = {
        // 2000 x 1500 in 601 x 444.
        {2000, 1500, 601, 444, 595, 222, {1400, 450, 2000, 1050}},  // rightmost 600 columns
        {2000, 1500, 601, 444, 0, 443, {0, 900, 600, 1500}},
        {2000, 1500, 601, 444, 2, 1, {0, 0, 600, 600}},
        // In proportion, also for a view larger than the bitmap.
        {1201, 887, 601, 444, 600, 100, {601, 0, 1201, 600}},
        {1000, 800, 2000, 1600, 1000, 800, {200, 100, 800, 700}},
        // A bitmap smaller than the square: pushed in at the top left first,
        // then the bottom right wins.
        {400, 300, 601, 444, 300, 200, {-200, -300, 400, 300}},
        {400, 300, 0, 0, 1, 1, {0, 0, 400, 300}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ZoomRectangle(c.bitmapWidth, c.bitmapHeight, c.viewWidth, c.viewHeight, c.x, c.y), c.shown);

    bool zoomed = false;
    EXPECT_EQ(PressOnView(zoomed, 2000, 1500, 601, 444, 595, 222), (PixelRect{1400, 450, 2000, 1050}));
    EXPECT_TRUE(zoomed);
    EXPECT_EQ(PressOnView(zoomed, 2000, 1500, 601, 444, 10, 10), (PixelRect{0, 0, 2000, 1500}));
    EXPECT_FALSE(zoomed);
}

TEST(ManualRenameTest, RenamesThePhotographAndItsRawFileAndNeverReplacesAFile) {
    const struct {
        const char* taken;
        const char* typed;
        bool renamed;
        Files after;
    } cases[] = {
        {nullptr, "QSZ1.jpg", true, {{"QSZ1.jpg", "photo"}, {"QSZ1.CR2", "raw"}}},
        {nullptr, "QSZ1.JPG", true, {{"QSZ1.JPG", "photo"}, {"QSZ1.CR2", "raw"}}},
        // Without ".jpg" the raw file's new name is the photograph's: taken, so it stays.
        {nullptr, "QSZ1", true, {{"QSZ1", "photo"}, {"IMG_7.CR2", "raw"}}},
        {"QSZ1.jpg", "QSZ1.jpg", false, {{"IMG_7.jpg", "photo"}, {"IMG_7.CR2", "raw"}, {"QSZ1.jpg", "taken"}}},
        {"QSZ1.CR2", "QSZ1.jpg", true, {{"QSZ1.jpg", "photo"}, {"IMG_7.CR2", "raw"}, {"QSZ1.CR2", "taken"}}},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        folder.Write("IMG_7.jpg", "photo");
        folder.Write("IMG_7.CR2", "raw");
        if (c.taken) folder.Write(c.taken, "taken");
        EXPECT_EQ(ManualRenameFiles(folder.path(), "IMG_7.jpg", c.typed), c.renamed) << c.typed;
        EXPECT_EQ(folder.Files(), c.after) << c.typed;
    }
}

TEST(ManualRenameTest, NamesThatLeaveTheFolderAreRefusedAndTheFolderNameIsNeverRewritten) {
    TempFolder root;
    std::filesystem::create_directories(root / "day.jpg/sub");
    std::filesystem::create_directory(root / "day.CR2");
    const std::string photos = root / "day.jpg";
    root.Write("day.jpg/IMG_1.jpg", "photo");
    root.Write("day.jpg/IMG_1.CR2", "raw");
    root.Write("day.CR2/IMG_1.CR2", "someone else's raw");
    using namespace std::string_view_literals;
    for (std::string_view typed : {""sv, "."sv, ".."sv, "sub/QSZ1.jpg"sv, "../QSZ1.jpg"sv, "a\0b.jpg"sv})
        EXPECT_FALSE(ManualRenameFiles(photos, "IMG_1.jpg", typed)) << typed;
    EXPECT_FALSE(ManualRenameFiles(photos, "MISSING.jpg", "QSZ1.jpg"));
    EXPECT_TRUE(std::filesystem::is_empty(root / "day.jpg/sub"));

    // ".jpg" in the folder's own name is left alone when the raw name is made.
    ASSERT_TRUE(ManualRenameFiles(photos, "IMG_1.jpg", "QSZ1.jpg"));
    EXPECT_EQ(root.Read("day.jpg/QSZ1.CR2"), "raw");
    EXPECT_EQ(root.Read("day.CR2/IMG_1.CR2"), "someone else's raw");
}

TEST(ManualRenameTest, ATypedNameIsMadeReadyOrRefusedWithItsReason) {
    TempFolder folder;
    folder.Write("QSZ1.jpg", "taken");
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"QSZ2", "QSZ2.jpg", ""},
        {" QSZ2.JPG\t", "QSZ2.JPG", ""},
        {"QSZ2.", "QSZ2.jpg", ""},
        {".QSZ2", ".QSZ2.jpg", ""},
        {"QSZ2.tif", "QSZ2.tif", ""},
        {"QSZ1", "QSZ1.jpg", "QSZ1.jpg is already taken."},
        {"  ", "", "The new name is empty."},
        {"sub/QSZ2", "sub/QSZ2.jpg", "The new name may not contain /."},
    };
    for (const auto& [typed, name, refusal] : cases) {
        const NameCheck check = CheckTypedName(folder.path(), typed);
        EXPECT_EQ(check.Refusal, refusal) << typed;
        if (!*refusal) {
            EXPECT_EQ(check.Name, name) << typed;
        }
    }
}

TEST(ManualRenameTest, EveryManualRenameIsALogLineOfItsOwn) {
    support::FolderRig rig;
    rig.photos.Write("IMG_7.jpg", "photo");
    rig.photos.Write("IMG_7.CR2", "raw");
    EXPECT_EQ(ManualRename(rig.ctx(), rig.photos.path(), "IMG_7.jpg", "IMG_7"), "IMG_7.jpg is already taken.");
    EXPECT_EQ(ManualRename(rig.ctx(), rig.photos.path(), "IMG_8.jpg", "QSZ1"), "Unable to rename file.");
    EXPECT_EQ(ManualRename(rig.ctx(), rig.photos.path(), "IMG_7.jpg", "QSZ1"), "");
    EXPECT_EQ(rig.photos.Files(), (Files{{"QSZ1.jpg", "photo"}, {"QSZ1.CR2", "raw"}}));
    EXPECT_EQ(rig.Log(), "-Manually renamed IMG_7.jpg to QSZ1.jpg\r\n-Manually renamed IMG_7.CR2 to QSZ1.CR2\r\n");
}

TEST(ManualRenameTest, TheReviewOffersEachProblemPhotographStillThereAndEndsWithComplete) {
    TempFolder start, photos;
    support::TestCore core;
    core.state.run.StartFolder = start.path();
    core.settings().PhotoFolder = start.path();  // the folder list elsewhere: the run's folder counts
    Lines offered;                               // line, name and the width of the picture in the bitmap
    const auto review = [&] {
        RunManualReview(core.ctx, [&](const ReviewItem& item) {
            EXPECT_EQ(item.Folder, photos.path());
            offered.push_back(item.Line + " | " + item.Name + " | " + std::to_string(core.state.bitmap.Width) + " | " +
                              std::to_string(item.Position) + " of " + std::to_string(item.Count));
        });
    };
    review();  // no log: said so, no "Complete"
    EXPECT_EQ(core.ui.messages, Lines{"Unable to open file: " + (start / "Tagmora.log")});
    core.state.run.RunInProgress = true;  // opened from the menu during a run
    review();
    EXPECT_EQ(core.ui.messages.back(), kReviewDuringRunMessage);
    core.state.run.RunInProgress = false;

    start.Write("Tagmora.log", LogWithLastRun("", photos.path()));
    review();
    EXPECT_EQ(core.ui.messages.back(), "Complete");

    for (const auto& [name, width] : {std::pair{"IMG_7.jpg", 40}, std::pair{"IMG_9.jpg", 56}}) {
        WorkBitmap bitmap;
        bitmap.Resize(width, 30);
        support::WriteJpegFile(photos / name, bitmap, 90);
    }
    photos.Write("IMG_3.jpg", "not a JPEG");
    start.Write("Tagmora.log", LogWithLastRun("IMG_7.jpg: Unable to open image.\r\nNo barcode found on IMG_8.jpg\r\n"
                                              "IMG_3.jpg: Unable to open image.\r\nIMG_2.jpg: Unable to open image.\r\n"
                                              ">>>>>IMG_9.jpg: Found barcode, but unable to read\r\n",
                                              photos.path()));
    core.ui.messages.clear();
    review();
    // A photograph that does not decode is offered without a picture; the
    // ones gone are not counted among those offered.
    EXPECT_EQ(offered, (Lines{"IMG_7.jpg: Unable to open image. | IMG_7.jpg | 40 | 1 of 3",
                              "IMG_3.jpg: Unable to open image. | IMG_3.jpg | 0 | 2 of 3",
                              ">>>>>IMG_9.jpg: Found barcode, but unable to read | IMG_9.jpg | 56 | 3 of 3"}));
    EXPECT_EQ(core.ui.messages, (Lines{"Passed over, no longer in " + photos.path() +
                                           " under the name the log gives:\r\n"
                                           "IMG_8.jpg\r\nIMG_2.jpg",
                                       "Complete"}));
}

}  // namespace
}  // namespace tagmora
