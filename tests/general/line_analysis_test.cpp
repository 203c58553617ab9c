#include "general/line_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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

// Light with `edges` steps to dark and back, the first at sample `first`, one
// every `spacing` samples, then light up to `length` samples.
Profile SquareWave(std::size_t length, std::size_t first, std::size_t edges, std::size_t spacing) {
    Profile profile(length, 230);
    bool dark = false;
    for (std::size_t e = 0; e < edges; ++e) {
        dark = !dark;
        const std::size_t from = first + e * spacing;
        const std::size_t to = e + 1 < edges ? from + spacing : length;
        for (std::size_t i = from; i < to && i < length; ++i) profile[i] = dark ? 20 : 230;
    }
    return profile;
}

std::vector<float> EdgePositions(const Profile& profile) {
    std::vector<EdgeRecord> edges;
    FindEdges(profile, edges);
    std::vector<float> positions;
    for (const auto& e : edges) positions.push_back(e.Position);
    return positions;
}

TEST(EdgeTest, AStepOfMoreThanTenIsAnEdgeEitherWayButNotAtTheLastSample) {
    EXPECT_EQ(EdgePositions({100, 110, 100, 100}), std::vector<float>{});
    EXPECT_EQ(EdgePositions({100, 111, 100, 100}), (std::vector<float>{1, 2}));
    EXPECT_EQ(EdgePositions({111, 100, 100}), std::vector<float>{1});
    EXPECT_EQ(EdgePositions({100, 100, 200}), std::vector<float>{}) << "the last sample is not compared";
    EXPECT_EQ(EdgePositions({}), std::vector<float>{});
    EXPECT_EQ(EdgePositions({0}), std::vector<float>{});
}

using Triple = std::array<std::int32_t, 3>;  // Start, End, Count

std::vector<Triple> Clusters(std::initializer_list<float> positions) {
    std::vector<EdgeRecord> edges;
    for (float p : positions) edges.push_back({p, 0});
    std::vector<EdgeCluster> clusters;
    BuildEdgeClusters(edges, clusters);
    std::vector<Triple> triples;
    for (const auto& c : clusters) triples.push_back({c.Start, c.End, c.Count});
    return triples;
}

TEST(EdgeClusterTest, AGapOf35SamplesEndsAClusterAndALoneLastEdgeFormsNone) {
    EXPECT_EQ(Clusters({200, 234}), (std::vector<Triple>{{200, 234, 1}}));
    EXPECT_EQ(Clusters({200, 235}), (std::vector<Triple>{{200, 200, 0}}));
    EXPECT_EQ(Clusters({10, 20, 30, 100, 110, 300}), (std::vector<Triple>{{10, 30, 2}, {100, 110, 1}}));
    EXPECT_EQ(Clusters({10, 100, 200}), (std::vector<Triple>{{10, 10, 0}, {100, 100, 0}}));
    EXPECT_TRUE(Clusters({7}).empty());
    EXPECT_TRUE(Clusters({}).empty());
}

struct LineAnalysisTest : ::testing::Test {
    TestCore core;
    GeneralState& general = core.state.general;

    void SetUp() override { core.settings().ModeIndex = 1; }  // Demo/Debug: every line tried is drawn

    // The profile as a row of a bitmap just wide enough for it (or a column
    // of one just high enough).
    std::string Analyse(Profile profile, bool vertical = false) {
        core.ctx.run.VerticalScan = vertical;
        const auto n = static_cast<std::int32_t>(profile.size());
        if (vertical)
            core.state.bitmap.Resize(3, n);
        else
            core.state.bitmap.Resize(n + 2, 5);
        general.LineProfile = std::move(profile);
        general.ProfileSegment = {-7};  // shows whether anything reached the engine
        core.ctx.run.ReadValid = false;
        return AnalyseLineProfile(core.ctx, 3);
    }
    bool EngineReached() const { return general.ProfileSegment != Profile{-7}; }
};

TEST_F(LineAnalysisTest, FewerThanFiftyEdgesEndsAtOnceWithReadValidSet) {
    EXPECT_EQ(Analyse(SquareWave(400, 20, 49, 4)), "");
    EXPECT_EQ(general.EdgeList.size(), 49u);
    EXPECT_TRUE(core.ctx.run.ReadValid);
    EXPECT_FALSE(EngineReached());
}

TEST_F(LineAnalysisTest, AClusterNeedsFiftyTwoEdgesToReachTheEngine) {
    for (std::size_t edges : {50u, 51u}) {
        EXPECT_EQ(Analyse(SquareWave(400, 20, edges, 4)), "");
        EXPECT_FALSE(core.ctx.run.ReadValid) << edges;
        EXPECT_FALSE(EngineReached()) << edges;
    }
    EXPECT_EQ(Analyse(SquareWave(400, 20, 52, 4)), "");
    EXPECT_TRUE(EngineReached());
    EXPECT_FALSE(core.ctx.run.ReadValid);
}

TEST_F(LineAnalysisTest, TheSegmentIsTheClusterWithMarginsHandedOverReversedAfterAFailure) {
    const Profile profile = SquareWave(400, 30, 60, 4);  // edges 30 .. 266
    EXPECT_EQ(Analyse(profile), "");
    EXPECT_EQ(general.BandStart, 20);
    EXPECT_EQ(general.BandEnd, 276);
    Profile expected(profile.begin() + 20, profile.begin() + 276);
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(general.ProfileSegment, expected);
    EXPECT_EQ(core.ui.StripsOf(StripColour::Red), 0);
    EXPECT_GE(core.ui.StripsOf(StripColour::Black), 2) << "the engine tried both directions";
}

TEST_F(LineAnalysisTest, TheSegmentStaysWithinTheProfileAndTheBitmap) {
    // A cluster starting at sample 5: the segment starts at 1, not 0.
    Analyse(SquareWave(300, 5, 60, 4));
    EXPECT_EQ(general.BandStart, 1);

    // A cluster ending near the end: a row ends with the last sample, a
    // column one sample before it.
    const Profile tail = SquareWave(300, 60, 60, 4);  // last edge at 296
    Analyse(tail);
    EXPECT_EQ(general.BandEnd, 300);
    EXPECT_EQ(general.ProfileSegment.size(), 300u - 50u);
    Analyse(tail, true);
    EXPECT_EQ(general.BandEnd, 299);
    EXPECT_EQ(general.ProfileSegment.size(), 299u - 50u);
}

Profile Concatenate(const Profile& a, const Profile& b) {
    Profile joined = a;
    joined.insert(joined.end(), b.begin(), b.end());
    return joined;
}

TEST_F(LineAnalysisTest, TheDensestClusterGoesFirstAndAReadEndsTheLine) {
    const auto modules = testing::RenderModules(Symbology::Code39, "QSZ0123456");
    const Profile barcode = testing::ProfileFromRuns(modules, 3);  // 118 edges

    // The barcode is denser than the junk after it: read at once, and the junk
    // is never looked at.
    const Profile fewJunk = SquareWave(400, 100, 60, 4);
    EXPECT_EQ(Analyse(Concatenate(barcode, fewJunk)), "QSZ0123456");
    EXPECT_TRUE(core.ctx.run.ReadValid);
    EXPECT_LT(general.BandEnd, static_cast<std::int32_t>(barcode.size()));
    ASSERT_EQ(core.ui.strips.size(), 1u);
    EXPECT_EQ(core.ui.strips[0].Colour, StripColour::Red);

    // Junk denser than the barcode goes first, in both directions, and fails.
    core.ui.strips.clear();
    const Profile muchJunk = SquareWave(800, 100, 160, 4);
    EXPECT_EQ(Analyse(Concatenate(muchJunk, barcode)), "QSZ0123456");
    EXPECT_GT(general.BandStart, 700);
    ASSERT_GE(core.ui.strips.size(), 3u);
    EXPECT_EQ(core.ui.strips.back().Colour, StripColour::Red);
    EXPECT_EQ(core.ui.StripsOf(StripColour::Red), 1);
}

TEST_F(LineAnalysisTest, RandomProfilesNeverReadAndStayInBounds) {
    std::mt19937 rng(5);
    for (int round = 0; round < 1000; ++round) {
        Profile profile = testing::RandomProfile(rng);
        const std::size_t n = profile.size();
        EXPECT_EQ(Analyse(std::move(profile), rng() % 2 == 1), "") << round;
        if (EngineReached()) {
            EXPECT_GE(general.BandStart, 1);
            EXPECT_LE(general.BandEnd, static_cast<std::int32_t>(n));
            EXPECT_EQ(general.ProfileSegment.size(), static_cast<std::size_t>(general.BandEnd - general.BandStart));
        }
    }
}

}  // namespace
}  // namespace tagmora
