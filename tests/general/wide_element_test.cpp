#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "app/context.h"
#include "general/profile_builders.h"
#include "general/wide_element_decoding.h"
#include "general/wide_element_search.h"
#include "support/barcode_render.h"
#include "support/fake_front_end.h"

namespace tagmora {
namespace {

using testing::Symbology;
using testing::TestCore;
using Profile = std::vector<std::int32_t>;
using Elements = std::vector<Element>;

Elements Centres(std::initializer_list<float> centres) {
    Elements elements;
    for (float c : centres) elements.push_back({c, 1.0f});
    return elements;
}

// The centres of the wide bars and wide spaces of a symbol laid out from
// module runs, a wide module run being `wide` units and a narrow one 1.
void WideCentres(const std::vector<int>& runs, float wide, Elements& bars, Elements& spaces) {
    float at = 0.0f;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const float width = runs[i] > 1 ? wide : 1.0f;
        if (runs[i] > 1) (i % 2 == 0 ? bars : spaces).push_back({at + width * 0.5f, width});
        at += width;
    }
}

TEST(SymbolStartTest, TheFirstBarMovesBackByTwiceTheDistanceToTheSecond) {
    EXPECT_EQ(EstimateSymbolStart(40.0f, 52.0f), 16);
    EXPECT_EQ(EstimateSymbolStart(10.0f, 20.0f), -10);
    EXPECT_EQ(EstimateSymbolStart(10.0f, 15.25f), 0) << "-0.5 truncates toward zero";
    EXPECT_EQ(EstimateSymbolStart(10.0f, 14.75f), 0);
}

struct WideElementTest : ::testing::Test {
    TestCore core;
    GeneralState& general = core.state.general;

    void SetUp() override { core.settings().ModeIndex = 1; }  // Demo/Debug: failures are drawn too

    std::string Decode(const Elements& bars, const Elements& spaces) {
        core.ctx.run.ReadValid = true;
        return DecodeWideElements(core.ctx, bars, spaces, 3);
    }
    const std::string& RunString() const { return general.Scratch.WideRunString; }

    std::string Search(Profile segment) {
        general.ProfileSegment = std::move(segment);
        core.ctx.run.ReadValid = false;
        return FindCode39WideElements(core.ctx, 3);
    }
};

TEST_F(WideElementTest, TheStartCharacterFixesTheUnitAndTheNarrowCounts) {
    // Narrow 1, wide 3.5: the wide space at 2.75, the wide bars at 8.25 and
    // 12.75, unit 1.0; narrow counts 2 and 1.
    const Elements spaces = Centres({2.75f, 30, 40, 50, 60});
    Decode(Centres({8.25f, 12.75f, 70, 80}), spaces);
    EXPECT_EQ(RunString().substr(0, 7), "bSbsBsB");
    // Narrow 1, wide 3: centres 2.5, 7.5, 11.5, unit 0.9; the same counts.
    Decode(Centres({7.5f, 11.5f, 70, 80}), Centres({2.5f, 30, 40, 50, 60}));
    EXPECT_EQ(RunString().substr(0, 7), "bSbsBsB");
}

TEST_F(WideElementTest, TheUnitIsTheNearestFloatToATenthOfTheDistance) {
    // Unit 0.9 (not 9 x 0.1f, one float step more): the first gap of 4.18567324
    // samples gives v = 1.0 and two narrow elements.
    Decode(Centres({4.18567324f, 9, 70, 80}), Centres({0, 30, 40, 50, 60}));
    EXPECT_EQ(RunString().substr(0, 5), "bSbsB");
}

TEST_F(WideElementTest, NarrowCountsAreEvenBetweenKindsOddWithinAKindNoneForShortGaps) {
    // Unit 1 (second bar 10 from the first space). Gaps: S0-B5 two, B5-B10
    // one, B10-S11 too short (none), S11-S12 too short (none), S12-S30 13,
    // S30-S40 5; the last mark is not written, "Bsb" ends the string.
    Decode(Centres({5, 10}), Centres({0, 11, 12, 30, 40}));
    EXPECT_EQ(RunString(), "b" "S" "bs" "B" "s" "B" "S" "S" "bsbsbsbsbsbsb" "S" "bsbsb" "Bsb");
    // Two spaces 3.5 units apart (v = 0): one narrow bar between them.
    Decode(Centres({5, 10}), Centres({0, 11, 14.5f, 30, 40}));
    EXPECT_EQ(RunString().substr(7, 4), "SbSb");
}

TEST_F(WideElementTest, ATinyUnitCannotBlowUpTheRunString) {
    const Elements bars = Centres({10.0f, 10.000001f, 500, 900});
    EXPECT_EQ(Decode(bars, Centres({10.0f, 100, 200, 300, 400})), "");
    EXPECT_LT(RunString().size(), 300u);
}

TEST_F(WideElementTest, RefusedInputsReturnNothingAndLeaveTheFlag) {
    const Elements ten = Centres({8.25f, 12.75f, 20, 30, 40, 50, 60, 70, 80, 90});
    const Elements fiveSpaces = Centres({2.75f, 25, 45, 65, 85});
    for (bool flag : {false, true}) {
        core.ctx.run.ReadValid = flag;
        EXPECT_EQ(DecodeWideElements(core.ctx, ten, fiveSpaces, 3), "");
        EXPECT_EQ(DecodeWideElements(core.ctx, Centres({8.25f, 12.75f}), Centres({2.75f, 25, 45, 65}), 3), "");
        EXPECT_EQ(DecodeWideElements(core.ctx, Centres({8.25f}), fiveSpaces, 3), "") << "no second bar";
        EXPECT_EQ(core.ctx.run.ReadValid, flag);
    }
    EXPECT_TRUE(core.ui.strips.empty());

    // The second bar not after the first space: no unit.
    EXPECT_EQ(Decode(Centres({1, 2.75f, 20, 30}), fiveSpaces), "");
    EXPECT_FALSE(core.ctx.run.ReadValid);
    EXPECT_EQ(core.ui.StripsOf(StripColour::Black), 1);
}

TEST_F(WideElementTest, WideCentresOfARealSymbolRebuildItsText) {
    const auto runs = testing::RenderModules(Symbology::Code39, "QSZ0123456");
    for (float wide : {2.3f, 2.5f, 3.0f, 3.3f}) {
        Elements bars, spaces;
        WideCentres(runs, wide, bars, spaces);
        ASSERT_EQ(bars.size(), 24u);
        ASSERT_EQ(spaces.size(), 12u);
        core.ui.strips.clear();
        EXPECT_EQ(Decode(bars, spaces), "QSZ0123456") << "wide " << wide;
        EXPECT_TRUE(core.ctx.run.ReadValid);
        EXPECT_EQ(core.ui.StripsOf(StripColour::Red), 1);
    }
}

Profile EvenBars(std::size_t count, int firstStart, int pitch, int width, std::int32_t dark = 0, std::int32_t light = 255) {
    Profile profile(static_cast<std::size_t>(firstStart + pitch * static_cast<int>(count) + 40), light);
    for (std::size_t b = 0; b < count; ++b)
        std::fill_n(profile.begin() + firstStart + pitch * static_cast<int>(b), width, dark);
    return profile;
}

// The narrow counts come out right for wide-to-narrow ratios from about 2.3
// to 3.3. At 2 : 1 (zint's own Code 39) and at 3.5 : 1 they do not, and the
// text is lost.
TEST_F(WideElementTest, RatiosOutsideTheReconstructionsRangeAreLost) {
    const auto runs = testing::RenderModules(Symbology::Code39, "QSZ0123456");
    for (float wide : {2.0f, 3.5f}) {
        Elements bars, spaces;
        WideCentres(runs, wide, bars, spaces);
        EXPECT_NE(Decode(bars, spaces), "QSZ0123456") << wide;
        EXPECT_FALSE(core.ctx.run.ReadValid);
    }
}

TEST_F(WideElementTest, WithoutExactlyTwoNWideBarsTheSearchFailsAndDraws) {
    EXPECT_EQ(Search(Profile(60, 128)), "");
    EXPECT_EQ(Search(EvenBars(20, 40, 10, 4)), "");
    EXPECT_FALSE(core.ctx.run.ReadValid);
    EXPECT_EQ(core.ui.StripsOf(StripColour::Black), 2);
}

TEST_F(WideElementTest, ASymbolStartBeforeTheSegmentEndsTheSearchQuietly) {
    // 24 bars, the first two centred at 10 and 20: L = -10.
    Profile profile = EvenBars(22, 40, 10, 3);
    std::fill_n(profile.begin() + 9, 3, 0);
    std::fill_n(profile.begin() + 19, 3, 0);
    EXPECT_EQ(Search(profile), "");
    EXPECT_TRUE(core.ctx.run.ReadValid);
    EXPECT_TRUE(core.ui.strips.empty());
}

TEST_F(WideElementTest, TooManyDarkRunsKeepTheNarrowestTwoN) {
    // At the darkest level 23 bars; five levels up three faint ones join (26):
    // the two widest go, and the faint narrow ones at 10 and 20 lead (L < 0).
    Profile profile = EvenBars(23, 40, 10, 3);
    std::fill_n(profile.begin() + 40, 6, 0);
    std::fill_n(profile.begin() + 60, 6, 0);
    std::fill_n(profile.begin() + 9, 3, 5);
    std::fill_n(profile.begin() + 19, 3, 5);
    std::fill_n(profile.begin() + 36, 2, 5);
    EXPECT_EQ(Search(profile), "");
    EXPECT_TRUE(core.ctx.run.ReadValid) << "the wide bars were found and L < 0 ended the search";
    EXPECT_TRUE(core.ui.strips.empty());
}

TEST_F(WideElementTest, RefusedWideSpacesEndTheSearchAfterTheLightEnd) {
    // A three-character format: ten wide bars, which the reconstruction refuses.
    core.settings().BarcodeFormat = "@@@";
    EXPECT_EQ(Search(EvenBars(10, 55, 10, 4)), "");
    EXPECT_TRUE(core.ctx.run.ReadValid);
    EXPECT_TRUE(core.ui.strips.empty());
    // The light end's first threshold is 245: a bar's falling crossing at
    // sample 55 lies at 55 - 245/255.
    ASSERT_FALSE(general.EdgeList.empty());
    EXPECT_FLOAT_EQ(general.EdgeList[0].Position, 55.0f - 245.0f / 255.0f);

    // Contrast under 10: the light end collects nothing, also refused.
    core.settings().BarcodeFormat = "QSZ0######";
    EXPECT_EQ(Search(EvenBars(24, 55, 10, 4, 100, 108)), "");
    EXPECT_TRUE(core.ctx.run.ReadValid);
    EXPECT_TRUE(core.ui.strips.empty());
}

// Module runs of zint's Code 39 (1 narrow, 2 wide) redrawn with the given
// narrow and wide widths in samples.
std::vector<int> Redrawn(const std::vector<int>& runs, int narrow, int wide) {
    std::vector<int> redrawn;
    for (int r : runs) redrawn.push_back(r > 1 ? wide : narrow);
    return redrawn;
}

// Slightly blurred, narrow bars no longer reach the darkest level: the darkest
// dark runs are the wide bars and the search finds the symbol.
TEST_F(WideElementTest, ABlurredSymbolIsFoundFromItsWideElementsAlone) {
    const auto runs = testing::RenderModules(Symbology::Code39, "QSZ0123456");
    for (auto [narrow, wide] : {std::pair{2, 6}, std::pair{3, 9}, std::pair{4, 10}, std::pair{4, 12}}) {
        const auto sharp = testing::ProfileFromRuns(Redrawn(runs, narrow, wide), 1, 20, 230, 10);
        EXPECT_EQ(Search(testing::Blurred(sharp, narrow * 0.5)), "QSZ0123456") << narrow << ":" << wide;
        EXPECT_TRUE(core.ctx.run.ReadValid);
    }
}

// Cases the search cannot read. On a perfectly sharp line every bar reaches
// the darkest level, so the darkest threshold shows all 60 bars and the 24
// narrowest kept are narrow ones (here giving a symbol start before the
// segment). And wide bars twice as wide as narrow ones are beyond the
// reconstruction, blurred or not.
TEST_F(WideElementTest, SharpLinesAndWideTwiceNarrowAreBeyondTheSearch) {
    const auto runs = testing::RenderModules(Symbology::Code39, "QSZ0123456");
    const auto sharp = testing::ProfileFromRuns(Redrawn(runs, 3, 9), 1, 20, 230, 10);
    EXPECT_EQ(Search(sharp), "");
    for (int narrow : {3, 4, 6}) {
        const auto twice = testing::ProfileFromRuns(Redrawn(runs, narrow, 2 * narrow), 1, 20, 230, 10);
        EXPECT_EQ(Search(twice), "") << narrow;
        EXPECT_EQ(Search(testing::Blurred(twice, narrow * 0.5)), "") << narrow;
    }
}

std::vector<std::array<std::int32_t, 3>> Runs(const Profile& segment, std::int32_t level, std::int32_t from, float last) {
    std::vector<EdgeCluster> runs;
    FindBrightRuns(segment, level, from, last, runs);
    std::vector<std::array<std::int32_t, 3>> triples;
    for (const auto& r : runs) triples.push_back({r.Start, r.End, r.Count});
    return triples;
}

TEST(BrightRunTest, RunsCountFromTheSampleAfterTheirFirstBrightOne) {
    using T = std::vector<std::array<std::int32_t, 3>>;
    // A single bright sample at 2: the run starts at 3 with Count 0.
    EXPECT_EQ(Runs({0, 0, 200, 0, 0, 0, 0, 0}, 100, 0, 7.0f), (T{{3, 3, 0}}));
    // Bright 2..5: Start 3, the samples 3, 4, 5 are bright (Count 3), 6 ends it.
    EXPECT_EQ(Runs({0, 0, 200, 200, 200, 200, 0, 0, 0, 0}, 100, 0, 9.0f), (T{{3, 6, 3}}));
    // A run that reaches the last wide bar's centre stops there.
    EXPECT_EQ(Runs({0, 200, 200, 200, 200, 200, 200, 200, 200, 0}, 100, 0, 5.0f), (T{{2, 4, 2}}));
    // Dark to the end: the search ends; a bright run at the end stops one short.
    EXPECT_EQ(Runs({0, 0, 0, 0}, 100, 0, 9.0f), T{});
    EXPECT_EQ(Runs({0, 0, 200, 200, 200}, 100, 0, 9.0f), (T{{3, 3, 1}}));
    EXPECT_EQ(Runs({}, 100, 0, 9.0f), T{});
}

TEST(BrightRunTest, ARunIsPlacedBetweenTheCrossingsAroundItsStartOrDropped) {
    const std::vector<EdgeRecord> edges{{10.0f, 1}, {14.0f, 0}, {20.0f, 1}, {26.0f, 0}};
    const std::vector<EdgeCluster> runs{{5, 8, 2}, {15, 19, 4}, {21, 25, 3}, {27, 30, 2}};
    Elements spaces;
    PlaceBrightRuns(edges, runs, spaces);
    // 5: nothing before it, dropped; 15: between 14 and 20; 21: between 20
    // and 26; 27: nothing at or beyond it, dropped.
    ASSERT_EQ(spaces.size(), 2u);
    EXPECT_FLOAT_EQ(spaces[0].Position, 17.0f);
    EXPECT_FLOAT_EQ(spaces[1].Position, 23.0f);
    PlaceBrightRuns({}, runs, spaces);
    EXPECT_TRUE(spaces.empty());
}

// Random input may decode to a partial text; it must never be one that is
// accepted (ReadValid set on a non-empty text) nor be marked red.
TEST_F(WideElementTest, RandomInputsNeverReadAndNeverOverrun) {
    std::mt19937 rng(13);
    const auto accepted = [&](const std::string& text) { return core.ctx.run.ReadValid && !text.empty(); };
    for (int round = 0; round < 1500; ++round) {
        EXPECT_FALSE(accepted(Search(testing::RandomProfile(rng)))) << round;
        Elements bars, spaces;
        const std::size_t barCount = rng() % 30, spaceCount = rng() % 15;
        for (std::size_t i = 0; i < barCount; ++i) bars.push_back({static_cast<float>(rng() % 2000) / 3.0f, 1.0f});
        for (std::size_t i = 0; i < spaceCount; ++i) spaces.push_back({static_cast<float>(rng() % 2000) / 3.0f, 1.0f});
        std::sort(bars.begin(), bars.end(), [](auto& a, auto& b) { return a.Position < b.Position; });
        std::sort(spaces.begin(), spaces.end(), [](auto& a, auto& b) { return a.Position < b.Position; });
        EXPECT_FALSE(accepted(Decode(bars, spaces))) << round;
    }
    EXPECT_EQ(core.ui.StripsOf(StripColour::Red), 0);
}

}  // namespace
}  // namespace tagmora
