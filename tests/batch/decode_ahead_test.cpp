// Decoding ahead must never change what a run does: a picture decoded while
// the previous image was analysed is used only if its file is still the same
// one, and whole runs give the same log, messages and folder either way.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "app/batch_run.h"
#include "app/decode_pool.h"
#include "app/process_image.h"
#include "batch_fixtures.h"
#include "photo/jpeg_intake.h"

namespace tagmora {
namespace {

using support::BatchRig;
using support::Symbology;
using support::TempFolder;

support::SheetOptions SmallSheet(unsigned seed) { return {.width = 320, .height = 240, .seed = seed}; }

// Replaces the file under path by another one, as a program saving a new
// version does: a new file moved over the old name.
void ReplaceWithNewFile(const TempFolder& folder, const std::string& name, const WorkBitmap& picture) {
    support::WriteJpegFile(folder / ("new-" + name), picture, 85);
    ASSERT_EQ(std::rename((folder / ("new-" + name)).c_str(), (folder / name).c_str()), 0);
}

// Files replaced by a new one or written over in place are met by the runs
// below; a moved file, or one whose time alone changed, is not trusted either.
TEST(DecodeAheadTest, HandsOverThePictureOfAnUnchangedFileOnlyOnceAndForItsImage) {
    TempFolder folder;
    support::WriteJpegFile(folder / "a.jpg", support::MakeBlankSheet(SmallSheet(1)), 85);
    DecodePool ahead;
    WorkBitmap bitmap;
    EXPECT_FALSE(ahead.TakeInto(0, bitmap).has_value());  // nothing started
    ahead.Start(1, folder / "a.jpg");
    EXPECT_FALSE(ahead.TakeInto(2, bitmap).has_value());  // another image

    ahead.Start(4, folder / "a.jpg");
    ahead.WaitUntilDecoded();
    ASSERT_EQ(ahead.TakeInto(4, bitmap), JpegResult::Ok);
    WorkBitmap inTurn;
    ASSERT_EQ(LoadJpegGrey(folder / "a.jpg", inTurn), JpegResult::Ok);
    EXPECT_EQ(bitmap.Pixels, inTurn.Pixels);
    EXPECT_FALSE(ahead.TakeInto(4, bitmap).has_value());  // used up

    bitmap = WorkBitmap{};
    ahead.Start(0, folder / "a.jpg");
    ahead.WaitUntilDecoded();
    std::filesystem::rename(folder / "a.jpg", folder / "b.jpg");
    EXPECT_FALSE(ahead.TakeInto(0, bitmap).has_value());
    ahead.Start(0, folder / "b.jpg");
    ahead.WaitUntilDecoded();
    const timespec times[2] = {{0, UTIME_OMIT}, {1000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (folder / "b.jpg").c_str(), times, 0), 0);
    EXPECT_FALSE(ahead.TakeInto(0, bitmap).has_value());
    EXPECT_TRUE(bitmap.Empty());
}

// Several decodes in flight, each handed over for its own image only: a
// damaged file as the decoder's verdict, a file that is no JPEG and a file
// replaced since its decode to the decode in turn. A full pool queues nothing.
TEST(DecodeAheadTest, SeveralDecodesInFlightAreEachHandedOverForTheirOwnImage) {
    TempFolder folder;
    support::WriteJpegFile(folder / "a.jpg", support::MakeBlankSheet(SmallSheet(1)), 85);
    const std::string jpeg = support::EncodeJpeg(support::MakeBlankSheet(SmallSheet(2)), 85);
    folder.Write("half.jpg", jpeg.substr(0, jpeg.size() / 2));
    folder.Write("png.jpg", "\x89PNG\r\n\x1a\n not a jpeg");
    DecodePool pool(2);
    for (const auto& [index, name] : {std::pair{0, "a.jpg"}, {1, "half.jpg"}, {2, "png.jpg"}})
        EXPECT_TRUE(pool.Start(index, folder / name));
    EXPECT_FALSE(pool.Start(3, folder / "a.jpg"));
    pool.WaitUntilDecoded();
    WorkBitmap bitmap;
    EXPECT_EQ(pool.TakeInto(1, bitmap), JpegResult::CorruptData);
    EXPECT_FALSE(pool.TakeInto(0, bitmap).has_value());  // used up with 1
    EXPECT_TRUE(pool.Start(3, folder / "a.jpg"));
    EXPECT_TRUE(pool.Start(4, folder / "a.jpg"));
    pool.WaitUntilDecoded();
    EXPECT_FALSE(pool.TakeInto(2, bitmap).has_value());
    ReplaceWithNewFile(folder, "a.jpg", support::MakeBlankSheet(SmallSheet(3)));
    EXPECT_FALSE(pool.TakeInto(3, bitmap).has_value());
    EXPECT_TRUE(bitmap.Empty());
}

// Everything a run leaves behind that the user can see.
struct RunRecord {
    std::vector<std::string> imageLines;
    std::vector<std::string> messages;
    std::vector<std::string> prompts;
    std::vector<std::string> imageNames;
    std::map<std::string, std::string> files;
    int errors = 0;
    int processed = 0;
    friend bool operator==(const RunRecord&, const RunRecord&) = default;
};

// A folder of mixed photographs, written the same way for every run: labels
// of both symbologies, photographs without label, raw files, damaged and
// mislabelled files, and two photographs whose names differ only in case.
void WriteMixedFolder(const TempFolder& photos) {
    support::WriteBlankPhoto(photos, "IMG_0001.jpg", 1);
    support::WriteLabelPhoto(photos, "IMG_0002.jpg", Symbology::Code39, "QSZ0000002", 2);
    photos.Write("IMG_0002.CR2", "raw 2");
    support::WriteBlankPhoto(photos, "IMG_0003.jpg", 3);
    photos.Write("IMG_0003.CR2", "raw 3");
    support::WriteBlankPhoto(photos, "IMG_0004.JPG", 4);
    support::WriteBlankPhoto(photos, "IMG_0004.jpg", 5);
    support::WriteLabelPhoto(photos, "IMG_0005.jpg", Symbology::Code128, "QSZ0000005", 6);
    const std::string jpeg = support::EncodeJpeg(support::MakeBlankSheet(SmallSheet(7)), 85);
    photos.Write("IMG_0006.jpg", jpeg.substr(0, jpeg.size() / 2));
    photos.Write("IMG_0007.jpg", "\x89PNG\r\n\x1a\n not a jpeg");
    support::WriteBlankPhoto(photos, "IMG_0008.jpg", 8);
    support::WriteBlankPhoto(photos, "QSZ0000009.jpg", 9);
}

// Decoding in turn, with one worker, and with more decodes in flight than
// the machine has cores.
constexpr RunOptions kInTurn{.DecodeAhead = false};
constexpr RunOptions kAhead[] = {{.DecodeWorkers = 1}, {.DecodeWorkers = 3}};

RunRecord RecordRun(const RunOptions& options, int modeIndex,
                    const std::function<void(BatchRig&, int)>& onEvents = {}) {
    BatchRig rig;
    WriteMixedFolder(rig.photos);
    rig.core.settings().ModeIndex = modeIndex;
    rig.core.settings().SuffixFormat = "@";
    if (onEvents) rig.ui().onProcessEvents = [&rig, &onEvents](int call) { onEvents(rig, call); };
    const auto before = rig.photos.Files();
    EXPECT_NE(RunBatch(rig.ctx(), options), RunEnd::Refused);
    if (!onEvents) support::ExpectSameContentsRenamed(before, rig.photos.Files());
    return {rig.ImageLines(),   rig.ui().messages,    rig.ui().prompts,        rig.ui().imageNames,
            rig.photos.Files(), rig.run().ErrorCount, rig.run().ProcessedCount};
}

TEST(DecodeAheadRunTest, RunsAreTheSameAsDecodingInTurn) {
    const RunRecord inTurn = RecordRun(kInTurn, 0);
    for (const RunOptions& ahead : kAhead) EXPECT_EQ(RecordRun(ahead, 0), inTurn);
    // Names equal but for letter case are one name: .JPG does not take the
    // bare number beside QSZ0000002.jpg.
    EXPECT_THAT(inTurn.imageLines, ::testing::Contains("-Renamed IMG_0004.JPG to QSZ0000002b.JPG"));
    EXPECT_THAT(inTurn.imageLines, ::testing::Contains("-Renamed IMG_0004.jpg to QSZ0000002c.jpg"));
    EXPECT_TRUE(inTurn.files.contains("QSZ0000005.jpg"));
    EXPECT_TRUE(inTurn.files.contains("QSZ0000009.jpg"));
    EXPECT_EQ(inTurn.processed, 9);

    const RunRecord demoInTurn = RecordRun(kInTurn, 1);
    for (const RunOptions& ahead : kAhead) EXPECT_EQ(RecordRun(ahead, 1), demoInTurn);
    EXPECT_FALSE(demoInTurn.prompts.empty());
}

TEST(DecodeAheadRunTest, PhotographReplacedBetweenImagesIsReadAsItIsAtItsTurn) {
    // After the first image, another program saves a labelled picture over the
    // next one: a new file, then (after the second) a file written in place.
    const auto replace = [](BatchRig& rig, int call) {
        const support::SheetOptions label{.width = 1200, .height = 900, .moduleWidth = 3, .barHeight = 90, .seed = 40};
        if (call == 1)
            ReplaceWithNewFile(rig.photos, "IMG_0002.jpg", support::MakeSheet(Symbology::Code39, "QSZ0000077", label));
        if (call == 3)
            rig.photos.Write("IMG_0003.jpg",
                             support::EncodeJpeg(support::MakeSheet(Symbology::Code39, "QSZ0000088", label), 80));
    };
    const RunRecord inTurn = RecordRun(kInTurn, 0, replace);
    for (const RunOptions& ahead : kAhead) EXPECT_EQ(RecordRun(ahead, 0, replace), inTurn);
    EXPECT_THAT(inTurn.imageLines, ::testing::Contains("-Renamed IMG_0002.jpg to QSZ0000077.jpg"));
    EXPECT_THAT(inTurn.imageLines, ::testing::Contains("-Renamed IMG_0003.jpg to QSZ0000088.jpg"));
}

// Abort or Skip clicked as the first image ends, with the next images'
// decodes queued or running: the run ends as it does decoding in turn, and
// no worker is left decoding once it has returned.
TEST(DecodeAheadRunTest, RunStoppedWithDecodesInFlightEndsAsDecodingInTurn) {
    for (const auto click : {AbortClicked, SkipClicked}) {
        const auto stop = [click](BatchRig& rig, int call) {
            if (call == 1) click(rig.ctx());
        };
        const RunRecord inTurn = RecordRun(kInTurn, 0, stop);
        for (const RunOptions& ahead : kAhead) EXPECT_EQ(RecordRun(ahead, 0, stop), inTurn);
    }
}

}  // namespace
}  // namespace tagmora
