#include "general/renaming.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "app/context.h"
#include "support/folder_rig.h"

namespace tagmora {
namespace {

using Lines = std::vector<std::string>;
using Names = std::set<std::string>;

TEST(FormatSuffixTest, TheFirstTokenFoundDecides) {
    const struct {
        std::string_view fmt;
        std::int32_t n;
        std::string_view suffix;
    } cases[] = {
        {"@", 1, "a"},         {"@", 26, "z"},        {"@", 27, "aa"},   {"@", 53, "ba"},       {"@", 702, "zz"},
        {"@", 703, "aaa"},     {"x@@", 28, "xabab"},  {"###", 1, "001"}, {"###", 1234, "1234"}, {"####", 7, "0007"},
        {"#####", 7, "0007#"}, {"##-##", 5, "05-05"}, {"-#", 2, "-2"},   {"#x#", 3, "3x3"},     {"@#", 2, "@2"},
        {"(@)", 3, "(c)"},     {"", 12, "12"},        {"x", 4, "4"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatSuffix(c.fmt, c.n), c.suffix) << c.fmt << " " << c.n;
}

// Each file gets its own content, and every test ends by checking that the
// folder holds the very same contents, only under other names.
struct RenamingTest : ::testing::Test, support::FolderRig {
    std::multiset<std::string> contentsBefore;

    void SetUp() override { core.settings().SuffixFormat = "@"; }
    void TearDown() override {
        std::multiset<std::string> contentsAfter;
        for (const auto& [name, content] : photos.Files()) contentsAfter.insert(content);
        EXPECT_EQ(contentsAfter, contentsBefore);
    }
    void Add(std::initializer_list<std::string_view> names) {
        for (std::string_view name : names) {
            photos.Write(name, "content of " + std::string(name));
            contentsBefore.insert("content of " + std::string(name));
        }
    }
    // RenameImageOnly returns its outcome, here as its log line;
    // RenameImageFiles logs its own.
    std::string Only(std::string image, std::string_view barcode) {
        core.state.run.CurrentImage = std::move(image);
        return OutcomeLogLine(RenameImageOnly(core.ctx, barcode));
    }
    void Files(std::string image, std::string_view barcode) {
        core.state.run.CurrentImage = std::move(image);
        RenameImageFiles(core.ctx, barcode);
    }
};

TEST_F(RenamingTest, ImageOnlyLeavesCompanionsAndLowersTheExtension) {
    Add({"IMG_1.jpg", "IMG_1.CR2", "IMG_2.JPG", "IMG_3.JPG", "IMG_4.jpg"});
    EXPECT_EQ(Only("IMG_1.jpg", "QSZ0123456"), "IMG_1.jpg renamed QSZ0123456.jpg");
    EXPECT_EQ(Only("IMG_2.JPG", "QSZ0123456"), "IMG_2.JPG renamed QSZ0123456a.jpg");
    Files("IMG_3.JPG", "QSZ0000003");  // keeps each file's own extension
    core.settings().SuffixAll = true;  // nine names, from the first suffix on
    EXPECT_EQ(Only("IMG_4.jpg", "QSZ0000004"), "IMG_4.jpg renamed QSZ0000004a.jpg");
    EXPECT_EQ(FileNames(),
              (Names{"QSZ0123456.jpg", "QSZ0123456a.jpg", "IMG_1.CR2", "QSZ0000003.JPG", "QSZ0000004a.jpg"}));
    EXPECT_EQ(core.ui.logLines, (Lines{"-Renamed IMG_3.JPG to QSZ0000003.JPG"}));
}

// A raw file of another photograph, or a name in another letter case, takes
// the base name for all the files of this one: they stay together.
TEST_F(RenamingTest, AllFilesOfAPhotographTakeTheFirstNameFreeForAll) {
    Add({"QSZ0123456.CR2", "IMG_1.CR2", "IMG_1.jpg", "IMG_2.jpg", "IMG_2.cr2", "qsz0123456b.JPG", "IMG_3.jpg"});
    Files("IMG_1.jpg", "QSZ0123456");
    Files("IMG_2.jpg", "QSZ0123456");
    EXPECT_EQ(Only("IMG_3.jpg", "QSZ0123456"), "IMG_3.jpg renamed QSZ0123456d.jpg");
    EXPECT_EQ(FileNames(), (Names{"QSZ0123456.CR2", "QSZ0123456a.jpg", "QSZ0123456a.CR2", "QSZ0123456c.jpg",
                                  "QSZ0123456c.cr2", "qsz0123456b.JPG", "QSZ0123456d.jpg"}));
    EXPECT_EQ(core.ui.logLines,
              (Lines{"-Renamed IMG_1.jpg to QSZ0123456a.jpg", "-Renamed IMG_1.CR2 to QSZ0123456a.CR2",
                     "-Renamed IMG_2.jpg to QSZ0123456c.jpg", "-Renamed IMG_2.cr2 to QSZ0123456c.cr2"}));
    EXPECT_EQ(core.state.run.ErrorCount, 0);
}

TEST_F(RenamingTest, TheBaseNameIsReplacedWhereverItOccurs) {
    Add({"IMG_1.jpg", "img_1.IMG_1", "IMG_1.xmp.img_1.bak"});
    Files("IMG_1.jpg", "QSZ0123456");
    EXPECT_EQ(FileNames(), (Names{"QSZ0123456.jpg", "QSZ0123456.QSZ0123456", "QSZ0123456.xmp.QSZ0123456.bak"}));
}

// A photograph whose name merely begins with this one's base shows a sheet of
// its own: it must not be filed under this barcode as a companion.
TEST_F(RenamingTest, OtherPhotographsAreNeverCompanions) {
    Add({"IMG_1.JPG", "IMG_1.CR2", "IMG_1.jpg", "IMG_1.left.jpg", "IMG_1.jpg.xmp"});
    Files("IMG_1.JPG", "QSZ0123456");
    EXPECT_EQ(FileNames(),
              (Names{"QSZ0123456.JPG", "QSZ0123456.CR2", "IMG_1.jpg", "IMG_1.left.jpg", "QSZ0123456.jpg.xmp"}));
    EXPECT_EQ(core.state.run.ErrorCount, 0);
}

TEST_F(RenamingTest, AJpgInsideTheNameFindsNoFiles) {
    Add({"a.jpg.b.jpg", "a.jpg.b.CR2"});
    Files("a.jpg.b.jpg", "QSZ0123456");
    EXPECT_EQ(FileNames(), (Names{"a.jpg.b.jpg", "a.jpg.b.CR2"}));
    EXPECT_EQ(core.ui.logLines, (Lines{"Unknown error finding a.jpg.b.jpg in folder..."}));
    EXPECT_EQ(core.state.run.ErrorCount, 0);
}

TEST_F(RenamingTest, GivingUpAfterTheLastSuffixIsOneErrorPerFile) {
    Add({"IMG_1.jpg", "IMG_2.jpg", "IMG_2.CR2", "QSZ0123456.jpg"});
    core.settings().SuffixFormat = "#";
    for (int n = 1; n <= 99; ++n) Add({"QSZ0123456" + std::to_string(n) + ".jpg"});
    EXPECT_EQ(Only("IMG_1.jpg", "QSZ0123456"), ">>>>>IMG_1.jpg found barcode, but unable to rename file.");
    Files("IMG_2.jpg", "QSZ0123456");
    EXPECT_TRUE(photos.Exists("IMG_1.jpg") && photos.Exists("IMG_2.jpg") && photos.Exists("IMG_2.CR2"));
    EXPECT_EQ(core.ui.logLines, (Lines{">>>>>IMG_2.jpg found barcode, but unable to rename IMG_2.jpg",
                                       ">>>>>IMG_2.jpg found barcode, but unable to rename IMG_2.CR2"}));
    EXPECT_EQ(core.state.run.ErrorCount, 2) << "the image alone's outcome counts when it is logged";
    // A photograph gone before its turn fails the same way.
    EXPECT_EQ(Only("IMG_9.jpg", "QSZ0999999"), ">>>>>IMG_9.jpg found barcode, but unable to rename file.");
}

// Thirty shots of one specimen: after "z" come "aa", "ab", ..., never "{".
TEST_F(RenamingTest, LettersRunOnAsLettersPastZ) {
    Add({"QSZ0123456.jpg"});
    for (int n = 1; n <= 29; ++n) {
        const std::string name = "IMG_" + std::to_string(n) + ".jpg";
        Add({name});
        Files(name, "QSZ0123456");
    }
    for (const char* name : {"QSZ0123456z.jpg", "QSZ0123456aa.jpg", "QSZ0123456ac.jpg"})
        EXPECT_TRUE(photos.Exists(name)) << name;
    EXPECT_FALSE(photos.Exists("QSZ0123456ad.jpg"));
    EXPECT_EQ(photos.Files().size(), 30u);
}

// A barcode that the format let through with a separator in it must not move
// the photograph into another folder; every attempt fails like a taken name.
TEST_F(RenamingTest, ABarcodeWithASeparatorNeverLeavesTheFolder) {
    Add({"IMG_1.jpg", "IMG_2.jpg"});
    std::filesystem::create_directory(photos / "QSZ");
    EXPECT_EQ(Only("IMG_1.jpg", "QSZ/0123456"), ">>>>>IMG_1.jpg found barcode, but unable to rename file.");
    Files("IMG_2.jpg", "../QSZ0123456");
    EXPECT_EQ(core.ui.logLines, (Lines{">>>>>IMG_2.jpg found barcode, but unable to rename IMG_2.jpg"}));
    EXPECT_EQ(FileNames(), (Names{"IMG_1.jpg", "IMG_2.jpg"}));
    EXPECT_TRUE(std::filesystem::is_empty(photos / "QSZ"));
    EXPECT_FALSE(std::filesystem::exists(photos / "../QSZ0123456.jpg"));
}

}  // namespace
}  // namespace tagmora
