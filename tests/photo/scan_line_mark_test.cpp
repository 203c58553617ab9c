#include "photo/scan_line_mark.h"

#include <gtest/gtest.h>

#include "support/fake_front_end.h"

namespace tagmora {
namespace {

using testing::TestCore;

TEST(ScanLineStripTest, RowsAndColumnsScaleToThePictureArea) {
    // sy = 561 / 1500 = 0.374: row 750 covers display rows 280 and 281.
    EXPECT_EQ(ScanLineStrip(2000, 1500, false, StripColour::Black, 750, 0, 0), (StripRect{0, 280, 617, 282}));
    // sx = 617 / 2000 = 0.3085: column 1000 covers display columns 308 and 309.
    EXPECT_EQ(ScanLineStrip(2000, 1500, true, StripColour::Black, 1000, 0, 0), (StripRect{308, 0, 310, 561}));
    // A bitmap the size of the picture maps one to one.
    EXPECT_EQ(ScanLineStrip(617, 561, false, StripColour::Black, 0, 0, 0), (StripRect{0, 0, 617, 2}));
}

TEST(ScanLineStripTest, TheRedStripCoversTheBandWidenedAndClamped) {
    // Band 3 .. 100 on a row: 3 * 0.3085 - 5 is negative, so the strip starts at 0.
    EXPECT_EQ(ScanLineStrip(2000, 1500, false, StripColour::Red, 750, 3, 100), (StripRect{0, 280, 35, 282}));
    // A band reaching the end of the line stops at the picture's edge.
    EXPECT_EQ(ScanLineStrip(2000, 1500, false, StripColour::Red, 750, 1000, 2000), (StripRect{303, 280, 617, 282}));
    // Columns use the band along the height.
    EXPECT_EQ(ScanLineStrip(2000, 1500, true, StripColour::Red, 1000, 10, 1500), (StripRect{308, 0, 310, 561}));
    EXPECT_EQ(ScanLineStrip(2000, 1500, true, StripColour::Red, 1000, 500, 600), (StripRect{308, 182, 310, 229}));
}

TEST(ScanLineStripTest, AnEmptyBitmapGivesAnEmptyStrip) {
    EXPECT_EQ(ScanLineStrip(0, 0, false, StripColour::Black, 10, 0, 0), StripRect{});
}

struct DrawScanLineTest : ::testing::Test {
    TestCore core;
    void SetUp() override {
        core.state.bitmap.Resize(2000, 1500);
        core.state.run.KeepGoing = true;
        core.state.general.BandStart = 1000;
        core.state.general.BandEnd = 2000;
    }
};

TEST_F(DrawScanLineTest, ProductionShowsOnlyTheRedLine) {
    core.settings().ModeIndex = 0;
    core.settings().PauseEachLine = true;  // a value left over from Demo/Debug
    DrawScanLine(core.ctx, 0, 750);
    EXPECT_TRUE(core.ui.strips.empty());
    DrawScanLine(core.ctx, 255, 750);
    ASSERT_EQ(core.ui.strips.size(), 1u);
    EXPECT_EQ(core.ui.strips[0].Colour, StripColour::Red);
    EXPECT_EQ(core.ui.strips[0].Rect, (StripRect{303, 280, 617, 282}));
    EXPECT_TRUE(core.ui.prompts.empty());  // the pause box is not usable in Production
    EXPECT_TRUE(core.state.run.KeepGoing);
}

TEST_F(DrawScanLineTest, DemoShowsEveryLineTried) {
    core.settings().ModeIndex = 1;
    DrawScanLine(core.ctx, 0, 750);
    core.state.run.VerticalScan = true;
    DrawScanLine(core.ctx, 0, 1000);
    ASSERT_EQ(core.ui.strips.size(), 2u);
    EXPECT_EQ(core.ui.strips[0].Colour, StripColour::Black);
    EXPECT_EQ(core.ui.strips[0].Rect, (StripRect{0, 280, 617, 282}));
    EXPECT_EQ(core.ui.strips[1].Rect, (StripRect{308, 0, 310, 561}));
    EXPECT_TRUE(core.ui.prompts.empty());
}

TEST_F(DrawScanLineTest, PauseShowsTheLineAndCancelStopsTheRunSilently) {
    core.settings().ModeIndex = 1;
    core.settings().PauseEachLine = true;
    core.ui.promptAnswers = {true, false};
    DrawScanLine(core.ctx, 0, 750);
    EXPECT_TRUE(core.state.run.KeepGoing);
    DrawScanLine(core.ctx, 255, 1234);
    EXPECT_FALSE(core.state.run.KeepGoing);
    EXPECT_EQ(core.ui.prompts, (std::vector<std::string>{"750", "1234"}));
    EXPECT_EQ(core.ui.strips.size(), 2u);  // drawn before the pause
    EXPECT_TRUE(core.ui.logLines.empty());
}

}  // namespace
}  // namespace tagmora
