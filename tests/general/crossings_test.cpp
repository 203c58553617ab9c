#include "general/threshold_crossings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "general/general_state.h"
#include "general/profile_builders.h"

namespace tagmora {
namespace {

std::vector<EdgeRecord> Crossings(std::vector<std::int32_t> segment, std::int32_t threshold) {
    GeneralState general;
    general.EdgeList = {{1.0f, 1}, {2.0f, 0}};  // left by an earlier call: must go
    general.ProfileSegment = std::move(segment);
    ExtractCrossings(general, threshold);
    return general.EdgeList;
}

TEST(CrossingsTest, ShortFlatOrOneSidedSegmentsHaveNone) {
    EXPECT_TRUE(Crossings({}, 100).empty());
    EXPECT_TRUE(Crossings({250, 250, 250, 250, 0}, 100).empty()) << "five samples or fewer";
    EXPECT_TRUE(Crossings(std::vector<std::int32_t>(50, 100), 100).empty());
    EXPECT_TRUE(Crossings({200, 200, 200, 200, 200, 150, 250, 101, 200}, 100).empty());
    EXPECT_TRUE(Crossings({0, 0, 0, 0, 0, 50, 100, 10, 100}, 100).empty()) << "never above the threshold";
}

TEST(CrossingsTest, PositionsAreInterpolatedBetweenTheStraddlingSamples) {
    // Falling 200 -> 100 through 150 at index 5: 5 + (100 - 150) / 100 = 4.5.
    // Rising 100 -> 180 through 150 at index 8: 8 + (150 - 180) / 80 = 7.625.
    const auto edges = Crossings({200, 200, 200, 200, 200, 100, 100, 100, 180, 180}, 150);
    ASSERT_EQ(edges.size(), 2u);
    EXPECT_FLOAT_EQ(edges[0].Position, 4.5f);
    EXPECT_EQ(edges[0].Falling, 1);
    EXPECT_FLOAT_EQ(edges[1].Position, 7.625f);
    EXPECT_EQ(edges[1].Falling, 0);

    // A sample exactly at the threshold is dark: the falling crossing lies on it.
    const auto onThreshold = Crossings({200, 200, 200, 200, 200, 200, 150, 100, 200}, 150);
    ASSERT_EQ(onThreshold.size(), 2u);
    EXPECT_FLOAT_EQ(onThreshold[0].Position, 6.0f);
}

TEST(CrossingsTest, TheFirstFourSamplesNeverTakePart) {
    // The step between samples 3 and 4 is not seen; the one between 4 and 5 is.
    EXPECT_TRUE(Crossings({200, 200, 200, 200, 0, 0, 0}, 100).empty());
    const auto edges = Crossings({200, 200, 200, 200, 200, 0, 0}, 100);
    ASSERT_EQ(edges.size(), 1u);
    EXPECT_EQ(edges[0].Falling, 1);
}

TEST(CrossingsTest, ALeadingRisingCrossingIsKept) {
    const auto edges = Crossings({0, 0, 0, 0, 0, 200, 200, 0, 0}, 100);
    ASSERT_EQ(edges.size(), 2u);
    EXPECT_EQ(edges[0].Falling, 0);
    EXPECT_FLOAT_EQ(edges[0].Position, 4.5f);
    EXPECT_EQ(edges[1].Falling, 1);
}

TEST(CrossingsTest, ASingleSampleAtTheThresholdIsABarOfWidthZero) {
    const auto edges = Crossings({200, 200, 200, 200, 200, 200, 120, 200, 200, 40, 200}, 120);
    ASSERT_EQ(edges.size(), 4u);
    EXPECT_EQ(edges[0].Falling, 1);
    EXPECT_EQ(edges[1].Falling, 0);
    EXPECT_EQ(edges[0].Position, 6.0f);
    EXPECT_EQ(edges[1].Position, 6.0f);
    // Bars and spaces still alternate after it.
    EXPECT_EQ(edges[2].Falling, 1);
    EXPECT_EQ(edges[3].Falling, 0);
}

TEST(CrossingsTest, RandomSegmentsGiveOrderedAlternatingCrossingsWithinTheirSamples) {
    std::mt19937 rng(3);
    for (int round = 0; round < 2000; ++round) {
        const auto segment = testing::RandomProfile(rng);
        const auto threshold = static_cast<std::int32_t>(rng() % 300) - 20;
        const auto edges = Crossings(segment, threshold);
        for (std::size_t k = 0; k < edges.size(); ++k) {
            const float p = edges[k].Position;
            EXPECT_GE(p, 4.0f);
            EXPECT_LE(p, static_cast<float>(segment.size() - 1));
            if (k > 0) {
                EXPECT_NE(edges[k].Falling, edges[k - 1].Falling) << "round " << round << " entry " << k;
                EXPECT_GE(p, edges[k - 1].Position);
            }
            // Every crossing lies between two samples on either side of the threshold.
            const auto i = static_cast<std::size_t>(std::ceil(p));
            const auto below = static_cast<std::size_t>(std::floor(p));
            if (edges[k].Falling == 1) {
                EXPECT_LE(segment[i], threshold);
            } else {
                EXPECT_LE(segment[below], threshold);
            }
        }
    }
}

}  // namespace
}  // namespace tagmora
