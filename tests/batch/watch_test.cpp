// tagmora-batch --watch as a tethered camera feeds it: photographs written
// slowly, raw files after them, detail shots after a label, the watch ended by
// SIGTERM. Waits are bounded by the promise to rename within 5 s.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <thread>

#include "base/folder_lock.h"
#include "base/unique_fd.h"
#include "batch_fixtures.h"

namespace tagmora {
namespace {

using namespace std::chrono_literals;
using support::Symbology;
using support::TempFolder;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// True once name is in folder, false after the 5 s a rename may take.
bool AppearsInTime(const TempFolder& folder, std::string_view name) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!folder.Exists(name)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

std::string LabelPhotoBytes(std::string_view barcode, unsigned seed) {
    TempFolder scratch;
    support::WriteLabelPhoto(scratch, "label.jpg", Symbology::Code39, barcode, seed);
    return scratch.Read("label.jpg");
}

std::string BlankPhotoBytes(unsigned seed) {
    TempFolder scratch;
    support::WriteBlankPhoto(scratch, "blank.jpg", seed);
    return scratch.Read("blank.jpg");
}

// A file written through one handle, piece by piece, as a camera's transfer does.
class SlowWriter {
public:
    SlowWriter(const TempFolder& folder, std::string_view name)
        : fd_(::open((folder / name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644)) {}
    void Write(std::string_view piece) {
        ASSERT_EQ(::write(fd_.get(), piece.data(), piece.size()), ssize_t(piece.size()));
    }
    void Close() { fd_.Close(); }

private:
    UniqueFd fd_;
};

pid_t StartWatch(const support::BatchRig& rig, const std::string& settle, const std::string& out) {
    return support::StartProgram(TAGMORA_BATCH_PROGRAM, {"--watch", rig.photos.path(), "--settle-time", settle},
                                 rig.start.path(), out);
}

// The photograph already there first; one written in pieces is read only
// once closed; its raw file, arriving after it was renamed, follows it; the
// whole watch is one run, which undo takes back.
TEST(WatchTest, SlowPhotographIsReadWhenCompleteAndItsLateRawFileFollows) {
    support::BatchRig rig;
    support::WriteLabelPhoto(rig.photos, "IMG_0001.jpg", Symbology::Code39, "QSZ0000001", 1);
    const std::string photo = LabelPhotoBytes("QSZ0000002", 2);
    const std::string raw = "raw sensor data" + std::string(5000, 'r');

    TempFolder capture;
    const pid_t pid = StartWatch(rig, "1", capture / "out");
    ASSERT_TRUE(AppearsInTime(rig.photos, "QSZ0000001.jpg"));

    SlowWriter writer(rig.photos, "IMG_0002.jpg");
    for (std::size_t at = 0; at < photo.size(); at += photo.size() / 3 + 1) {
        writer.Write(std::string_view(photo).substr(at, photo.size() / 3 + 1));
        std::this_thread::sleep_for(150ms);
        EXPECT_TRUE(rig.photos.Exists("IMG_0002.jpg")) << "taken before it was complete";
    }
    writer.Close();
    ASSERT_TRUE(AppearsInTime(rig.photos, "QSZ0000002.jpg"));
    rig.photos.Write("IMG_0002.CR2", raw);
    ASSERT_TRUE(AppearsInTime(rig.photos, "QSZ0000002.CR2"));
    auto renamed = rig.photos.Files();
    renamed.erase(std::string(kFolderLockName));  // the watch's own, gone with it

    kill(pid, SIGTERM);
    EXPECT_EQ(support::WaitForExit(pid), 0);
    EXPECT_EQ(capture.Read("out"),
              "Tagmora: No Errors encountered with 2 images.\nPlease read the log file for details.\n");
    EXPECT_THAT(rig.ImageLines(),
                ElementsAre("-Renamed IMG_0001.jpg to QSZ0000001.jpg", "-Renamed IMG_0002.jpg to QSZ0000002.jpg",
                            "-Renamed IMG_0002.CR2 to QSZ0000002.CR2"));
    EXPECT_EQ(rig.photos.Files().at("QSZ0000002.CR2"), raw);

    const support::ProgramResult undo =
        support::RunProgram(TAGMORA_BATCH_PROGRAM, rig.start.path(), {"--undo-last-run"});
    EXPECT_EQ(undo.out, "Tagmora: 3 renames of the last run undone.\n");
    EXPECT_THAT(rig.FileNames(), ElementsAre("IMG_0001.jpg", "IMG_0002.CR2", "IMG_0002.jpg"));
    support::ExpectSameContentsRenamed(renamed, rig.photos.Files());
}

// A detail shot closed before the label shot named before it waits for it and
// takes its number; a file kept open counts once it stands still; a name of
// the format and the watch's own renames are never handed on.
TEST(WatchTest, DetailShotsTakeTheLabelBeforeThemInNameOrder) {
    support::BatchRig rig;
    const std::string label = LabelPhotoBytes("QSZ0000020", 20);
    TempFolder capture;
    const pid_t pid = StartWatch(rig, "0.4", capture / "out");
    std::this_thread::sleep_for(200ms);  // the watch has started

    SlowWriter labelWriter(rig.photos, "IMG_0020.jpg");
    labelWriter.Write(std::string_view(label).substr(0, label.size() / 2));
    rig.photos.Write("IMG_0021.jpg", BlankPhotoBytes(21));
    rig.photos.Write("QSZ0000099.jpg", BlankPhotoBytes(99));
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(rig.photos.Exists("IMG_0021.jpg")) << "handed on before the photograph named before it";
    labelWriter.Write(std::string_view(label).substr(label.size() / 2));
    ASSERT_TRUE(AppearsInTime(rig.photos, "QSZ0000020.jpg"));  // still open: complete by standing still
    ASSERT_TRUE(AppearsInTime(rig.photos, "QSZ00000201.jpg"));
    labelWriter.Close();
    std::this_thread::sleep_for(100ms);

    kill(pid, SIGTERM);
    EXPECT_EQ(support::WaitForExit(pid), 0);
    EXPECT_THAT(rig.FileNames(), ElementsAre("QSZ0000020.jpg", "QSZ00000201.jpg", "QSZ0000099.jpg"));
    EXPECT_THAT(rig.ImageLines(),
                ElementsAre("-Renamed IMG_0020.jpg to QSZ0000020.jpg", "-Renamed IMG_0021.jpg to QSZ00000201.jpg",
                            "IMG_0021.jpg renamed with previous barcode QSZ0000020"));
    const std::string log = rig.Log();
    EXPECT_EQ(log.find("Directory = "), log.rfind("Directory = ")) << "one header for the whole watch";
}

}  // namespace
}  // namespace tagmora
