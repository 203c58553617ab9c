#include "app/config_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>

#include "support/fake_front_end.h"
#include "support/temp_folder.h"

namespace tagmora {
namespace {

using support::FakeFrontEnd;
using support::TempFolder;
using Texts = std::vector<std::string>;

constexpr const char* kDefaultsText =
    "TGM\r\nBarcodeFormat: QSZ0######\r\nRotation: 0\r\nType: 0\r\nRenameRaw: 1\r\n"
    "RenameWO: 1\r\nSuffixFormat: \r\nFirstSuffix: 0\r\nDeepSearch: 1\r\n";

// What the main window's values become is tested with the window; here the
// defaults' bytes, and an old file replaced whole with nothing left beside it.
TEST(ConfigFileTest, SaveWritesTheEightLinesThenDeepSearch) {
    TempFolder folder;
    FakeFrontEnd ui;
    folder.Write("Config.txt", std::string(5000, 'x'));
    ASSERT_TRUE(SaveConfig(folder.path(), SettingValues{}, ui));
    EXPECT_EQ(folder.Files(), (std::map<std::string, std::string>{{"Config.txt", kDefaultsText}}));
    EXPECT_EQ(ui.messages, Texts{"Settings saved"});
    // The folder last chosen comes after the eight lines.
    SettingValues withFolder;
    withFolder.PhotoFolder = "/data/Sheets 2024";
    ASSERT_TRUE(SaveConfig(folder.path(), withFolder, ui));
    EXPECT_EQ(folder.Read("Config.txt"), std::string(kDefaultsText) + "LastFolder: /data/Sheets 2024\r\n");
}

TEST(ConfigFileTest, ReadingRules) {
    const char* const oldFormat = "Config file in old format. Cannot be read.";
    const struct {
        std::string text;
        std::function<void(SettingValues&)> expected;  // applied to the defaults
        const char* message = nullptr;
    } cases[] = {
        {"TGM \r\nType: 1\r\nBarcodeFormat:  AB## \t\r\n",
         [](auto& v) {
             v.TypeIndex = 1;
             v.BarcodeFormat = "AB##";
         }},
        {"tgm\r\nType: 1\r\n", [](auto&) {}, oldFormat},
        {"\xEF\xBB\xBFTGM\r\nType: 1\r\n", [](auto&) {}, oldFormat},
        {"TGM\nBarcodeFormat: XY##\nType: 1\nSuffixFormat: @\n",
         [](auto& v) {
             v.BarcodeFormat = "XY##";
             v.TypeIndex = 1;
             v.SuffixFormat = "@";
         }},
        // Clamped radio indexes; -1 selects no type, which runs as Close-up.
        {"TGM\r\nRotation: 7\r\nType: -5\r\nRenameRaw: yes\r\nFirstSuffix: 2\r\n",
         [](auto& v) {
             v.RotationIndex = 1;
             v.TypeIndex = -1;
             v.RenameRaw = false;
             v.SuffixAll = true;
         }},
        {"TGM\r\n", [](auto&) {}},
        // Deep Search is on unless the file turns it off (older files lack the line).
        {"TGM\r\nDeepSearch: 0\r\n", [](auto& v) { v.DeepSearch = false; }},
        {"TGM\r\nType: 1\r\nLastFolder: /data/Sheets 2024\r\n",
         [](auto& v) {
             v.TypeIndex = 1;
             v.PhotoFolder = "/data/Sheets 2024";
         }},
        {"TGM", [](auto&) {}},
        // The last line without its line end is taken untrimmed.
        {"TGM\r\nType: 1\r\nBarcodeFormat: AB## ",
         [](auto& v) {
             v.TypeIndex = 1;
             v.BarcodeFormat = " AB## ";
         }},
        {"TGM\r\nBarcodeFormat: X\r\nRotation: 1",
         [](auto& v) {
             v.BarcodeFormat = "X";
             v.RotationIndex = 1;
         }},
        // A tail of five characters or fewer is not read: "Type:" would set 0.
        {"TGM\r\nType: 1\r\nType:", [](auto& v) { v.TypeIndex = 1; }},
        // Later keys win (an empty suffix format stays empty); unknown keys do nothing.
        {"TGM\r\nColour: blue\r\nType: 1\r\nType: 0\r\nSuffixFormat: @\r\nSuffixFormat: \r\nbarcodeformat: x\r\n",
         [](auto&) {}},
    };
    for (const auto& c : cases) {
        FakeFrontEnd ui;
        SettingValues values, expected;
        ApplyConfigText(c.text, values, ui);
        c.expected(expected);
        EXPECT_EQ(ConfigText(values), ConfigText(expected)) << c.text;
        EXPECT_EQ(ui.messages, c.message ? Texts{c.message} : Texts{}) << c.text;
    }
}

TEST(ConfigFileTest, NoFileOrAFolderOfThatNameLeavesTheDefaultsSilently) {
    TempFolder folder;
    FakeFrontEnd ui;
    SettingValues values;
    LoadConfig(folder.path(), values, ui);
    std::filesystem::create_directory(folder / "Config.txt");
    LoadConfig(folder.path(), values, ui);
    EXPECT_EQ(ConfigText(values), kDefaultsText);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(ConfigFileTest, AFileThatCannotBeReadIsReportedAndTheProgramGoesOn) {
    TempFolder folder;
    FakeFrontEnd ui;
    ASSERT_EQ(mkfifo((folder / "Config.txt").c_str(), 0600), 0);
    SettingValues values;
    LoadConfig(folder.path(), values, ui);
    EXPECT_EQ(ui.messages, Texts{"Unable to open file: " + (folder / "Config.txt")});
    EXPECT_EQ(ConfigText(values), kDefaultsText);
}

TEST(ConfigFileTest, AFailedSaveKeepsWhatWasThereAndLeavesNoTemporaryFile) {
    TempFolder folder;
    FakeFrontEnd ui;
    std::filesystem::create_directory(folder / "Config.txt");
    folder.Write("Config.txt/keep", "x");
    EXPECT_FALSE(SaveConfig(folder.path(), SettingValues{}, ui));
    EXPECT_EQ(ui.messages, Texts{"Unable to create or open file " + (folder / "Config.txt")});
    EXPECT_EQ(folder.Read("Config.txt/keep"), "x");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

}  // namespace
}  // namespace tagmora
