#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "general/line_scanning_engine.h"
#include "general/profile_builders.h"
#include "general/threshold_crossings.h"

namespace tagmora {
namespace {

using support::Profile;
using support::ProfileFromRuns;

using Crossing = std::pair<float, int>;  // Position, Falling

std::vector<Crossing> Crossings(Profile segment, std::int32_t threshold) {
    GeneralState general;
    general.EdgeList = {{1.0f, 1}, {2.0f, 0}};  // left by an earlier call: must go
    general.ProfileSegment = std::move(segment);
    ExtractCrossings(general, threshold);
    std::vector<Crossing> crossings;
    for (const EdgeRecord& e : general.EdgeList) crossings.push_back({e.Position, e.Falling});
    return crossings;
}

TEST(CrossingsTest, Cases) {
    const struct {
        const char* what;
        Profile segment;
        std::int32_t threshold;
        std::vector<Crossing> expected;
    } cases[] = {
        {"empty", {}, 100, {}},
        {"five samples or fewer", {250, 250, 250, 250, 0}, 100, {}},
        {"flat", Profile(50, 100), 100, {}},
        {"never at or below", {200, 200, 200, 200, 200, 150, 250, 101, 200}, 100, {}},
        {"never above", {0, 0, 0, 0, 0, 50, 100, 10, 100}, 100, {}},
        {"interpolated: 5 - 50/100, 8 - 30/80",
         {200, 200, 200, 200, 200, 100, 100, 100, 180, 180},
         150,
         {{4.5f, 1}, {7.625f, 0}}},
        {"a sample at the threshold is dark",
         {200, 200, 200, 200, 200, 200, 150, 100, 200},
         150,
         {{6.0f, 1}, {7.5f, 0}}},
        {"samples 0 to 3 never take part", {200, 200, 200, 200, 0, 0, 0}, 100, {}},
        {"sample 4 is a left neighbour", {200, 200, 200, 200, 200, 0, 0}, 100, {{4.5f, 1}}},
        {"a leading rising crossing is kept", {0, 0, 0, 0, 0, 200, 200, 0, 0}, 100, {{4.5f, 0}, {6.5f, 1}}},
        {"one sample at the threshold: a bar of width 0",
         {200, 200, 200, 200, 200, 200, 120, 200, 200, 40, 200},
         120,
         {{6.0f, 1}, {6.0f, 0}, {8.5f, 1}, {9.5f, 0}}},
    };
    for (const auto& c : cases) EXPECT_EQ(Crossings(c.segment, c.threshold), c.expected) << c.what;

    std::mt19937 rng(3);
    for (int round = 0; round < 2000; ++round) {
        const Profile segment = support::RandomProfile(rng);
        const auto threshold = static_cast<std::int32_t>(rng() % 300) - 20;
        const auto crossings = Crossings(segment, threshold);
        for (std::size_t k = 0; k < crossings.size(); ++k) {
            const auto [p, falling] = crossings[k];
            ASSERT_TRUE(p >= 4.0f && p <= static_cast<float>(segment.size() - 1));
            EXPECT_TRUE(k == 0 || (falling != crossings[k - 1].second && p >= crossings[k - 1].first)) << round;
            // A falling crossing lies on or after its first dark sample, a rising one on or after its last.
            EXPECT_LE(segment[static_cast<std::size_t>(falling ? std::ceil(p) : std::floor(p))], threshold);
        }
    }
}

TEST(ThresholdTest, SpecimenTalliesAndLevels) {
    const auto thresholdOf = [](std::initializer_list<std::int32_t> counts) {
        ThresholdTally t;
        std::int32_t level = 50;
        for (std::int32_t count : counts) t.Add(std::exchange(level, level + 5), count);
        return t.Threshold();
    };
    EXPECT_EQ(thresholdOf({3, 7, 7, 9, 9, 9, 4}), 70);
    EXPECT_EQ(thresholdOf({5, 5, 8, 2}), 57) << "high is not reset by a new best";
    EXPECT_EQ(thresholdOf({0}), 25);

    EXPECT_EQ(ChooseThreshold(Profile(40, 200)), 100) << "flat: one level, no crossing";
    EXPECT_EQ(ChooseThreshold(Profile(40, 30)), 25);
    EXPECT_EQ(ChooseThreshold({}), 25);
    // mn 100, mx 112: the first level is already too near the brightest and
    // the only one tried (a second would give 52).
    EXPECT_EQ(ChooseThreshold(Profile{100, 112, 100, 112, 100, 112, 100, 112}), 50);
    const int runs[] = {2, 2, 2, 2, 2, 2};
    EXPECT_EQ(ChooseThreshold(ProfileFromRuns(runs, 3)), 132) << "levels 50 to 215 all count the same";
    // Steps of 15 are not counted: low stays 0.
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
    const float e24 = std::ldexp(1.0f, -24), e23 = std::ldexp(1.0f, -23), e22 = std::ldexp(1.0f, -22);
    const std::pair<std::vector<Element>, std::size_t> trims[] = {
        {Widths({3, 4, 4, 9, 20}), 3},       // 20 > 1.5 x 9, 9 > 1.5 x 4
        {Widths({1, 100}), 1},               // one always stays
        {Widths({2, 4, 6}), 3},              // not more than 1.5 x 4
        {Widths({1 + e23, 1.5f + e22}), 1},  // more than 1.5 x, though 1.5f x (1 + e23) rounds to it
    };
    for (auto [spaces, left] : trims) {
        TrimOverWideSpaces(spaces);
        EXPECT_EQ(spaces.size(), left);
    }
    EXPECT_FLOAT_EQ(WidthLimit(Widths({3, 4, 4})), 3.5f);
    EXPECT_FLOAT_EQ(WidthLimit(Widths({1, 2, 3})), 1.5f) << "ties keep the first pair";
    EXPECT_FLOAT_EQ(WidthLimit(Widths({1, 1, 3, 3, 7})), 5.0f);
    EXPECT_FLOAT_EQ(WidthLimit(Widths({4, 4, 4})), 0.0f);
    EXPECT_FLOAT_EQ(WidthLimit(Widths({4})), 0.0f);
    // The gap e24 .. 1 + e22 is smaller than the last, though in float it rounds up to it.
    EXPECT_GT(WidthLimit(Widths({0, e24, 1 + e22, 2 + 2 * e22})), 1.0f);
}

struct EngineTest : support::GeneralTest {
    std::string Read(Profile segment) {
        general.ProfileSegment = std::move(segment);
        return ReadSegment(At(7));
    }
};

// `bars` bars of 4 samples between spaces of 4, the first bar `firstBar` wide.
Profile EqualBars(int bars, int firstBar = 4) {
    std::vector<int> runs;
    for (int b = 0; b < bars; ++b) runs.insert(runs.end(), {b == 0 ? firstBar : 4, 4});
    return ProfileFromRuns(runs, 1, 0, 255, 20);
}

TEST_F(EngineTest, HowALineEndsUnread) {
    // No crossing: no text, no mark, ReadValid untouched.
    for (bool flag : {false, true}) {
        readValid = flag;
        for (const Profile& p : {Profile{255, 255, 255, 0, 0}, Profile(30, 90), Profile{}}) EXPECT_EQ(Read(p), "");
        EXPECT_EQ(readValid, flag);
    }
    EXPECT_TRUE(core.ui.strips.empty());
    // Nine bars go straight to the search, which draws its black line, the
    // engine none. Ten equal bars are all wide (no quick read); Code 128 and
    // the search fail, and the engine draws its own black line after the search's.
    EXPECT_EQ(Read(EqualBars(9)), "");
    EXPECT_EQ(Strips(StripColour::Black), 1);
    EXPECT_EQ(Read(EqualBars(10)), "");
    EXPECT_EQ(Strips(StripColour::Black), 3);
    EXPECT_FALSE(readValid);
    EXPECT_TRUE(general.Scratch.RunString.empty()) << "no quick read";
    // Twelve bars on 0/255 (threshold 145), the first wide so that the quick
    // read is not tried, and in one space a smooth dip to exactly 145: one
    // sample at the threshold, a bar of width 0, reached by steps too small
    // to count in the threshold choice. Nothing is tried after the quick read.
    const Profile plain = EqualBars(12, 8);
    Profile dipped = plain;
    for (int k = -10; k <= 10; ++k) dipped.insert(dipped.begin() + 60 + k, 145 + 10 * std::abs(k));
    ASSERT_EQ(ChooseThreshold(plain), 145);
    ASSERT_EQ(ChooseThreshold(dipped), 145);
    core.ui.strips.clear();
    EXPECT_EQ(Read(plain), "");
    EXPECT_EQ(Strips(StripColour::Black), 2) << "Code 128 and the search were tried";
    EXPECT_EQ(Read(dipped), "");
    EXPECT_EQ(core.ui.strips.size(), 2u) << "nothing after the guard";
}

TEST_F(EngineTest, CleanCode39ReadsQuicklyAndCode128ByWidths) {
    const std::vector<int> code39 = support::Code39Runs("QSZ0123456");
    std::string letters;
    for (std::size_t i = 0; i < code39.size(); ++i) letters += (i % 2 == 0 ? "bB" : "sS")[code39[i] > 1 ? 1 : 0];
    for (int moduleWidth : {2, 3, 5}) {
        core.ui.strips.clear();
        EXPECT_EQ(Read(ProfileFromRuns(code39, moduleWidth)), "QSZ0123456");
        EXPECT_TRUE(readValid && StartSeen());
        EXPECT_EQ(general.Scratch.RunString, letters) << "the quick read, its last bar added";
        EXPECT_EQ(Read(ProfileFromRuns(support::Code128Runs("QSZ0654321"), moduleWidth)), "QSZ0654321");
        EXPECT_TRUE(readValid);
        EXPECT_EQ(Strips(StripColour::Red), 2);
        EXPECT_EQ(core.ui.strips.size(), 2u);
    }
    // Narrow bar, wide space, narrow bar, wide space before the sharp symbol:
    // no quick read, and the other tries cannot read it.
    std::vector<int> runs{1, 2, 1, 2};
    runs.insert(runs.end(), code39.begin(), code39.end());
    general.Scratch.RunString.clear();
    EXPECT_EQ(Read(ProfileFromRuns(runs, 3)), "");
    EXPECT_TRUE(general.Scratch.RunString.empty());
}

TEST_F(EngineTest, NoMisreadIsReturned) {
    // A text of another shape.
    const auto code39 = support::Code39Runs("QSZ012345");
    EXPECT_EQ(Read(ProfileFromRuns(code39, 4)), "");
    EXPECT_FALSE(readValid);
    EXPECT_EQ(Strips(StripColour::Red), 0);
    core.settings().BarcodeFormat = "QSZ0#####";
    EXPECT_EQ(Read(ProfileFromRuns(code39, 4)), "QSZ012345");
    // Ten digits fill the format before the bound, so the check is read. The
    // pair 90 ("214121", after Start B, Code C and four pairs) made 91
    // ("412121") still fits the format, the check does not.
    core.settings().BarcodeFormat = "##########";
    auto code128 = support::Code128Runs("1234567890");
    EXPECT_EQ(Read(ProfileFromRuns(code128, 3)), "1234567890");
    ASSERT_EQ(code128[36] * 10 + code128[38], 24);
    std::swap(code128[36], code128[38]);
    EXPECT_EQ(Read(ProfileFromRuns(code128, 3)), "");
    // Random lines.
    core.settings().BarcodeFormat = "QSZ0######";
    std::mt19937 rng(9);
    for (int round = 0; round < 1500; ++round) EXPECT_EQ(Read(support::RandomProfile(rng)), "") << round;
    EXPECT_EQ(Strips(StripColour::Red), 2);
}

}  // namespace
}  // namespace tagmora
