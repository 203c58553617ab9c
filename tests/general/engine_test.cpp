#include "general/line_scanning_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "app/context.h"
#include "general/profile_builders.h"
#include "support/barcode_render.h"
#include "support/fake_front_end.h"

namespace tagmora {
namespace {

using testing::Symbology;
using testing::TestCore;
using Profile = std::vector<std::int32_t>;

std::int32_t TallyOf(std::int32_t firstLevel, std::initializer_list<std::int32_t> counts) {
    ThresholdTally tally;
    std::int32_t level = firstLevel;
    for (std::int32_t count : counts) {
        tally.Add(level, count);
        level += 5;
    }
    return tally.Threshold();
}

TEST(ThresholdTest, TheThresholdLiesBetweenTheBestLevelAndTheLastEqualOne) {
    EXPECT_EQ(TallyOf(50, {3, 7, 7, 9, 9, 9, 4}), 70);
    // High is not reset by a new best: it may lie below low.
    EXPECT_EQ(TallyOf(50, {5, 5, 8, 2}), 57);
    EXPECT_EQ(TallyOf(50, {0}), 25);
}

TEST(ThresholdTest, LevelsRiseFromFiftyOrTheDarkestSampleWhileWellBelowTheBrightest) {
    // Flat: a single level, no crossing, half of that level.
    EXPECT_EQ(ChooseThreshold(Profile(40, 200)), 100);
    EXPECT_EQ(ChooseThreshold(Profile(40, 30)), 25);
    EXPECT_EQ(ChooseThreshold({}), 25);
    // mn = 100, mx = 112: the first level is already too near the brightest
    // and is the only one tried (a second one would make it 52).
    EXPECT_EQ(ChooseThreshold(Profile{100, 112, 100, 112, 100, 112, 100, 112}), 50);
    // Bars 20, spaces 230: every level from 50 to 215 sees the same count.
    const int runs[] = {2, 2, 2, 2, 2, 2};
    EXPECT_EQ(ChooseThreshold(testing::ProfileFromRuns(runs, 3)), 132);
    // Steps of 15 are not counted: a ramp from white to black and back by 15
    // gives no crossing at any of the levels 50 to 240, so low stays 0.
    Profile ramp(5, 255);
    for (int v = 240; v >= 0; v -= 15) ramp.push_back(v);
    for (int v = 15; v <= 255; v += 15) ramp.push_back(v);
    EXPECT_EQ(ChooseThreshold(ramp), 120);
}

std::vector<Element> Widths(std::initializer_list<float> widths) {
    std::vector<Element> elements;
    for (float w : widths) elements.push_back({0.0f, w});
    return elements;
}

TEST(WidthClassTest, OverWideSpacesGoAndTheLargestJumpSetsTheLimit) {
    auto spaces = Widths({3, 4, 4, 9, 20});
    TrimOverWideSpaces(spaces);
    EXPECT_EQ(spaces.size(), 3u);
    EXPECT_FLOAT_EQ(WidthLimit(spaces), 3.5f);

    auto pair = Widths({1, 100});
    TrimOverWideSpaces(pair);
    EXPECT_EQ(pair.size(), 1u) << "one space always stays";
    auto close = Widths({2, 4, 6});
    TrimOverWideSpaces(close);
    EXPECT_EQ(close.size(), 3u) << "6 is not more than 1.5 x 4";

    EXPECT_FLOAT_EQ(WidthLimit(Widths({1, 2, 3})), 1.5f) << "ties keep the first pair";
    EXPECT_FLOAT_EQ(WidthLimit(Widths({1, 1, 3, 3, 7})), 5.0f);
    EXPECT_FLOAT_EQ(WidthLimit(Widths({4, 4, 4})), 0.0f);
    EXPECT_FLOAT_EQ(WidthLimit(Widths({4})), 0.0f);

    // Differences and ratios are exact, not rounded to float first: the gap
    // 2^-24 .. 1 + 2^-22 rounds up to the last gap's size but is smaller.
    EXPECT_GT(WidthLimit(Widths({0, std::ldexp(1.0f, -24), 1 + std::ldexp(1.0f, -22), 2 + std::ldexp(1.0f, -21)})), 1.0f);
    auto justOver = Widths({1 + std::ldexp(1.0f, -23), 1.5f + std::ldexp(1.0f, -22)});
    TrimOverWideSpaces(justOver);
    EXPECT_EQ(justOver.size(), 1u) << "more than 1.5 times, though 1.5 x 1.0000001f rounds to the wider width";
}

struct EngineTest : ::testing::Test {
    TestCore core;
    GeneralState& general = core.state.general;

    void SetUp() override { core.settings().ModeIndex = 1; }  // Demo/Debug: failures are drawn too

    std::string Read(Profile segment) {
        general.ProfileSegment = std::move(segment);
        return ReadSegment(core.ctx, 7);
    }
};

// `bars` bars of 4 samples between spaces of 4, the first bar `firstBar` wide.
Profile EqualBars(int bars, int firstBar = 4) {
    Profile profile(20, 255);
    for (int b = 0; b < bars; ++b) {
        profile.insert(profile.end(), static_cast<std::size_t>(b == 0 ? firstBar : 4), 0);
        profile.insert(profile.end(), 4, 255);
    }
    profile.insert(profile.end(), 20, 255);
    return profile;
}

TEST_F(EngineTest, NoCrossingsMeansNoTextNoMarkAndReadValidUntouched) {
    for (bool flag : {false, true}) {
        core.ctx.run.ReadValid = flag;
        EXPECT_EQ(Read({255, 255, 255, 0, 0}), "");
        EXPECT_EQ(Read(Profile(30, 90)), "");
        EXPECT_EQ(Read({}), "");
        EXPECT_EQ(core.ctx.run.ReadValid, flag);
    }
    EXPECT_TRUE(core.ui.strips.empty());
}

TEST_F(EngineTest, NineBarsGoStraightToTheWideElementSearchTenTakeTheMainWay) {
    // Nine: the search fails (it draws its black line), the engine adds none.
    EXPECT_EQ(Read(EqualBars(9)), "");
    EXPECT_EQ(core.ui.StripsOf(StripColour::Black), 1);
    EXPECT_FALSE(core.ctx.run.ReadValid);
    EXPECT_TRUE(general.Scratch.RunString.empty());

    // Ten equal bars: all wide, so no quick read; Code 128 and the search fail
    // and the engine draws its own black line after the search's.
    core.ui.strips.clear();
    EXPECT_EQ(Read(EqualBars(10)), "");
    EXPECT_EQ(core.ui.StripsOf(StripColour::Black), 2);
    EXPECT_FALSE(core.ctx.run.ReadValid);
    EXPECT_TRUE(general.Scratch.RunString.empty()) << "equal bars are all wide: no quick read";
}

TEST_F(EngineTest, ABarOfWidthZeroEndsTheReadAfterTheQuickTry) {
    // Twelve bars on 0/255 (threshold 145), the first wide so that the quick
    // read is not tried, and in one space a smooth dip to exactly 145: a
    // single sample at the threshold, reached by steps too small to count in
    // the threshold choice.
    Profile plain = EqualBars(12, 8);
    Profile dipped = plain;
    Profile dip;
    for (int v = 245; v >= 145; v -= 10) dip.push_back(v);
    for (int v = 155; v <= 245; v += 10) dip.push_back(v);
    dipped.insert(dipped.begin() + 50, dip.begin(), dip.end());
    ASSERT_EQ(ChooseThreshold(plain), 145);
    ASSERT_EQ(ChooseThreshold(dipped), 145);

    EXPECT_EQ(Read(plain), "");
    EXPECT_EQ(core.ui.StripsOf(StripColour::Black), 2) << "Code 128 and the search were tried";

    core.ui.strips.clear();
    EXPECT_EQ(Read(dipped), "");
    EXPECT_TRUE(core.ui.strips.empty()) << "nothing after the guard";
}

TEST_F(EngineTest, CleanCode39ReadsQuicklyAndCode128ByWidths) {
    const auto code39 = testing::RenderModules(Symbology::Code39, "QSZ0123456");
    for (int moduleWidth : {2, 3, 5}) {
        core.ui.strips.clear();
        EXPECT_EQ(Read(testing::ProfileFromRuns(code39, moduleWidth)), "QSZ0123456") << moduleWidth;
        EXPECT_TRUE(core.ctx.run.ReadValid);
        EXPECT_TRUE(core.ctx.run.BarcodeSeen);
        EXPECT_EQ(general.Scratch.RunString.substr(0, 10), "bSbsBsBsbs") << "the quick read";
        ASSERT_EQ(core.ui.strips.size(), 1u);
        EXPECT_EQ(core.ui.strips[0].Colour, StripColour::Red);
    }

    const auto code128 = testing::RenderModules(Symbology::Code128, "QSZ0654321");
    for (int moduleWidth : {2, 3, 5}) {
        core.ui.strips.clear();
        EXPECT_EQ(Read(testing::ProfileFromRuns(code128, moduleWidth)), "QSZ0654321") << moduleWidth;
        EXPECT_TRUE(core.ctx.run.ReadValid);
        ASSERT_EQ(core.ui.strips.size(), 1u);
        EXPECT_EQ(core.ui.strips[0].Colour, StripColour::Red);
    }
}

TEST_F(EngineTest, ACode128WithAWrongCheckSymbolIsNotRead) {
    // Ten digits fill the format before the bound, so the check symbol is
    // read: a changed last digit pair must not pass as a barcode.
    core.settings().BarcodeFormat = "##########";
    auto modules = testing::RenderModules(Symbology::Code128, "1234567890");
    EXPECT_EQ(Read(testing::ProfileFromRuns(modules, 3)), "1234567890");
    // The pair 90 ("214121", after Start B, Code C and four pairs) becomes
    // 91 ("412121"): the data still fit the format, the check does not.
    const std::size_t pair = 6 * 6;
    ASSERT_EQ(modules[pair], 2);
    ASSERT_EQ(modules[pair + 2], 4);
    modules[pair] = 4;
    modules[pair + 2] = 2;
    EXPECT_EQ(Read(testing::ProfileFromRuns(modules, 3)), "");
}

TEST_F(EngineTest, ATextOfAnotherShapeIsNeverReturned) {
    const auto modules = testing::RenderModules(Symbology::Code39, "QSZ012345");
    EXPECT_EQ(Read(testing::ProfileFromRuns(modules, 4)), "");
    EXPECT_FALSE(core.ctx.run.ReadValid);
    EXPECT_EQ(core.ui.StripsOf(StripColour::Red), 0);

    core.settings().BarcodeFormat = "QSZ0#####";
    EXPECT_EQ(Read(testing::ProfileFromRuns(modules, 4)), "QSZ012345");
}

TEST_F(EngineTest, RandomSegmentsReadNothing) {
    std::mt19937 rng(9);
    for (int round = 0; round < 1500; ++round) {
        EXPECT_EQ(Read(testing::RandomProfile(rng)), "") << round;
        EXPECT_EQ(core.ui.StripsOf(StripColour::Red), 0);
    }
}

}  // namespace
}  // namespace tagmora
