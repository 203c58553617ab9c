// Faults of the machine in the middle of a run: a photo folder that may not
// be written, a log that cannot be written, files taken away by someone else.
// Each is reported where it happens, counted where problems count, and the run
// goes on; nothing else changes.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/batch_run.h"
#include "batch_fixtures.h"

namespace tagmora::support {
namespace {

constexpr uid_t kNobody = 65534;

TEST(FileSafetyTest, APhotoFolderThatMayNotBeWrittenIsReportedImageByImage) {
    BatchRig rig;
    WriteLabelPhoto(rig.photos, "IMG_0001.jpg", Symbology::Code39, "QSZ0300001", 1);
    rig.photos.Write("IMG_0001.CR2", "raw of the first");
    WriteBlankPhoto(rig.photos, "IMG_0002.jpg", 2);
    const auto before = rig.photos.Files();
    // Permissions do not bind root: run the batch as an ordinary user.
    ::chmod(rig.start.path().c_str(), 0777);
    ::chmod(rig.photos.path().c_str(), 0555);
    for (const auto& [name, content] : before) ::chmod((rig.photos / name).c_str(), 0644);

    pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(3);
        ExecuteRun(rig.ctx());
        std::ofstream out(rig.start / "messages.txt");
        for (const std::string& message : rig.ui().messages) out << message << "\n--\n";
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    EXPECT_EQ(rig.photos.Files(), before);
    EXPECT_EQ(rig.ImageLines(),
              (std::vector<std::string>{">>>>>IMG_0001.jpg found barcode, but unable to rename IMG_0001.jpg",
                                        ">>>>>IMG_0001.jpg found barcode, but unable to rename IMG_0001.CR2",
                                        ">>>>>IMG_0002.jpg found barcode, but unable to rename IMG_0002.jpg",
                                        "IMG_0002.jpg renamed with previous barcode QSZ0300001"}));
}

TEST(FileSafetyTest, ALogThatCannotBeWrittenIsReportedAndTheRunStillRenames) {
    BatchRig rig;
    WriteLabelPhoto(rig.photos, "IMG_0001.jpg", Symbology::Code39, "QSZ0300002", 3);
    std::filesystem::create_directory(rig.start / "Tagmora.log");
    ExecuteRun(rig.ctx());

    EXPECT_TRUE(rig.photos.Exists("QSZ0300002.jpg"));
    const std::string cannotWrite = "Unable to create or open file " + (rig.start / "Tagmora.log");
    // Header, folder line, the rename line: each entry told once, then the summary.
    EXPECT_EQ(rig.ui().messages, (std::vector<std::string>{
                                     cannotWrite, cannotWrite, cannotWrite,
                                     "No Errors encountered with 1 images.\r\nPlease read the log file for details."}));
    EXPECT_TRUE(std::filesystem::is_directory(rig.start / "Tagmora.log"));
}

TEST(FileSafetyTest, FilesTakenAwayDuringTheRunAreReportedAndTheOthersStillRenamed) {
    BatchRig rig;
    WriteLabelPhoto(rig.photos, "IMG_0001.jpg", Symbology::Code39, "QSZ0300011", 4);
    WriteLabelPhoto(rig.photos, "IMG_0002.jpg", Symbology::Code39, "QSZ0300012", 5);
    WriteLabelPhoto(rig.photos, "IMG_0003.jpg", Symbology::Code39, "QSZ0300013", 6);
    WriteLabelPhoto(rig.photos, "IMG_0004.jpg", Symbology::Code39, "QSZ0300014", 7);
    const std::string third = rig.photos.Read("IMG_0003.jpg");
    // Someone else's program moves two files away while the first is read.
    rig.ui().onProcessEvents = [&](int call) {
        if (call != 1) return;
        std::filesystem::rename(rig.photos / "IMG_0003.jpg", rig.photos / "elsewhere.dat");
        std::filesystem::remove(rig.photos / "IMG_0004.jpg");
    };
    ExecuteRun(rig.ctx());

    EXPECT_EQ(
        rig.ImageLines(),
        (std::vector<std::string>{"-Renamed IMG_0001.jpg to QSZ0300011.jpg", "-Renamed IMG_0002.jpg to QSZ0300012.jpg",
                                  "IMG_0003.jpg: Unable to open image.", "IMG_0004.jpg: Unable to open image."}));
    EXPECT_EQ(rig.run().ErrorCount, 2);
    EXPECT_EQ(rig.run().ProcessedCount, 4);
    EXPECT_EQ(rig.photos.Read("elsewhere.dat"), third);
    EXPECT_EQ(rig.photos.Files().size(), 3u);
}

TEST(FileSafetyTest, PhotographsWhoseNameHoldsALineBreakArePassedOverWithOneMessage) {
    BatchRig rig;
    WriteLabelPhoto(rig.photos, "IMG_0001.jpg", Symbology::Code39, "QSZ0300021", 8);
    WriteLabelPhoto(rig.photos, "IMG\n0002.jpg", Symbology::Code39, "QSZ0300022", 9);
    WriteLabelPhoto(rig.photos, "IMG_0003.jpg", Symbology::Code39, "QSZ0300023", 10);
    // A companion with a line break is not renamed along with its photograph.
    rig.photos.Write("IMG_0003.x\ny", "companion");
    ExecuteRun(rig.ctx());

    EXPECT_EQ(rig.ui().messages.front(),
              "Passed over \"IMG\\n0002.jpg\": a file name with a line break cannot be logged.");
    EXPECT_EQ(rig.run().ProcessedCount, 2);
    EXPECT_TRUE(rig.photos.Exists("IMG\n0002.jpg"));
    EXPECT_TRUE(rig.photos.Exists("IMG_0003.x\ny"));
    EXPECT_EQ(rig.ImageLines(), (std::vector<std::string>{"-Renamed IMG_0001.jpg to QSZ0300021.jpg",
                                                          "-Renamed IMG_0003.jpg to QSZ0300023.jpg"}));
}

}  // namespace
}  // namespace tagmora::support
