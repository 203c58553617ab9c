#include "app/run_log.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/fake_front_end.h"
#include "support/temp_folder.h"

namespace tagmora {
namespace {

using testing::TempFolder;
using testing::TestCore;

TEST(RunLogTest, EntriesAreAppendedWithCrLfInTheStartFolder) {
    TempFolder folder;
    TestCore core;
    core.state.run.StartFolder = folder.path();
    AppendLogLine(core.ctx, "\r\nfirst");
    AppendLogLine(core.ctx, "second");
    EXPECT_EQ(folder.Read("Tagmora.log"), "\r\nfirst\r\nsecond\r\n");
    EXPECT_EQ(core.ui.logLines, (std::vector<std::string>{"\r\nfirst", "second"}));
    EXPECT_TRUE(core.ui.messages.empty());
}

TEST(RunLogTest, ALogThatCannotBeWrittenIsReportedForEveryEntry) {
    TempFolder folder;
    TestCore core;
    core.state.run.StartFolder = folder.path();
    std::filesystem::create_directory(folder / "Tagmora.log");
    AppendLogLine(core.ctx, "one");
    AppendLogLine(core.ctx, "two");
    const std::string message = "Unable to create or open file " + (folder / "Tagmora.log");
    EXPECT_EQ(core.ui.messages, (std::vector<std::string>{message, message}));
}

TEST(LastRunSectionTest, TakesWhatFollowsTheLastBlankLine) {
    const std::string log =
        "\r\n01/02/26, 10:00:00\r\nVersion 1\r\nProcessing General images\r\nRenamed the following files:\r\n"
        "\r\nDirectory = /a\r\n\r\nold line\r\n"
        "\r\n01/02/26, 11:00:00\r\nVersion 1\r\nProcessing General images\r\nRenamed the following files:\r\n"
        "\r\nDirectory = /b\r\n\r\nIMG_7.jpg: Unable to open image.\r\nNo barcode found on IMG_8.jpg\r\n";
    EXPECT_EQ(LastRunSection(log), "IMG_7.jpg: Unable to open image.\r\nNo barcode found on IMG_8.jpg\r\n");
}

TEST(LastRunSectionTest, ARunWithoutImagesLeavesAnEmptySection) {
    EXPECT_EQ(LastRunSection("\r\ndate\r\nVersion 1\r\nx\r\ny\r\n\r\nDirectory = /a\r\n\r\n"), "");
    EXPECT_EQ(LastRunSection("no blank line"), "no blank line");
    EXPECT_EQ(LastRunSection("a\r\n\r\n\r\nb"), "\r\nb");  // removal runs from the front
}

}  // namespace
}  // namespace tagmora
