// Sampling a scan line and finding the dense clusters of edges on it.
#include <gtest/gtest.h>

#include <array>

#include "general/line_analysis.h"
#include "general/profile_builders.h"
#include "general/scan_line_sampling.h"

namespace tagmora {
namespace {

using support::Profile;

struct ScanLineTest : support::GeneralTest {
    // A bitmap whose pixel (x, y) is (x + 7y) mod 256: every sample tells where it came from.
    void Fill(std::int32_t width, std::int32_t height) {
        core.state.bitmap.Resize(width, height);
        for (std::int32_t y = 0; y < height; ++y)
            for (std::int32_t x = 0; x < width; ++x)
                core.state.bitmap.Row(y)[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>((x + 7 * y) % 256);
    }
    // The line analysis sets ReadValid first: a cleared flag afterwards shows it never ran.
    std::string Sample(std::int32_t line, bool vertical = false) {
        core.ctx.run.VerticalScan = vertical;
        readValid = false;
        general.LineProfile.assign(3, -1);  // a stale profile must go
        return ReadingRig::Sample(line);
    }
    // The profile as a row of a bitmap just wide enough for it (or a column of one just high enough).
    std::string Analyse(Profile profile, bool vertical = false) {
        core.ctx.run.VerticalScan = vertical;
        const auto n = static_cast<std::int32_t>(profile.size());
        vertical ? core.state.bitmap.Resize(3, n) : core.state.bitmap.Resize(n + 2, 5);
        general.LineProfile = std::move(profile);
        general.ProfileSegment = {-7};  // shows whether anything reached the engine
        readValid = false;
        return AnalyseLineProfile(At(3), vertical ? n : n + 2);
    }
    bool EngineReached() const { return general.ProfileSegment != Profile{-7}; }
};

TEST_F(ScanLineTest, RowsAreMeansOfThreeRefusedNearTheEdgesColumnsArePixels) {
    Fill(10, 20);
    for (std::int32_t row : {-5, 0, 1, 19, 20, 100}) {
        EXPECT_EQ(Sample(row), "");
        EXPECT_TRUE(general.LineProfile.empty() && !readValid) << row;
    }
    for (std::int32_t row : {2, 5, 18}) {
        EXPECT_EQ(Sample(row), "");
        EXPECT_TRUE(readValid) << "the analysis ran (too few edges leaves the flag set)";
        Profile expected;  // sample i is column i + 1: a 10-pixel row gives 8
        for (std::int32_t x = 1; x <= 8; ++x) expected.push_back(x + 7 * row);
        EXPECT_EQ(general.LineProfile, expected) << row;
    }
    // The mean is truncated: 10, 20, 31 give 20; 255, 255, 254 give 254.
    const std::uint8_t levels[3][2] = {{10, 255}, {20, 255}, {31, 254}};
    core.state.bitmap.Resize(4, 6);
    for (int r = 0; r < 3; ++r) std::copy_n(levels[r], 2, core.state.bitmap.Row(2 + r).begin() + 1);
    Sample(3);
    EXPECT_EQ(general.LineProfile, (Profile{20, 254}));

    // Columns are read pixel by pixel, blank outside the bitmap.
    Fill(10, 20);
    for (std::int32_t column : {0, 9, 10, 11, -1}) {
        Sample(column, true);
        Profile expected(20, 255);
        for (std::int32_t y = 0; y < 20 && column >= 0 && column < 10; ++y)
            expected[static_cast<std::size_t>(y)] = column + 7 * y;
        EXPECT_EQ(general.LineProfile, expected) << column;
        EXPECT_TRUE(readValid);
    }
    // Bitmaps too small for a line.
    std::mt19937 rng(11);
    for (int round = 0; round < 400; ++round) {
        const auto width = static_cast<std::int32_t>(rng() % 7), height = static_cast<std::int32_t>(rng() % 7);
        core.state.bitmap.Resize(width, height);
        for (auto& p : core.state.bitmap.Pixels) p = static_cast<std::uint8_t>(rng());
        const bool vertical = rng() % 2 == 1;
        const auto line = static_cast<std::int32_t>(rng() % 12) - 3;
        EXPECT_EQ(Sample(line, vertical), "");
        const auto expected = vertical ? height : (line >= 2 && line <= height - 2) ? std::max(width - 2, 0) : 0;
        EXPECT_EQ(general.LineProfile.size(), static_cast<std::size_t>(expected))
            << width << "x" << height << " line " << line;
    }
}

// Light with `edges` steps between dark and light, the first at sample
// `first`, one every `spacing` samples, `length` samples in all.
Profile SquareWave(std::size_t length, std::size_t first, std::size_t edges, std::size_t spacing) {
    Profile profile(length, 230);
    for (std::size_t e = 0; e < edges; e += 2)
        for (std::size_t i = first + e * spacing; i < std::min(first + (e + 1) * spacing, length); ++i) profile[i] = 20;
    if (edges % 2 == 1)
        std::fill(profile.begin() + static_cast<long>(first + (edges - 1) * spacing), profile.end(), 20);
    return profile;
}

TEST(EdgeTest, StepsOfMoreThanTenAreEdgesAndEdgesCloserThan35Cluster) {
    const std::pair<Profile, std::vector<float>> edgeCases[] = {
        {{100, 110, 100, 100}, {}},
        {{100, 111, 100, 100}, {1, 2}},
        {{111, 100, 100}, {1}},
        {{100, 100, 200}, {}},  // the last sample is not compared
        {{}, {}},
        {{0}, {}},
    };
    for (const auto& [profile, expected] : edgeCases) {
        std::vector<EdgeRecord> edges;
        FindEdges(profile, edges);
        std::vector<float> positions;
        for (const auto& e : edges) positions.push_back(e.Position);
        EXPECT_EQ(positions, expected);
    }
    using Triples = std::vector<std::array<std::int32_t, 3>>;  // Start, End, Count
    const std::pair<std::vector<float>, Triples> clusterCases[] = {
        {{200, 234}, {{200, 234, 1}}},
        {{200, 235}, {{200, 200, 0}}},  // a lone last edge forms none
        {{10, 20, 30, 100, 110, 300}, {{10, 30, 2}, {100, 110, 1}}},
        {{10, 100, 200}, {{10, 10, 0}, {100, 100, 0}}},
        {{7}, {}},
        {{}, {}},
    };
    for (const auto& [positions, expected] : clusterCases) {
        std::vector<EdgeRecord> edges;
        for (float p : positions) edges.push_back({p, 0});
        std::vector<EdgeCluster> clusters;
        BuildEdgeClusters(edges, clusters);
        Triples triples;
        for (const auto& c : clusters) triples.push_back({c.Start, c.End, c.Count});
        EXPECT_EQ(triples, expected);
    }
}

TEST_F(ScanLineTest, AClusterNeedsFiftyTwoEdgesToReachTheEngine) {
    EXPECT_EQ(Analyse(SquareWave(400, 20, 49, 4)), "");
    EXPECT_EQ(general.EdgeList.size(), 49u);
    EXPECT_TRUE(readValid) << "fewer than 50 edges end at once";
    EXPECT_FALSE(EngineReached());
    for (std::size_t edges : {50u, 51u, 52u}) {
        EXPECT_EQ(Analyse(SquareWave(400, 20, edges, 4)), "");
        EXPECT_FALSE(readValid) << edges;
        EXPECT_EQ(EngineReached(), edges == 52) << edges;
    }
}

TEST_F(ScanLineTest, TheSegmentIsTheClusterWithMarginsHandedOverReversedAfterAFailure) {
    const Profile profile = SquareWave(400, 30, 60, 4);  // edges 30 .. 266
    EXPECT_EQ(Analyse(profile), "");
    EXPECT_EQ(general.BandStart, 20);
    EXPECT_EQ(general.BandEnd, 276);
    EXPECT_EQ(general.ProfileSegment, Profile(profile.rend() - 276, profile.rend() - 20));
    EXPECT_EQ(Strips(StripColour::Red), 0);
    EXPECT_GE(Strips(StripColour::Black), 2) << "the engine tried both directions";
    // Within the profile and the bitmap: a cluster from sample 5 gives a
    // segment from 1; one ending near the end a segment to the last sample of
    // a row, to one before it in a column.
    Analyse(SquareWave(300, 5, 60, 4));
    EXPECT_EQ(general.BandStart, 1);
    const Profile tail = SquareWave(300, 60, 60, 4);  // last edge at 296
    for (bool vertical : {false, true}) {
        Analyse(tail, vertical);
        EXPECT_EQ(general.BandEnd, vertical ? 299 : 300);
        EXPECT_EQ(general.ProfileSegment.size(), static_cast<std::size_t>(general.BandEnd - 50));
    }
}

TEST_F(ScanLineTest, TheDensestClusterGoesFirstAndAReadEndsTheLine) {
    const Profile barcode = support::ProfileFromRuns(support::Code39Runs("QSZ0123456"), 3);  // 118 edges
    // Junk after the barcode, less dense: never looked at.
    Profile line = barcode;
    const Profile fewJunk = SquareWave(400, 100, 60, 4);
    line.insert(line.end(), fewJunk.begin(), fewJunk.end());
    EXPECT_EQ(Analyse(line), "QSZ0123456");
    EXPECT_TRUE(readValid);
    EXPECT_LT(general.BandEnd, static_cast<std::int32_t>(barcode.size()));
    EXPECT_EQ(core.ui.strips.size(), 1u);
    // Junk denser than the barcode goes first, in both directions, and fails.
    line = SquareWave(800, 100, 160, 4);
    line.insert(line.end(), barcode.begin(), barcode.end());
    EXPECT_EQ(Analyse(line), "QSZ0123456");
    EXPECT_GT(general.BandStart, 700);
    EXPECT_GE(core.ui.strips.size(), 4u);
    EXPECT_EQ(core.ui.strips.back().Colour, StripColour::Red);
    EXPECT_EQ(Strips(StripColour::Red), 2);
}

TEST_F(ScanLineTest, RandomProfilesNeverReadAndStayInBounds) {
    std::mt19937 rng(5);
    for (int round = 0; round < 1000; ++round) {
        Profile profile = support::RandomProfile(rng);
        const std::size_t n = profile.size();
        EXPECT_EQ(Analyse(std::move(profile), rng() % 2 == 1), "") << round;
        if (!EngineReached()) continue;
        EXPECT_TRUE(general.BandStart >= 1 && general.BandEnd <= static_cast<std::int32_t>(n));
        EXPECT_EQ(general.ProfileSegment.size(), static_cast<std::size_t>(general.BandEnd - general.BandStart));
    }
}

}  // namespace
}  // namespace tagmora
