#include "app/config_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/fake_front_end.h"
#include "support/temp_folder.h"

namespace tagmora {
namespace {

using testing::FakeFrontEnd;
using testing::TempFolder;

SettingValues Applied(const std::string& text, FakeFrontEnd& ui) {
    SettingValues values;
    ApplyConfigText(text, values, ui);
    return values;
}

TEST(ConfigTextTest, DefaultsWriteTheEightLinesByteForByte) {
    EXPECT_EQ(ConfigText(SettingValues{}),
              "TGM\r\nBarcodeFormat: QSZ0######\r\nRotation: 0\r\nType: 0\r\nRenameRaw: 1\r\n"
              "RenameWO: 1\r\nSuffixFormat: \r\nFirstSuffix: 0\r\n");
}

TEST(ConfigTextTest, SavedSettingsReadBackRestoreEveryStoredValue) {
    TempFolder folder;
    FakeFrontEnd ui;
    SettingValues saved;
    saved.BarcodeFormat = "AB-####";
    saved.RotationIndex = 1;
    saved.TypeIndex = 1;
    saved.RenameRaw = false;
    saved.RenameWithoutBarcode = false;
    saved.SuffixFormat = "-###";
    saved.SuffixAll = true;
    saved.ModeIndex = 1;  // never stored
    ASSERT_TRUE(SaveConfig(folder.path(), saved, ui));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Settings saved"});

    SettingValues loaded;
    LoadConfig(folder.path(), loaded, ui);
    EXPECT_EQ(loaded.BarcodeFormat, "AB-####");
    EXPECT_EQ(loaded.RotationIndex, 1);
    EXPECT_EQ(loaded.TypeIndex, 1);
    EXPECT_FALSE(loaded.RenameRaw);
    EXPECT_FALSE(loaded.RenameWithoutBarcode);
    EXPECT_EQ(loaded.SuffixFormat, "-###");
    EXPECT_TRUE(loaded.SuffixAll);
    EXPECT_EQ(loaded.ModeIndex, 0);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(ConfigTextTest, BlanksAroundStoredTextsAreLostAndAnEmptySuffixFormatStaysEmpty) {
    FakeFrontEnd ui;
    SettingValues saved;
    saved.BarcodeFormat = "  QSZ0###  ";
    saved.SuffixFormat = "";
    SettingValues loaded = Applied(ConfigText(saved), ui);
    EXPECT_EQ(loaded.BarcodeFormat, "QSZ0###");
    EXPECT_EQ(loaded.SuffixFormat, "");
}

TEST(ConfigReadTest, MarkerRules) {
    FakeFrontEnd ui;
    EXPECT_EQ(Applied("TGM \r\nType: 1\r\n", ui).TypeIndex, 1);
    EXPECT_TRUE(ui.messages.empty());

    for (std::string text : {"tgm\r\nType: 1\r\n", "\xEF\xBB\xBFTGM\r\nType: 1\r\n"}) {
        FakeFrontEnd rejecting;
        EXPECT_EQ(Applied(text, rejecting).TypeIndex, 0);
        EXPECT_EQ(rejecting.messages, std::vector<std::string>{"Config file in old format. Cannot be read."});
    }
}

TEST(ConfigReadTest, LinesEndedByLineFeedAloneReadLikeCrLf) {
    FakeFrontEnd ui;
    SettingValues values = Applied("TGM\nBarcodeFormat: XY##\nType: 1\nSuffixFormat: @\n", ui);
    EXPECT_EQ(values.BarcodeFormat, "XY##");
    EXPECT_EQ(values.TypeIndex, 1);
    EXPECT_EQ(values.SuffixFormat, "@");
}

TEST(ConfigReadTest, NumbersAreClampedAndNonNumbersCountAsZero) {
    FakeFrontEnd ui;
    SettingValues values = Applied("TGM\r\nRotation: 7\r\nType: -5\r\nRenameRaw: yes\r\nFirstSuffix: 2\r\n", ui);
    EXPECT_EQ(values.RotationIndex, 1);
    EXPECT_EQ(values.TypeIndex, -1);  // no type selected: runs as Close-up
    EXPECT_FALSE(values.RenameRaw);
    EXPECT_TRUE(values.SuffixAll);
}

TEST(ConfigReadTest, MarkerAloneReadsOneEmptyPairAndChangesNothing) {
    FakeFrontEnd ui;
    SettingValues values = Applied("TGM\r\n", ui);
    EXPECT_EQ(values.BarcodeFormat, "QSZ0######");
    EXPECT_TRUE(ui.messages.empty());
}

TEST(ConfigReadTest, LastLineWithoutLineEndIsAppliedUntrimmed) {
    FakeFrontEnd ui;
    EXPECT_EQ(Applied("TGM\r\nType: 1\r\nBarcodeFormat: AB## ", ui).BarcodeFormat, " AB## ");
    EXPECT_EQ(Applied("TGM\r\nBarcodeFormat: X\r\nRotation: 1", ui).RotationIndex, 1);
}

TEST(ConfigReadTest, LaterKeysWinAndUnknownKeysAreIgnored) {
    FakeFrontEnd ui;
    SettingValues values = Applied("TGM\r\nColour: blue\r\nType: 1\r\nType: 0\r\nbarcodeformat: lower\r\n", ui);
    EXPECT_EQ(values.TypeIndex, 0);
    EXPECT_EQ(values.BarcodeFormat, "QSZ0######");
}

TEST(ConfigFileTest, MissingFileLeavesTheDefaultsSilently) {
    TempFolder folder;
    FakeFrontEnd ui;
    SettingValues values;
    LoadConfig(folder.path(), values, ui);
    EXPECT_EQ(values.BarcodeFormat, "QSZ0######");
    EXPECT_TRUE(ui.messages.empty());
}

TEST(ConfigFileTest, UnreadableFileIsReportedAndTheProgramGoesOn) {
    TempFolder folder;
    FakeFrontEnd ui;
    std::filesystem::create_directory(folder / "Config.txt");
    SettingValues values;
    LoadConfig(folder.path(), values, ui);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Unable to open file: " + (folder / "Config.txt")});
    EXPECT_EQ(values.BarcodeFormat, "QSZ0######");
}

TEST(ConfigFileTest, AFailedSaveKeepsWhatWasThereAndLeavesNoTemporaryFile) {
    TempFolder folder;
    FakeFrontEnd ui;
    std::filesystem::create_directory(folder / "Config.txt");
    folder.Write("Config.txt/keep", "x");
    EXPECT_FALSE(SaveConfig(folder.path(), SettingValues{}, ui));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Unable to create or open file " + (folder / "Config.txt")});
    EXPECT_EQ(folder.Read("Config.txt/keep"), "x");
    EXPECT_TRUE(folder.Files().empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(ConfigFileTest, SaveReplacesTheOldFileWhole) {
    TempFolder folder;
    FakeFrontEnd ui;
    folder.Write("Config.txt", std::string(5000, 'x'));
    ASSERT_TRUE(SaveConfig(folder.path(), SettingValues{}, ui));
    EXPECT_EQ(folder.Read("Config.txt"), ConfigText(SettingValues{}));
    EXPECT_EQ(folder.Files().size(), 1u);
}

}  // namespace
}  // namespace tagmora
