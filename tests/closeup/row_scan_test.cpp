#include <gtest/gtest.h>

#include <random>

#include "closeup/closeup_row_scan.h"
#include "closeup/code39_rows.h"
#include "support/fake_front_end.h"
#include "support/reading_rig.h"

namespace tagmora {
namespace {

using support::DrawCode39Row;
using support::DrawRuns;
using support::FillBitmap;
using support::LetterRuns;
using support::PaintRows;
using support::TestCore;

using Histogram = std::array<std::int32_t, kHistogramSize>;

constexpr int kQuiet = 40;

TEST(ValleyThresholdTest, LargestValleyBetweenPeaksIgnoringTheTrailingGap) {
    Histogram h{};
    h[6] = 20, h[7] = 30, h[8] = 15;
    h[18] = 8, h[19] = 12, h[20] = 6;
    h[3] = 4, h[12] = 3, h[40] = 4, h[70] = 4;  // below a peak, they only add to the count
    std::int32_t hi = 0;
    // The gap 21..99 after the last peak would give 60 were it recorded.
    EXPECT_EQ(ValleyThreshold(h, 100, hi), 13);
    EXPECT_EQ(ValleyThreshold(h, 96, hi), 13);
    // Bins past the count are not looked at: with 15 runs the second peak is unseen.
    EXPECT_EQ(ValleyThreshold(h, 15, hi), 0);
    EXPECT_EQ(ValleyThreshold(Histogram{}, 100, hi), 0);
}

TEST(ValleyThresholdTest, SingleBinGapTakesHiFromThePreviousGap) {
    Histogram light{};
    light[3] = 40, light[9] = 12;  // gap 4..8, then the trailing gap up to the count
    Histogram dark{};
    dark[3] = 10, dark[4] = 10, dark[6] = 10, dark[7] = 10;  // a gap of bin 5 alone

    std::int32_t hi = 0;
    EXPECT_EQ(ValleyThreshold(dark, 100, hi), 2) << "first gap starts from hi = 0: (5 + 0) / 2";
    EXPECT_EQ(hi, 99) << "the trailing gap still moves hi";

    EXPECT_EQ(ValleyThreshold(light, 60, hi), 6);
    EXPECT_EQ(hi, 59);
    EXPECT_EQ(ValleyThreshold(dark, 100, hi), 32) << "(5 + 59) / 2";
}

class CloseUpRowTest : public ::testing::Test, protected support::ReadingRig {
protected:
    Context& ctx = core.ctx;
    RunState& run = core.state.run;
    support::FakeFrontEnd& ui = core.ui;

    void Demo() { core.settings().ModeIndex = 1; }

    // A bitmap of three rows with pixels as its middle row, which is scanned.
    std::string Scan(const std::vector<std::uint8_t>& pixels) {
        FillBitmap(core.state.bitmap, static_cast<int>(pixels.size()), 3, 230);
        PaintRows(core.state.bitmap, 1, 1, pixels);
        return ScanRow(1);
    }
};

TEST_F(CloseUpRowTest, ReadsACleanRowAndMarksItRed) {
    EXPECT_EQ(Scan(DrawCode39Row("QSZ0123456", 4, 10, kQuiet, 1400)), "QSZ0123456");
    EXPECT_TRUE(verdict.BarcodeSeen);
    EXPECT_TRUE(verdict.ReadValid);
    EXPECT_EQ(core.state.closeUp.CloseUpSpaceThreshold, 7);  // gap 5..9
    // Production shows the red strip only. Before any General image the band
    // is 0..0, so the strip covers display columns 0 to 4.
    ASSERT_EQ(ui.strips.size(), 1u);
    EXPECT_EQ(ui.strips[0].Colour, StripColour::Red);
    EXPECT_EQ(ui.strips[0].Rect, (PixelRect{0, 187, 5, 189}));

    core.settings().BarcodeFormat = "QS@0######";
    EXPECT_EQ(Scan(DrawCode39Row("QSX0123456", 4, 10, kQuiet, 1400)), "QSX0123456");
    core.settings().BarcodeFormat = "QSZ0######";

    // Pixel 0 takes no part in the threshold: bars of 120 on paper of 230 give
    // 175; a black first pixel would pull it below the bars.
    std::vector<std::uint8_t> pixels = support::DrawRuns(LetterRuns(support::Code39Letters("QSZ0123456"), 4, 10),
                                                         kQuiet, 1400, support::RowInk{120, 230});
    pixels[0] = 0;
    EXPECT_EQ(Scan(pixels), "QSZ0123456");
}

// Rows are still read as rows; DrawScanLine follows the orientation.
TEST_F(CloseUpRowTest, VerticalOrientationDrawsRowsAsColumns) {
    run.VerticalScan = true;
    EXPECT_EQ(Scan(DrawCode39Row("QSZ0123456", 4, 10, kQuiet, 1400)), "QSZ0123456");
    ASSERT_EQ(ui.strips.size(), 1u);
    EXPECT_EQ(ui.strips[0].Rect, (PixelRect{0, 0, 2, 5}));
    Demo();
    EXPECT_EQ(Scan(std::vector<std::uint8_t>(1400, 200)), "");
    EXPECT_EQ(ui.strips.back().Rect, (PixelRect{0, 0, 2, kPictureHeight}));
}

TEST_F(CloseUpRowTest, RunsOfExactlyTheThresholdWidth) {
    // Narrow 3 and wide 7: both histograms have the gap 4..6 and threshold 5.
    const std::string letters = support::Code39Letters("QSZ0123456");
    auto runsWith = [&](int wideSpace, int narrowBar, int narrowSpace) {
        std::vector<int> runs = LetterRuns(letters, 3, 7);
        int wideSpaces = 0, narrowBars = 0, narrowSpaces = 0;
        for (std::size_t i = 30; i < letters.size(); ++i) {  // after the start, Q and S
            const char c = letters[i];
            if (c == 'S' && wideSpaces < 2) runs[i] = wideSpace, ++wideSpaces;
            if (c == 'b' && narrowBars < 2) runs[i] = -narrowBar, ++narrowBars;
            if (c == 's' && narrowSpaces < 2) runs[i] = narrowSpace, ++narrowSpaces;
        }
        return DrawRuns(runs, kQuiet, 900);
    };
    // A light run as long as the threshold is wide, a dark one narrow, and a
    // light run one shorter narrow.
    EXPECT_EQ(Scan(runsWith(5, 5, 4)), "QSZ0123456");
    EXPECT_EQ(core.state.closeUp.CloseUpSpaceThreshold, 5);
    EXPECT_EQ(Scan(runsWith(4, 3, 3)), "") << "a light run shorter than the threshold is narrow";
    EXPECT_EQ(Scan(runsWith(7, 6, 3)), "") << "a dark run longer than the threshold is wide";
}

// Bars measured 3 to 5 and 7 to 9 pixels wide leave a valley of the single
// bin 6 in the dark widths. That gap takes its far end from the light
// histogram's last gap, which runs to the end of its bins, so the bar limit
// lands far above every bar: all bars are narrow and the row is not read.
// With bars of 8 to 10 (a valley of two bins) the same row reads.
TEST_F(CloseUpRowTest, SingleBinValleyInTheBarWidthsIsNotRead) {
    const std::string letters = support::Code39Letters("QSZ0123456");
    auto rowWithBars = [&](int shortestWide) {
        std::vector<int> runs = LetterRuns(letters, 4, 10);
        for (std::size_t i = 0; i < letters.size(); ++i) {
            const int spread = static_cast<int>(i % 3);
            if (letters[i] == 'b') runs[i] = -(3 + spread);
            if (letters[i] == 'B') runs[i] = -(shortestWide + spread);
        }
        return DrawRuns(runs, kQuiet, 1400);
    };
    EXPECT_EQ(Scan(rowWithBars(7)), "");
    EXPECT_FALSE(verdict.BarcodeSeen);
    EXPECT_EQ(Scan(rowWithBars(8)), "QSZ0123456");
}

TEST_F(CloseUpRowTest, StartPatternWithoutTheCharacterSIsNotABarcode) {
    core.settings().BarcodeFormat = "QZ0######";
    verdict.BarcodeSeen = true;
    // Digits chosen so that no run of letters across characters looks like S.
    EXPECT_EQ(Scan(DrawCode39Row("QZ0000000", 4, 10, kQuiet, 1400)), "");
    EXPECT_FALSE(verdict.BarcodeSeen);
    EXPECT_FALSE(verdict.ReadValid);

    // The start character must be followed by a narrow gap.
    std::vector<int> runs = LetterRuns(support::Code39Letters("QSZ0123456"), 4, 10);
    runs[9] = 10;
    EXPECT_EQ(Scan(DrawRuns(runs, kQuiet, 1400)), "");
    EXPECT_FALSE(verdict.BarcodeSeen);
}

// One character too many: seen, nothing read. Only a row with wide spaces
// (a light threshold above 20) is smoothed and read again, and the smoothed
// copy cannot hide the barcode the row showed.
TEST_F(CloseUpRowTest, SeenButNotReadRetriesSmoothedOnlyWithWideSpaces) {
    Demo();
    EXPECT_EQ(Scan(DrawCode39Row("QSZ01234567", 4, 10, kQuiet, 1500)), "");
    EXPECT_TRUE(verdict.BarcodeSeen);
    EXPECT_FALSE(verdict.ReadValid);
    EXPECT_EQ(core.state.closeUp.CloseUpSpaceThreshold, 7);
    EXPECT_EQ(ui.StripsOf(StripColour::Black), 1) << "no smoothed second try";

    // A one-pixel space in the start character, averaged away when smoothed.
    const std::string letters = support::Code39Letters("QSZ01234567");
    std::vector<int> runs = LetterRuns(letters, 12, 36);
    ASSERT_EQ(letters[3], 's');
    runs[3] = 1;
    ui.strips.clear();
    EXPECT_EQ(Scan(DrawRuns(runs, kQuiet, 3200)), "");
    EXPECT_EQ(core.state.closeUp.CloseUpSpaceThreshold, 24);  // gap 13..35
    EXPECT_EQ(ui.StripsOf(StripColour::Black), 2) << "the smoothed second try ran";
    EXPECT_TRUE(verdict.BarcodeSeen);
    EXPECT_FALSE(verdict.ReadValid);
}

TEST_F(CloseUpRowTest, SmoothingHealsAWideBarSplitByOneBrightPixel) {
    const std::string letters = support::Code39Letters("QSZ0123456");
    const std::vector<int> runs = LetterRuns(letters, 12, 36);
    std::vector<std::uint8_t> pixels = DrawRuns(runs, kQuiet, 3000);
    // The wide bar of the Z (its third element), well after the start and the S.
    std::size_t at = kQuiet;
    for (std::size_t i = 0; i < 32; ++i) at += static_cast<std::size_t>(std::abs(runs[i]));
    ASSERT_EQ(letters[32], 'B');
    pixels[at + 18] = 140;  // 15 above the threshold of 125: a light pixel

    Demo();
    EXPECT_EQ(Scan(pixels), "QSZ0123456");
    EXPECT_TRUE(verdict.ReadValid);
    ASSERT_EQ(ui.strips.size(), 2u);
    EXPECT_EQ(ui.strips[0].Colour, StripColour::Black);
    EXPECT_EQ(ui.strips[1].Colour, StripColour::Red);
}

TEST_F(CloseUpRowTest, UniformRowHasTooFewRunsAndKeepsBarcodeSeen) {
    Demo();
    for (const bool seen : {true, false}) {
        verdict.BarcodeSeen = seen;
        verdict.ReadValid = true;
        EXPECT_EQ(Scan(std::vector<std::uint8_t>(1200, 128)), "");
        EXPECT_FALSE(verdict.ReadValid);
        EXPECT_EQ(verdict.BarcodeSeen, seen);
    }
    EXPECT_EQ(ui.StripsOf(StripColour::Black), 2);
}

TEST_F(CloseUpRowTest, PixelsAndRunsPastTheBuffersAreNotLookedAt) {
    EXPECT_EQ(Scan(DrawCode39Row("QSZ0123456", 4, 10, 200, 12000)), "QSZ0123456");
    EXPECT_EQ(Scan(DrawCode39Row("QSZ0123456", 4, 10, 10100, 12000)), "");
    EXPECT_FALSE(verdict.ReadValid);

    const std::vector<int> barcode = LetterRuns(support::Code39Letters("QSZ0123456"), 4, 10);
    std::vector<int> stripes;  // two-pixel stripes: too short for the histograms
    for (int i = 0; i < 300; ++i) stripes.insert(stripes.end(), {-2, 2});
    const auto joined = [](std::vector<int> first, const std::vector<int>& second) {
        first.push_back(40);
        first.insert(first.end(), second.begin(), second.end());
        return first;
    };
    EXPECT_EQ(Scan(DrawRuns(joined(barcode, stripes), kQuiet, 3000)), "QSZ0123456");
    EXPECT_EQ(Scan(DrawRuns(joined(stripes, barcode), kQuiet, 3000)), "");
    EXPECT_FALSE(verdict.BarcodeSeen);
}

// Arbitrary bytes are the fuzzer's business; here rows of random stripes and
// of a barcode under heavy noise, up to past the row buffer, read either
// nothing or the very barcode.
TEST_F(CloseUpRowTest, RandomRowsReadNothingOrTheBarcode) {
    Demo();
    std::mt19937 random(11);
    const std::vector<std::uint8_t> barcode = DrawCode39Row("QSZ0123456", 4, 10, kQuiet, 1400);
    for (int round = 0; round < 200; ++round) {
        const auto width = static_cast<std::size_t>(random() % 12001);
        std::vector<std::uint8_t> pixels(width);
        bool dark = false;
        for (std::size_t x = 0; x < width; dark = !dark) {
            const std::size_t length = 1 + random() % 14;
            for (std::size_t i = 0; i < length && x < width; ++i, ++x) pixels[x] = dark ? 30 : 220;
        }
        if (round % 2 == 1) {
            for (std::size_t x = 0; x < width; ++x) {
                const int noisy = barcode[x % barcode.size()] + static_cast<int>(random() % 121) - 60;
                pixels[x] = static_cast<std::uint8_t>(std::clamp(noisy, 0, 255));
            }
        }
        ui.strips.clear();
        const std::string text = Scan(pixels);
        ASSERT_TRUE(text.empty() || (text == "QSZ0123456" && verdict.ReadValid)) << text;
        ASSERT_GE(core.state.closeUp.CloseUpSpaceThreshold, 0);
        ASSERT_LT(core.state.closeUp.CloseUpSpaceThreshold, 100);
        ASSERT_LE(ui.strips.size(), 2u);
    }
}

}  // namespace
}  // namespace tagmora
