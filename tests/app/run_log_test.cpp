#include "base/run_log.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/fake_front_end.h"
#include "support/temp_folder.h"

namespace tagmora {
namespace {

using Texts = std::vector<std::string>;

TEST(RunLogTest, EntriesAreAppendedWithCrLfAndEveryFailedEntryIsReported) {
    support::TempFolder folder;
    support::TestCore core;
    core.state.run.StartFolder = folder.path();
    AppendLogLine(core.ctx, "\r\nfirst");
    AppendLogLine(core.ctx, "second");
    EXPECT_EQ(folder.Read("Tagmora.log"), "\r\nfirst\r\nsecond\r\n");
    EXPECT_EQ(core.ui.logLines, (Texts{"\r\nfirst", "second"}));
    EXPECT_TRUE(core.ui.messages.empty());

    core.state.run.StartFolder = folder / "sub";
    std::filesystem::create_directories(folder / "sub/Tagmora.log");  // cannot be written
    AppendLogLine(core.ctx, "one");
    AppendLogLine(core.ctx, "two");
    const std::string message = "Unable to create or open file " + (folder / "sub/Tagmora.log");
    EXPECT_EQ(core.ui.messages, (Texts{message, message}));
}

TEST(RunLogTest, LastRunSectionIsWhatFollowsTheLastBlankLine) {
    const std::string header =
        "\r\n01/02/26, 10:00:00\r\nVersion 1\r\nProcessing General images\r\n"
        "Renamed the following files:\r\n\r\nDirectory = /a\r\n\r\n";
    EXPECT_EQ(LastRunSection(header + "old line\r\n" + header + "IMG_7.jpg: Unable to open image.\r\nx\r\n"),
              "IMG_7.jpg: Unable to open image.\r\nx\r\n");
    EXPECT_EQ(LastRunSection(header), "");  // a run that found no image
    EXPECT_EQ(LastRunSection("no blank line"), "no blank line");
    EXPECT_EQ(LastRunSection("a\r\n\r\n\r\nb"), "\r\nb");  // removal runs from the front
}

}  // namespace
}  // namespace tagmora
