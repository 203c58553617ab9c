#include "photo/scan_line_mark.h"

#include <gtest/gtest.h>

#include "support/fake_front_end.h"

namespace tagmora {
namespace {

using support::TestCore;
constexpr StripColour kBlack = StripColour::Black;
constexpr StripColour kRed = StripColour::Red;

TEST(ScanLineStripTest, StripsScaleToThePictureAndTheRedOneToItsBand) {
    // A 2000 x 1500 bitmap: sx = 617 / 2000 = 0.3085, sy = 561 / 1500 = 0.374.
    const struct {
        bool vertical;
        StripColour colour;
        std::int32_t line, bandStart, bandEnd;
        PixelRect rect;
    } cases[] = {
        {false, kBlack, 750, 0, 0, {0, 280, 617, 282}},        // row 750: display rows 280 and 281
        {true, kBlack, 1000, 0, 0, {308, 0, 310, 561}},        // column 1000: display columns 308 and 309
        {false, kRed, 750, 3, 100, {0, 280, 35, 282}},         // 3 * sx - 5 < 0 starts at 0
        {false, kRed, 750, 1000, 2000, {303, 280, 617, 282}},  // stops at the picture's edge
        {true, kRed, 1000, 10, 1500, {308, 0, 310, 561}},     {true, kRed, 1000, 500, 600, {308, 182, 310, 229}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScanLineStrip(2000, 1500, c.vertical, c.colour, c.line, c.bandStart, c.bandEnd), c.rect)
            << c.line << " " << c.bandStart;
    EXPECT_EQ(ScanLineStrip(617, 561, false, kBlack, 0, 0, 0), (PixelRect{0, 0, 617, 2}));
    EXPECT_EQ(ScanLineStrip(0, 0, false, kBlack, 10, 0, 0), PixelRect{});
}

struct DrawScanLineTest : ::testing::Test {
    TestCore core;
    void SetUp() override {
        core.state.bitmap.Resize(2000, 1500);
        core.state.run.KeepGoing = true;
        core.state.run.BandStart = 1000;
        core.state.run.BandEnd = 2000;
    }
};

TEST_F(DrawScanLineTest, ProductionShowsOnlyTheRedLineAndNeverPauses) {
    core.settings().PauseEachLine = true;  // a value left over from Demo/Debug
    DrawScanLine(core.ctx, core.state.bitmap, kBlack, 750);
    EXPECT_TRUE(core.ui.strips.empty());
    DrawScanLine(core.ctx, core.state.bitmap, kRed, 750);
    ASSERT_EQ(core.ui.strips.size(), 1u);
    EXPECT_EQ(core.ui.strips[0].Colour, kRed);
    EXPECT_EQ(core.ui.strips[0].Rect, (PixelRect{303, 280, 617, 282}));
    EXPECT_TRUE(core.ui.prompts.empty());
    EXPECT_TRUE(core.state.run.KeepGoing);
}

TEST_F(DrawScanLineTest, DemoShowsEveryLineAndPauseCancelStopsTheRunSilently) {
    core.settings().ModeIndex = 1;
    DrawScanLine(core.ctx, core.state.bitmap, kBlack, 750);
    core.state.run.VerticalScan = true;
    DrawScanLine(core.ctx, core.state.bitmap, kBlack, 1000);
    ASSERT_EQ(core.ui.strips.size(), 2u);
    EXPECT_EQ(core.ui.strips[0].Colour, kBlack);
    EXPECT_EQ(core.ui.strips[1].Rect, (PixelRect{308, 0, 310, 561}));
    EXPECT_TRUE(core.ui.prompts.empty());

    core.settings().PauseEachLine = true;
    core.ui.promptAnswers = {true, false};
    DrawScanLine(core.ctx, core.state.bitmap, kBlack, 750);
    EXPECT_TRUE(core.state.run.KeepGoing);
    DrawScanLine(core.ctx, core.state.bitmap, kRed, 1234);
    EXPECT_FALSE(core.state.run.KeepGoing);
    EXPECT_EQ(core.ui.prompts, (std::vector<std::string>{"750", "1234"}));
    EXPECT_EQ(core.ui.strips.size(), 4u);  // drawn before the pause
    EXPECT_TRUE(core.ui.logLines.empty());
}

}  // namespace
}  // namespace tagmora
