#include <gtest/gtest.h>

#include <array>

#include "general/profile_builders.h"
#include "general/wide_element_decoding.h"
#include "general/wide_element_search.h"

namespace tagmora {
namespace {

using support::Profile;
using Elements = std::vector<Element>;

Elements Centres(std::initializer_list<float> centres) {
    Elements elements;
    for (float c : centres) elements.push_back({c, 1.0f});
    return elements;
}

// The wide bars and wide spaces of zint's Code 39 runs, a wide run `wide`
// units and a narrow one 1.
std::pair<Elements, Elements> WideCentres(std::string_view text, float wide) {
    Elements bars, spaces;
    float at = 0.0f;
    const std::vector<int> runs = support::Code39Runs(text);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const float width = runs[i] > 1 ? wide : 1.0f;
        if (runs[i] > 1) (i % 2 == 0 ? bars : spaces).push_back({at + width * 0.5f, width});
        at += width;
    }
    return {bars, spaces};
}

// Zint's Code 39 drawn with narrow and wide runs of the given samples, wide
// bars at 20, on light 230 (a speck of `dip` in the middle of each wide space).
struct Look {
    int narrow = 3, wide = 8;
    std::int32_t narrowBar = 20, narrowSpace = 230, wideSpace = 230, dip = 0;
};
Profile Drawn(const Look& look) {
    Profile profile(10, 230);
    const std::vector<int> runs = support::Code39Runs("QSZ0123456");
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const bool wide = runs[i] > 1, bar = i % 2 == 0;
        const std::size_t at = profile.size();
        profile.insert(profile.end(), static_cast<std::size_t>(wide ? look.wide : look.narrow),
                       bar ? (wide ? 20 : look.narrowBar) : (wide ? look.wideSpace : look.narrowSpace));
        if (wide && !bar && look.dip != 0) profile[at + static_cast<std::size_t>(look.wide / 2)] = look.dip;
    }
    profile.insert(profile.end(), 10, 230);
    return profile;
}
Profile Redrawn(int narrow, int wide) { return Drawn({.narrow = narrow, .wide = wide}); }

// `count` dark bars `width` wide, one every `pitch` samples from firstStart,
// and marks {start, width, level} drawn over them.
Profile EvenBars(int count, int firstStart, int pitch, int width, std::initializer_list<std::array<int, 3>> marks = {},
                 std::int32_t dark = 0, std::int32_t light = 255) {
    Profile profile(static_cast<std::size_t>(firstStart + pitch * count + 40), light);
    for (int b = 0; b < count; ++b) std::fill_n(profile.begin() + firstStart + pitch * b, width, dark);
    for (auto [start, markWidth, level] : marks) std::fill_n(profile.begin() + start, markWidth, level);
    return profile;
}

TEST(SymbolStartTest, TheFirstBarMovesBackByTwiceTheDistanceToTheSecond) {
    EXPECT_EQ(EstimateSymbolStart(40.0f, 52.0f), 16);
    EXPECT_EQ(EstimateSymbolStart(10.0f, 20.0f), -10);
    EXPECT_EQ(EstimateSymbolStart(10.0f, 15.25f), 0) << "-0.5 truncates toward zero";
    EXPECT_EQ(EstimateSymbolStart(10.0f, 14.75f), 0);
}

struct WideElementTest : support::GeneralTest {
    std::string Decode(const Elements& bars, const Elements& spaces) {
        readValid = true;
        return DecodeWideElements(At(3), bars, spaces);
    }
    std::string Search(Profile segment) {
        general.ProfileSegment = std::move(segment);
        readValid = false;
        return FindCode39WideElements(At(3));
    }
};

TEST_F(WideElementTest, NarrowCountsFollowFromTheDistancesInUnits) {
    const struct {
        const char* what;
        Elements bars, spaces;
        std::string runStart;
    } cases[] = {
        // Narrow 1, wide 3.5: unit 1.0, g = 5.5 (v = 1.738, n = 2), g = 4.5 (v = 0.869, n = 1).
        {"start character, wide 3.5", Centres({8.25f, 12.75f, 70, 80}), Centres({2.75f, 30, 40, 50, 60}), "bSbsBsB"},
        {"start character, wide 3 (unit 0.9)", Centres({7.5f, 11.5f, 70, 80}), Centres({2.5f, 30, 40, 50, 60}),
         "bSbsBsB"},
        // Unit 0.9, not 9 x 0.1f (one float step more): v = 1.0 gives two.
        {"unit the nearest float", Centres({4.18567324f, 9, 70, 80}), Centres({0, 30, 40, 50, 60}), "bSbsB"},
        // Unit 1. S0-B5 two, B5-B10 one, B10-S11 and S11-S12 too short for any
        // (an odd count of -1), S12-S30 13, S30-S40 5; the last mark is not
        // written, "Bsb" ends the string.
        {"even, odd, none", Centres({5, 10}), Centres({0, 11, 12, 30, 40}),
         "b"
         "S"
         "bs"
         "B"
         "s"
         "B"
         "S"
         "S"
         "bsbsbsbsbsbsb"
         "S"
         "bsbsb"
         "Bsb"},
        {"v just under 1: none", Centres({4.6502f, 10, 70, 80}), Centres({0, 30, 40, 50, 60}), "bSB"},
        {"two spaces 3.5 apart: v = 0, one bar", Centres({5, 10}), Centres({0, 11, 14.5f, 30, 40}), "bSbsBsBSbS"},
    };
    for (const auto& c : cases) {
        Decode(c.bars, c.spaces);
        EXPECT_EQ(general.Scratch.WideRunString.substr(0, c.runStart.size()), c.runStart) << c.what;
    }
    // A tiny unit cannot blow up the run string.
    EXPECT_EQ(Decode(Centres({10.0f, 10.000001f, 500, 900}), Centres({10.0f, 100, 200, 300, 400})), "");
    EXPECT_LT(general.Scratch.WideRunString.size(), 300u);
}

TEST_F(WideElementTest, RefusedInputsReturnNothingAndLeaveTheFlag) {
    const Elements fiveSpaces = Centres({2.75f, 25, 45, 65, 85});
    for (bool flag : {false, true}) {
        readValid = flag;
        EXPECT_EQ(DecodeWideElements(At(3), Centres({8.25f, 12.75f, 20, 30, 40, 50, 60, 70, 80, 90}), fiveSpaces), "");
        EXPECT_EQ(DecodeWideElements(At(3), Centres({8.25f, 12.75f}), Centres({2.75f, 25, 45, 65})), "");
        EXPECT_EQ(DecodeWideElements(At(3), Centres({8.25f}), fiveSpaces), "") << "no second bar";
        EXPECT_EQ(readValid, flag);
    }
    EXPECT_TRUE(core.ui.strips.empty());
    // The second bar not after the first space: no unit.
    EXPECT_EQ(Decode(Centres({1, 2.75f, 20, 30}), fiveSpaces), "");
    EXPECT_FALSE(readValid);
    EXPECT_EQ(Strips(StripColour::Black), 1);
    EXPECT_TRUE(general.Scratch.WideRunString.empty()) << "nothing rebuilt";
}

// The narrow counts come out right for wide-to-narrow ratios from about 2.3
// to 3.3; at 2 : 1 (zint's own Code 39) and at 3.5 : 1 the text is lost.
TEST_F(WideElementTest, WideCentresOfARealSymbolRebuildItsText) {
    for (float wide : {2.0f, 2.3f, 2.5f, 3.0f, 3.3f, 3.5f}) {
        const auto [bars, spaces] = WideCentres("QSZ0123456", wide);
        ASSERT_EQ(bars.size(), 24u);
        ASSERT_EQ(spaces.size(), 12u);
        const bool inRange = wide > 2.0f && wide < 3.5f;
        EXPECT_EQ(Decode(bars, spaces) == "QSZ0123456", inRange) << wide;
        EXPECT_EQ(readValid, inRange) << wide;
    }
    EXPECT_EQ(Strips(StripColour::Red), 4);
}

TEST_F(WideElementTest, HowTheSearchEnds) {
    const struct {
        const char* what;
        Profile segment;
        bool valid, drawn;
    } cases[] = {
        {"never exactly 2N dark runs", Profile(60, 128), false, true},
        {"never exactly 2N dark runs", EvenBars(20, 40, 10, 4), false, true},
        {"the first two wide bars centred at 10 and 20: L = -10", EvenBars(22, 40, 10, 3, {{9, 3, 0}, {19, 3, 0}}),
         true, false},
        // 23 bars at the darkest level, 26 five levels up: the two widest go,
        // and faint narrow ones at 10 and 20 lead.
        {"too many dark runs keep the narrowest: L < 0",
         EvenBars(23, 40, 10, 3, {{40, 6, 0}, {60, 6, 0}, {9, 3, 5}, {19, 3, 5}, {36, 2, 5}}), true, false},
        {"L = 0 goes on (and fails)", EvenBars(22, 40, 10, 3, {{9, 3, 0}, {14, 3, 0}}), false, true},
        {"24 bars at the darkest level, before faint ones join: goes on",
         EvenBars(24, 40, 10, 3, {{9, 2, 5}, {19, 2, 5}}), false, true},
        {"contrast under 10: the light end collects nothing, which is refused", EvenBars(24, 55, 10, 4, {}, 100, 108),
         true, false},
    };
    for (const auto& c : cases) {
        core.ui.strips.clear();
        EXPECT_EQ(Search(c.segment), "") << c.what;
        EXPECT_EQ(readValid, c.valid) << c.what;
        EXPECT_EQ(Strips(StripColour::Black) > 0, c.drawn) << c.what;
    }
    // A three-character format: ten wide bars, which the reconstruction
    // refuses, so the light end's try ends the search. Its first threshold is
    // 245: a bar's falling crossing at 55 lies at 55 - 245/255.
    core.settings().BarcodeFormat = "@@@";
    EXPECT_EQ(Search(EvenBars(10, 55, 10, 4)), "");
    EXPECT_TRUE(readValid);
    ASSERT_FALSE(general.EdgeList.empty());
    EXPECT_FLOAT_EQ(general.EdgeList[0].Position, 55.0f - 245.0f / 255.0f);
    EXPECT_TRUE(core.ui.strips.empty());
}

// Slightly blurred, narrow bars no longer reach the darkest level and the
// darkest runs are the wide bars, read from the light end. On a sharp line
// every bar reaches it, and the 24 narrowest of all 60 are narrow ones; wide
// bars twice as wide as narrow ones are beyond the reconstruction, blurred or
// not. The light end fails where every wide space has a speck that splits it
// near white (the middle up reads it) and where narrow spaces are as light as
// wide ones (the bright runs, above the brightest level less 15, read it).
TEST_F(WideElementTest, WhatTheSearchReads) {
    for (auto [narrow, wide] : {std::pair{2, 6}, std::pair{3, 9}, std::pair{4, 10}, std::pair{4, 12}}) {
        EXPECT_EQ(Search(support::Blurred(Redrawn(narrow, wide), narrow * 0.5)), "QSZ0123456") << narrow << ":" << wide;
        EXPECT_TRUE(readValid);
    }
    EXPECT_EQ(Search(Redrawn(3, 9)), "");
    for (int narrow : {3, 4, 6}) {
        EXPECT_EQ(Search(Redrawn(narrow, 2 * narrow)), "") << narrow;
        EXPECT_EQ(Search(support::Blurred(Redrawn(narrow, 2 * narrow), narrow * 0.5)), "") << narrow;
    }
    EXPECT_EQ(Search(Drawn({.narrowBar = 60, .narrowSpace = 100, .dip = 150})), "QSZ0123456");
    EXPECT_EQ(Search(Drawn({.narrowBar = 60, .narrowSpace = 218, .wideSpace = 218})), "QSZ0123456");
    EXPECT_TRUE(readValid);
}

TEST(BrightRunTest, RunsCountFromTheSampleAfterTheirFirstBrightOneAndArePlacedAtTheirStart) {
    using Triples = std::vector<std::array<std::int32_t, 3>>;  // Start, End, Count
    const struct {
        Profile segment;
        float last;
        Triples expected;
    } cases[] = {
        {{0, 0, 200, 0, 0, 0, 0, 0}, 7, {{3, 3, 0}}},                      // a single bright sample
        {{0, 0, 200, 200, 200, 200, 0, 0, 0, 0}, 9, {{3, 6, 3}}},          // 3, 4, 5 bright, 6 ends it
        {{0, 200, 200, 200, 200, 200, 200, 200, 200, 0}, 5, {{2, 4, 2}}},  // stops at the last wide bar
        {{0, 0, 0, 0}, 9, {}},                                             // dark to the end
        {{0, 0, 200, 200, 200}, 9, {{3, 3, 1}}},                           // one short of the end
        {{}, 9, {}},
        {{0, 100, 100, 0, 0, 0}, 5, {{2, 2, 0}}},  // a sample at the level starts a run and ends it
    };
    for (const auto& c : cases) {
        std::vector<BrightRun> runs;
        FindBrightRuns(c.segment, 100, 0, c.last, runs);
        Triples triples;
        for (const auto& r : runs) triples.push_back({r.Start, r.End, r.Count});
        EXPECT_EQ(triples, c.expected);
    }
    // A run is placed between the crossings around its start, or dropped.
    const std::vector<EdgeRecord> edges{{10.0f, 1}, {14.0f, 0}, {20.0f, 1}, {26.0f, 0}};
    // 5: nothing before it; 15: between 14 and 20; 21: between 20 and 26; 27: nothing at or beyond it.
    const std::vector<BrightRun> runs{{5, 8, 2}, {15, 19, 4}, {21, 25, 3}, {27, 30, 2}};
    Elements spaces;
    PlaceBrightRuns(edges, runs, spaces);
    ASSERT_EQ(spaces.size(), 2u);
    EXPECT_FLOAT_EQ(spaces[0].Position, 17.0f);
    EXPECT_FLOAT_EQ(spaces[1].Position, 23.0f);
    PlaceBrightRuns({}, runs, spaces);
    EXPECT_TRUE(spaces.empty());
}

// Random input may decode to a partial text, never to one accepted (ReadValid
// set on a non-empty text) nor marked red.
TEST_F(WideElementTest, RandomInputsNeverReadAndNeverOverrun) {
    std::mt19937 rng(13);
    const auto accepted = [&](const std::string& text) { return readValid && !text.empty(); };
    const auto randomCentres = [&](std::size_t count) {
        Elements elements(count, Element{0.0f, 1.0f});
        for (auto& e : elements) e.Position = static_cast<float>(rng() % 2000) / 3.0f;
        std::sort(elements.begin(), elements.end(), [](auto& a, auto& b) { return a.Position < b.Position; });
        return elements;
    };
    for (int round = 0; round < 1500; ++round) {
        EXPECT_FALSE(accepted(Search(support::RandomProfile(rng)))) << round;
        const Elements bars = randomCentres(rng() % 30);
        EXPECT_FALSE(accepted(Decode(bars, randomCentres(rng() % 15)))) << round;
    }
    EXPECT_EQ(Strips(StripColour::Red), 0);
}

}  // namespace
}  // namespace tagmora
