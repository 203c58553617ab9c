// The sheets other tests read barcodes from: checked here so that a failing
// read elsewhere points at the reader, not at the picture.
#include "support/synthetic_sheet.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>
#include <stdexcept>

#include "support/temp_folder.h"

namespace tagmora::testing {
namespace {

// Dark run lengths and the light gaps between them along one row or column,
// from the first dark pixel to the last, divided by the module width.
std::vector<int> ModulesAlong(const WorkBitmap& b, bool column, int index, int moduleWidth) {
    const int length = column ? b.Height : b.Width;
    auto dark = [&](int i) { return (column ? b.At(index, i) : b.At(i, index)) < 128; };
    int first = 0, last = length - 1;
    while (first < length && !dark(first)) ++first;
    while (last > first && !dark(last)) --last;
    std::vector<int> modules;
    for (int i = first; i <= last;) {
        int j = i;
        while (j <= last && dark(j) == dark(i)) ++j;
        EXPECT_EQ((j - i) % moduleWidth, 0);
        modules.push_back((j - i) / moduleWidth);
        i = j;
    }
    return modules;
}

struct LabelBox {
    int left, top, right, bottom;
};

LabelBox LabelOf(const SheetOptions& o, const std::vector<int>& modules) {
    const int along = (std::accumulate(modules.begin(), modules.end(), 0) + 20) * o.moduleWidth;
    const int across = o.barHeight + 20 * o.moduleWidth;
    const int w = o.vertical ? across : along, h = o.vertical ? along : across;
    return {o.width / 2 - w / 2, o.height / 2 - h / 2, o.width / 2 - w / 2 + w, o.height / 2 - h / 2 + h};
}

TEST(MakeSheet, BarcodeReadsBackAlongRowsAndColumns) {
    const std::vector<int> modules = RenderModules(Symbology::Code128, "QSZ0123456");
    std::vector<int> reversed(modules.rbegin(), modules.rend());
    SheetOptions o;
    o.clutter = false;
    o.moduleWidth = 3;
    EXPECT_EQ(ModulesAlong(MakeSheet(Symbology::Code128, "QSZ0123456", o), false, o.height / 2, 3), modules);
    o.reversed = true;
    EXPECT_EQ(ModulesAlong(MakeSheet(Symbology::Code128, "QSZ0123456", o), false, o.height / 2 + 40, 3), reversed);
    o.vertical = true;
    o.reversed = false;
    EXPECT_EQ(ModulesAlong(MakeSheet(Symbology::Code128, "QSZ0123456", o), true, o.width / 2, 3), modules);
    o.reversed = true;
    EXPECT_EQ(ModulesAlong(MakeSheet(Symbology::Code128, "QSZ0123456", o), true, o.width / 2 - 40, 3), reversed);
}

TEST(MakeSheet, LabelHasQuietZonesAndClutterStaysOffIt) {
    SheetOptions o;
    o.moduleWidth = 2;
    o.barHeight = 60;
    o.width = 900;
    o.height = 700;
    const std::vector<int> modules = RenderModules(Symbology::Code39, "QSZ0123456");
    for (unsigned seed = 1; seed <= 8; ++seed) {
        o.seed = seed;
        o.vertical = seed % 2 == 0;
        const LabelBox box = LabelOf(o, modules);
        SheetOptions plain = o;
        plain.clutter = false;
        const WorkBitmap sheet = MakeSheet(Symbology::Code39, "QSZ0123456", o);
        const WorkBitmap clean = MakeSheet(Symbology::Code39, "QSZ0123456", plain);
        int cluttered = 0;
        for (int y = 0; y < o.height; ++y) {
            for (int x = 0; x < o.width; ++x) {
                const bool inLabel = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
                if (inLabel) {
                    ASSERT_EQ(sheet.At(x, y), clean.At(x, y)) << "seed " << seed << " at " << x << "," << y;
                    // The quiet zone: ten modules of paper on every side.
                    const int margin = 10 * o.moduleWidth;
                    if (x < box.left + margin || x >= box.right - margin || y < box.top + margin || y >= box.bottom - margin) {
                        ASSERT_EQ(sheet.At(x, y), o.light);
                    }
                } else {
                    ASSERT_EQ(clean.At(x, y), o.background);
                    cluttered += sheet.At(x, y) != o.background ? 1 : 0;
                }
            }
        }
        EXPECT_GT(cluttered, 1000) << "seed " << seed;
    }
}

TEST(MakeSheet, SameSeedSameSheet) {
    SheetOptions o;
    o.blurSigma = 1.2;
    o.noiseSigma = 8;
    const WorkBitmap a = MakeSheet(Symbology::Code39, "QSZ0123456", o);
    EXPECT_EQ(a.Pixels, MakeSheet(Symbology::Code39, "QSZ0123456", o).Pixels);
    o.seed = 2;
    EXPECT_NE(a.Pixels, MakeSheet(Symbology::Code39, "QSZ0123456", o).Pixels);
    EXPECT_EQ(MakeBlankSheet(o).Pixels, MakeBlankSheet(o).Pixels);
}

TEST(MakeSheet, LabelPartlyOffTheSheetIsCut) {
    SheetOptions o;
    o.width = 300;
    o.height = 200;
    o.centerX = 5;
    o.centerY = 195;
    o.jpegQuality = 80;
    const WorkBitmap sheet = MakeSheet(Symbology::Code128, "QSZ0123456", o);
    EXPECT_EQ(sheet.Width, 300);
    EXPECT_EQ(sheet.Height, 200);
    EXPECT_THROW(MakeSheet(Symbology::Code128, "QSZ\xE9", o), std::invalid_argument);
}

TEST(Jpeg, RoundTripThroughBytesAndFile) {
    SheetOptions o;
    o.width = 320;
    o.height = 240;
    o.moduleWidth = 1;
    o.barHeight = 40;
    const WorkBitmap sheet = MakeSheet(Symbology::Code39, "AB12", o);
    const std::string bytes = EncodeJpeg(sheet, 95);
    ASSERT_GT(bytes.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xD8);
    const WorkBitmap back = DecodeJpegForTest(bytes);
    ASSERT_EQ(back.Width, sheet.Width);
    ASSERT_EQ(back.Height, sheet.Height);
    long total = 0;
    for (std::size_t i = 0; i < back.Pixels.size(); ++i) total += std::abs(back.Pixels[i] - sheet.Pixels[i]);
    EXPECT_LT(static_cast<double>(total) / static_cast<double>(back.Pixels.size()), 3.0);

    TempFolder folder;
    WriteJpegFile(folder / "sheet.jpg", sheet, 95);
    EXPECT_EQ(folder.Read("sheet.jpg"), bytes);
}

TEST(Jpeg, BrokenBytesThrowInsteadOfEndingTheProcess) {
    EXPECT_THROW(DecodeJpegForTest(""), std::runtime_error);
    EXPECT_THROW(DecodeJpegForTest("not a jpeg at all"), std::runtime_error);
    EXPECT_THROW(EncodeJpeg(WorkBitmap{}, 90), std::invalid_argument);
}

}  // namespace
}  // namespace tagmora::testing
