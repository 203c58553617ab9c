#include "general/scan_line_sampling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "app/context.h"
#include "support/fake_front_end.h"

namespace tagmora {
namespace {

using testing::TestCore;

// A bitmap whose pixel at (x, y) is (x + 7y) mod 256, so that every sample
// tells where it came from.
void FillPattern(WorkBitmap& bitmap, std::int32_t width, std::int32_t height) {
    bitmap.Resize(width, height);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            bitmap.Row(y)[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>((x + 7 * y) % 256);
}

struct SamplingTest : ::testing::Test {
    TestCore core;
    GeneralState& general = core.state.general;

    void SetUp() override { FillPattern(core.state.bitmap, 10, 20); }

    // ReadValid is set by the line analysis as its first step, so a cleared
    // flag after the call shows that the analysis never ran.
    std::string Sample(std::int32_t line) {
        core.ctx.run.ReadValid = false;
        general.LineProfile.assign(3, -1);  // a stale profile must go
        return SampleScanLine(core.ctx, line);
    }
};

TEST_F(SamplingTest, RowsNextToTheTopAndBottomAreRefusedWithoutAnalysis) {
    for (std::int32_t row : {-5, 0, 1, 19, 20, 100}) {
        EXPECT_EQ(Sample(row), "") << row;
        EXPECT_TRUE(general.LineProfile.empty()) << row;
        EXPECT_FALSE(core.ctx.run.ReadValid) << row;
    }
    for (std::int32_t row : {2, 18}) {
        EXPECT_EQ(Sample(row), "") << row;
        EXPECT_EQ(general.LineProfile.size(), 8u) << "a 10-pixel row gives 8 samples, row " << row;
        EXPECT_TRUE(core.ctx.run.ReadValid) << "the analysis ran (too few edges leaves the flag set)";
    }
}

TEST_F(SamplingTest, RowSampleIsTheTruncatedMeanOfThreeRowsSkippingTheFirstColumn) {
    WorkBitmap& bitmap = core.state.bitmap;
    bitmap.Resize(4, 6);
    std::fill(bitmap.Pixels.begin(), bitmap.Pixels.end(), std::uint8_t{0});
    bitmap.Row(2)[1] = 10;
    bitmap.Row(3)[1] = 20;
    bitmap.Row(4)[1] = 31;
    bitmap.Row(2)[2] = 255;
    bitmap.Row(3)[2] = 255;
    bitmap.Row(4)[2] = 254;
    Sample(3);
    EXPECT_EQ(general.LineProfile, (std::vector<std::int32_t>{20, 254}));

    // Sample i is column i + 1 of the pattern.
    FillPattern(bitmap, 10, 20);
    Sample(5);
    for (std::size_t i = 0; i < general.LineProfile.size(); ++i) {
        EXPECT_EQ(general.LineProfile[i], static_cast<std::int32_t>(i + 1 + 7 * 5)) << i;
    }
}

TEST_F(SamplingTest, ColumnsAreReadPixelByPixelWithBlankOutsideTheBitmap) {
    core.ctx.run.VerticalScan = true;
    for (std::int32_t column : {0, 9}) {
        Sample(column);
        ASSERT_EQ(general.LineProfile.size(), 20u);
        for (std::size_t y = 0; y < 20; ++y)
            EXPECT_EQ(general.LineProfile[y], static_cast<std::int32_t>((column + 7 * y) % 256));
        EXPECT_TRUE(core.ctx.run.ReadValid);
    }
    for (std::int32_t column : {10, 11, -1}) {
        EXPECT_EQ(Sample(column), "");
        EXPECT_EQ(general.LineProfile, std::vector<std::int32_t>(20, 255)) << column;
    }
}

TEST_F(SamplingTest, DegenerateBitmapsGiveNoTextAndNoStrayRead) {
    std::mt19937 rng(11);
    for (int round = 0; round < 400; ++round) {
        const auto width = static_cast<std::int32_t>(rng() % 7);
        const auto height = static_cast<std::int32_t>(rng() % 7);
        core.state.bitmap.Resize(width, height);
        for (auto& p : core.state.bitmap.Pixels) p = static_cast<std::uint8_t>(rng());
        core.ctx.run.VerticalScan = rng() % 2 == 1;
        const auto line = static_cast<std::int32_t>(rng() % 12) - 3;
        EXPECT_EQ(Sample(line), "");
        const std::size_t expected = core.ctx.run.VerticalScan ? static_cast<std::size_t>(height)
                                     : (line >= 2 && line <= height - 2) ? static_cast<std::size_t>(std::max(width - 2, 0))
                                                                         : 0u;
        EXPECT_EQ(general.LineProfile.size(), expected) << width << "x" << height << " line " << line;
    }
}

}  // namespace
}  // namespace tagmora
