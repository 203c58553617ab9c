// Whole runs over folders of generated photographs: the names the files end
// up with, the log lines, and that every file is still there, whole, only
// under its new name.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "app/batch_run.h"
#include "batch_fixtures.h"

namespace tagmora {
namespace {

using testing::BatchRig;
using testing::Names;
using testing::Symbology;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// One specimen photographed three times, the label in view only the first
// time, with raw files beside the first two.
void WriteSpecimenShots(const testing::TempFolder& photos) {
    testing::WriteLabelPhoto(photos, "IMG_0001.jpg", Symbology::Code39, "QSZ0000001", 1);
    photos.Write("IMG_0001.CR2", "raw 1");
    testing::WriteBlankPhoto(photos, "IMG_0002.jpg", 2);
    photos.Write("IMG_0002.CR2", "raw 2");
    testing::WriteBlankPhoto(photos, "IMG_0003.jpg", 3);
}

struct SuffixCase {
    std::string format;
    bool suffixAll;
    std::vector<std::string> names;  // the folder afterwards, sorted
};

class SuffixRunTest : public ::testing::TestWithParam<SuffixCase> {};

TEST_P(SuffixRunTest, FurtherShotsTakeTheFirstFreeSuffix) {
    const SuffixCase& c = GetParam();
    BatchRig rig;
    WriteSpecimenShots(rig.photos);
    rig.core.settings().SuffixFormat = c.format;
    rig.core.settings().SuffixAll = c.suffixAll;
    const auto before = rig.photos.Files();

    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_EQ(rig.run().ErrorCount, 0);
    EXPECT_THAT(Names(rig.photos.Files()), ElementsAreArray(c.names));
    testing::ExpectSameContentsRenamed(before, rig.photos.Files());
    // Raw file and photograph of one shot stay together.
    const auto files = rig.photos.Files();
    for (const auto& [name, content] : files) {
        if (content == "raw 2") {
            EXPECT_TRUE(files.contains(name.substr(0, name.size() - 4) + ".jpg")) << name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    SuffixFormats, SuffixRunTest,
    ::testing::Values(
        SuffixCase{"@", false,
                   {"QSZ0000001.CR2", "QSZ0000001.jpg", "QSZ0000001a.CR2", "QSZ0000001a.jpg", "QSZ0000001b.jpg"}},
        SuffixCase{"###", false,
                   {"QSZ0000001.CR2", "QSZ0000001.jpg", "QSZ0000001001.CR2", "QSZ0000001001.jpg", "QSZ0000001002.jpg"}},
        SuffixCase{"-#", false,
                   {"QSZ0000001-1.CR2", "QSZ0000001-1.jpg", "QSZ0000001-2.jpg", "QSZ0000001.CR2", "QSZ0000001.jpg"}},
        SuffixCase{"", false,
                   {"QSZ0000001.CR2", "QSZ0000001.jpg", "QSZ00000011.CR2", "QSZ00000011.jpg", "QSZ00000012.jpg"}},
        SuffixCase{"@", true,
                   {"QSZ0000001a.CR2", "QSZ0000001a.jpg", "QSZ0000001b.CR2", "QSZ0000001b.jpg", "QSZ0000001c.jpg"}}));

TEST(EndToEndTest, ProductionLogTellsEveryRename) {
    BatchRig rig;
    WriteSpecimenShots(rig.photos);
    testing::WriteLabelPhoto(rig.photos, "IMG_0004.jpg", Symbology::Code128, "QSZ0000004", 4);
    rig.core.settings().SuffixFormat = "@";
    const auto before = rig.photos.Files();

    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_THAT(rig.ImageLines(),
                ElementsAre("-Renamed IMG_0001.CR2 to QSZ0000001.CR2", "-Renamed IMG_0001.jpg to QSZ0000001.jpg",
                            "-Renamed IMG_0002.CR2 to QSZ0000001a.CR2", "-Renamed IMG_0002.jpg to QSZ0000001a.jpg",
                            "IMG_0002.jpg renamed with previous barcode QSZ0000001",
                            "-Renamed IMG_0003.jpg to QSZ0000001b.jpg",
                            "IMG_0003.jpg renamed with previous barcode QSZ0000001",
                            "-Renamed IMG_0004.jpg to QSZ0000004.jpg"));
    EXPECT_EQ(rig.ui().countText, "4/4");
    EXPECT_EQ(rig.run().LastBarcode, "QSZ0000004");
    testing::ExpectSameContentsRenamed(before, rig.photos.Files());
}

TEST(EndToEndTest, WithoutRawRenamingOnlyTheReadPhotographMoves) {
    BatchRig rig;
    WriteSpecimenShots(rig.photos);
    testing::WriteLabelPhoto(rig.photos, "IMG_0004.JPG", Symbology::Code39, "QSZ0000004", 4);
    rig.core.settings().RenameRaw = false;
    rig.core.settings().SuffixFormat = "@";
    const auto before = rig.photos.Files();

    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    // A photograph without label still takes its companions along, each to
    // the first name free for it: the second shot's raw file gets the bare
    // number the first shot's raw file kept away from.
    EXPECT_THAT(Names(rig.photos.Files()), ElementsAre("IMG_0001.CR2", "QSZ0000001.CR2", "QSZ0000001.jpg",
                                                       "QSZ0000001a.jpg", "QSZ0000001b.jpg", "QSZ0000004.jpg"));
    EXPECT_EQ(rig.photos.Read("QSZ0000001.CR2"), "raw 2");
    EXPECT_EQ(rig.ImageLines().front(), "IMG_0001.jpg renamed QSZ0000001.jpg");
    EXPECT_EQ(rig.ImageLines().back(), "IMG_0004.JPG renamed QSZ0000004.jpg");
    testing::ExpectSameContentsRenamed(before, rig.photos.Files());
}

TEST(EndToEndTest, NoLabelBeforeAnyBarcodeIsAProblemAndStaysPut) {
    BatchRig rig;
    testing::WriteBlankPhoto(rig.photos, "IMG_0001.jpg", 1);
    testing::WriteLabelPhoto(rig.photos, "IMG_0002.jpg", Symbology::Code39, "QSZ0000002", 2);
    const auto before = rig.photos.Files();

    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_THAT(Names(rig.photos.Files()), ElementsAre("IMG_0001.jpg", "QSZ0000002.jpg"));
    EXPECT_THAT(rig.ImageLines(), ElementsAre("No barcode found on IMG_0001.jpg", "-Renamed IMG_0002.jpg to QSZ0000002.jpg"));
    EXPECT_EQ(rig.run().ErrorCount, 1);
    EXPECT_EQ(rig.ui().countText, "1/2");
    EXPECT_EQ(rig.ui().messages.back(), SummaryText(1, 2));
    testing::ExpectSameContentsRenamed(before, rig.photos.Files());
}

TEST(EndToEndTest, DemoModeReadsAndReportsButRenamesNothing) {
    BatchRig rig;
    WriteSpecimenShots(rig.photos);
    rig.core.settings().ModeIndex = 1;
    const auto before = rig.photos.Files();

    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_EQ(rig.photos.Files(), before);
    EXPECT_EQ(rig.ImageLines().front(), "IMG_0001.jpg found Barcode: QSZ0000001");
    EXPECT_THAT(rig.ui().prompts, ::testing::Contains("    QSZ0000001"));
    EXPECT_THAT(rig.ui().prompts, ::testing::Contains("    Can't find Barcode"));
    EXPECT_THAT(rig.Log(), ::testing::HasSubstr("\r\nDemo Mode.  Processed the following files:\r\n\r\n"));
}

TEST(EndToEndTest, VerticalLabelIsReadAlongColumns) {
    BatchRig rig;
    testing::SheetOptions options;
    options.width = 900;
    options.height = 1200;
    options.moduleWidth = 4;
    options.barHeight = 90;
    options.vertical = true;
    options.blurSigma = 0.6;
    options.seed = 5;
    testing::WriteJpegFile(rig.photos / "IMG_0001.jpg", testing::MakeSheet(Symbology::Code39, "QSZ0000005", options), 90);
    rig.core.settings().RotationIndex = 1;

    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_THAT(Names(rig.photos.Files()), ElementsAre("QSZ0000005.jpg"));
}

TEST(EndToEndTest, CloseUpsAreNamedWithTheirOwnRules) {
    BatchRig rig;
    testing::WriteCloseUpPhoto(rig.photos, "IMG_0001.jpg", "QSZ0000001", 1);
    testing::WriteBlankPhoto(rig.photos, "IMG_0002.jpg", 2);
    rig.photos.Write("IMG_0002.CR2", "raw 2");
    testing::WriteBlankPhoto(rig.photos, "IMG_0003.jpg", 3);
    rig.core.settings().TypeIndex = 1;
    const auto before = rig.photos.Files();

    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_THAT(rig.Log(), ::testing::HasSubstr("\r\nProcessing Close Up images\r\n"));
    EXPECT_THAT(rig.ImageLines(), ElementsAre("IMG_0001.jpg renamed AQSZ0000001.jpg",
                                              "IMG_0002.jpg renamed to QSZ0000001a.jpg",
                                              "IMG_0003.jpg renamed to QSZ0000001b.jpg"));
    // Raw files are not a close-up's business.
    EXPECT_THAT(Names(rig.photos.Files()),
                ElementsAre("AQSZ0000001.jpg", "IMG_0002.CR2", "QSZ0000001a.jpg", "QSZ0000001b.jpg"));
    testing::ExpectSameContentsRenamed(before, rig.photos.Files());
}

int RunTool(const std::vector<std::string>& args) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr)) _exit(97);
        std::vector<char*> argv{const_cast<char*>(TAGMORA_MAKE_SAMPLES_PROGRAM)};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(TAGMORA_MAKE_SAMPLES_PROGRAM, argv.data());
        _exit(98);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SampleFolderTest, SamplesRunAsTheirLabelsSay) {
    BatchRig rig;
    ASSERT_EQ(RunTool({rig.photos.path()}), 0);
    const auto before = rig.photos.Files();
    EXPECT_EQ(before.size(), 12u);
    // A second time would mix sample sets: refused, nothing touched.
    EXPECT_EQ(RunTool({rig.photos.path()}), 1);
    EXPECT_EQ(rig.photos.Files(), before);

    rig.core.settings().SuffixFormat = "@";
    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_THAT(Names(rig.photos.Files()),
                ElementsAre("IMG_0001.jpg", "QSZ0104521.CR2", "QSZ0104521.jpg", "QSZ0104521a.CR2", "QSZ0104521a.jpg",
                            "QSZ0104522.CR2", "QSZ0104522.jpg", "QSZ0104523.jpg", "QSZ0104524.jpg", "QSZ0104525.CR2",
                            "QSZ0104525.jpg", "QSZ0104526.jpg"));
    EXPECT_EQ(rig.run().ErrorCount, 1);  // the sheet without label, shot first
    testing::ExpectSameContentsRenamed(before, rig.photos.Files());
}

TEST(SampleFolderTest, SizeOptionIsChecked) {
    testing::TempFolder folder;
    EXPECT_EQ(RunTool({"--size", "12x7", folder.path()}), 2);
    EXPECT_EQ(RunTool({"--size=1600x", folder.path()}), 2);
    EXPECT_TRUE(folder.Files().empty());
}

}  // namespace
}  // namespace tagmora
