// Whole runs over folders of generated photographs: the names the files end
// up with, the log lines, and that every file is still there, whole, only
// under its new name.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/batch_run.h"
#include "batch_fixtures.h"

namespace tagmora {
namespace {

using support::BatchRig;
using support::Symbology;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// One specimen photographed three times, the label in view only the first
// time, with raw files beside the first two.
void WriteSpecimenShots(const support::TempFolder& photos) {
    support::WriteLabelPhoto(photos, "IMG_0001.jpg", Symbology::Code39, "QSZ0000001", 1);
    photos.Write("IMG_0001.CR2", "raw 1");
    support::WriteBlankPhoto(photos, "IMG_0002.jpg", 2);
    photos.Write("IMG_0002.CR2", "raw 2");
    support::WriteBlankPhoto(photos, "IMG_0003.jpg", 3);
}

struct SuffixCase {
    std::string name;  // of the test case
    std::string format;
    bool suffixAll;
    std::vector<std::string> files;  // the folder afterwards, sorted
};

// Test listings (ctest's too) show the case's settings, not its bytes.
void PrintTo(const SuffixCase& c, std::ostream* out) {
    *out << "suffix format \"" << c.format << '"' << (c.suffixAll ? ", Suffix All" : "");
}

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
    const auto after = rig.photos.Files();
    EXPECT_THAT(rig.FileNames(), ElementsAreArray(c.files));
    support::ExpectSameContentsRenamed(before, after);
    // Raw file and photograph of one shot stay together.
    for (const auto& [name, content] : after) {
        if (content == "raw 2") {
            EXPECT_TRUE(after.contains(name.substr(0, name.size() - 4) + ".jpg")) << name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    SuffixFormats, SuffixRunTest,
    ::testing::Values(
        SuffixCase{"Letter",
                   "@",
                   false,
                   {"QSZ0000001.CR2", "QSZ0000001.jpg", "QSZ0000001a.CR2", "QSZ0000001a.jpg", "QSZ0000001b.jpg"}},
        SuffixCase{"ThreeDigits",
                   "###",
                   false,
                   {"QSZ0000001.CR2", "QSZ0000001.jpg", "QSZ0000001001.CR2", "QSZ0000001001.jpg", "QSZ0000001002.jpg"}},
        SuffixCase{"HyphenNumber",
                   "-#",
                   false,
                   {"QSZ0000001-1.CR2", "QSZ0000001-1.jpg", "QSZ0000001-2.jpg", "QSZ0000001.CR2", "QSZ0000001.jpg"}},
        SuffixCase{"Empty",
                   "",
                   false,
                   {"QSZ0000001.CR2", "QSZ0000001.jpg", "QSZ00000011.CR2", "QSZ00000011.jpg", "QSZ00000012.jpg"}},
        SuffixCase{"LetterOnAll",
                   "@",
                   true,
                   {"QSZ0000001a.CR2", "QSZ0000001a.jpg", "QSZ0000001b.CR2", "QSZ0000001b.jpg", "QSZ0000001c.jpg"}}),
    [](const ::testing::TestParamInfo<SuffixCase>& info) { return info.param.name; });

// Every rename is logged before the image's own line; names the run gave are
// not met again, even when they would not be passed over.
TEST(EndToEndTest, ProductionLogTellsEveryRename) {
    BatchRig rig;
    WriteSpecimenShots(rig.photos);
    support::WriteLabelPhoto(rig.photos, "IMG_0004.jpg", Symbology::Code128, "QSZ0000004", 4);
    rig.core.settings().SuffixFormat = "@";
    rig.core.settings().IgnoreMatching = false;
    const auto before = rig.photos.Files();

    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_THAT(
        rig.ImageLines(),
        ElementsAre("-Renamed IMG_0001.jpg to QSZ0000001.jpg", "-Renamed IMG_0001.CR2 to QSZ0000001.CR2",
                    "-Renamed IMG_0002.jpg to QSZ0000001a.jpg", "-Renamed IMG_0002.CR2 to QSZ0000001a.CR2",
                    "IMG_0002.jpg renamed with previous barcode QSZ0000001", "-Renamed IMG_0003.jpg to QSZ0000001b.jpg",
                    "IMG_0003.jpg renamed with previous barcode QSZ0000001",
                    "-Renamed IMG_0004.jpg to QSZ0000004.jpg"));
    EXPECT_EQ(rig.ui().countText, "4/4");
    EXPECT_EQ(rig.run().LastBarcode, "QSZ0000004");
    support::ExpectSameContentsRenamed(before, rig.photos.Files());
}

TEST(EndToEndTest, WithoutRawRenamingOnlyTheReadPhotographMoves) {
    BatchRig rig;
    WriteSpecimenShots(rig.photos);
    support::WriteLabelPhoto(rig.photos, "IMG_0004.JPG", Symbology::Code39, "QSZ0000004", 4);
    rig.core.settings().RenameRaw = false;
    rig.core.settings().SuffixFormat = "@";
    const auto before = rig.photos.Files();

    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    // A photograph without label still takes its companions along, all to
    // one name: the second shot's raw file stays with its photograph, never
    // beside the first shot's.
    EXPECT_THAT(rig.FileNames(), ElementsAre("IMG_0001.CR2", "QSZ0000001.jpg", "QSZ0000001a.CR2", "QSZ0000001a.jpg",
                                             "QSZ0000001b.jpg", "QSZ0000004.jpg"));
    EXPECT_EQ(rig.photos.Read("QSZ0000001a.CR2"), "raw 2");
    EXPECT_EQ(rig.ImageLines().front(), "IMG_0001.jpg renamed QSZ0000001.jpg");
    EXPECT_EQ(rig.ImageLines().back(), "IMG_0004.JPG renamed QSZ0000004.jpg");
    support::ExpectSameContentsRenamed(before, rig.photos.Files());
}

int MakeSamples(const std::vector<std::string>& args) {
    return support::RunProgram(TAGMORA_MAKE_SAMPLES_PROGRAM, "/", args).status;
}

TEST(SampleFolderTest, SamplesRunAsTheirLabelsSay) {
    BatchRig rig;
    ASSERT_EQ(MakeSamples({rig.photos.path()}), 0);
    const auto before = rig.photos.Files();
    EXPECT_EQ(before.size(), 13u);
    // A second time would mix sample sets: refused, nothing touched.
    EXPECT_EQ(MakeSamples({rig.photos.path()}), 1);
    EXPECT_EQ(rig.photos.Files(), before);

    rig.core.settings().SuffixFormat = "@";
    ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    EXPECT_THAT(rig.FileNames(),
                ElementsAre("QSZ0104521.CR2", "QSZ0104521.jpg", "QSZ0104521a.CR2", "QSZ0104521a.jpg", "QSZ0104521b.CR2",
                            "QSZ0104521b.jpg", "QSZ0104522.CR2", "QSZ0104522.jpg", "QSZ0104523.jpg", "QSZ0104524.jpg",
                            "QSZ0104525.CR2", "QSZ0104525.jpg", "QSZ0104526.jpg"));
    EXPECT_EQ(rig.run().ErrorCount, 0);  // a first run ends with "No Errors"
    support::ExpectSameContentsRenamed(before, rig.photos.Files());

    support::TempFolder folder;
    EXPECT_EQ(MakeSamples({"--size", "12x7", folder.path()}), 2);
    EXPECT_EQ(MakeSamples({"--size=1600x", folder.path()}), 2);
    EXPECT_TRUE(folder.Files().empty());
}

}  // namespace
}  // namespace tagmora
