// The sheets other tests read barcodes from: checked here so that a failing
// read elsewhere points at the reader, not at the picture.
#include "support/synthetic_sheet.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>
#include <stdexcept>

#include "support/temp_folder.h"

namespace tagmora::support {
namespace {

// Dark and light run lengths along one row or column, from the first dark
// pixel to the last, in modules.
std::vector<int> ModulesAlong(const WorkBitmap& b, bool column, int index, int moduleWidth) {
    const int length = column ? b.Height : b.Width;
    auto dark = [&](int i) { return (column ? b.At(index, i) : b.At(i, index)) < 128; };
    int first = 0, last = length - 1;
    while (first < length && !dark(first)) ++first;
    while (last > first && !dark(last)) --last;
    std::vector<int> modules;
    for (int i = first, j = first; i <= last; i = j) {
        while (j <= last && dark(j) == dark(i)) ++j;
        EXPECT_EQ((j - i) % moduleWidth, 0);
        modules.push_back((j - i) / moduleWidth);
    }
    return modules;
}

TEST(MakeSheet, BarcodeReadsBackAlongRowsAndColumns) {
    const std::vector<int> modules = RenderModules(Symbology::Code128, "QSZ0123456");
    const std::vector<int> reversed(modules.rbegin(), modules.rend());
    SheetOptions o{.moduleWidth = 3, .clutter = false};
    for (int orientation = 0; orientation < 4; ++orientation) {
        o.vertical = orientation >= 2;
        o.reversed = orientation % 2 == 1;
        const int index = (o.vertical ? o.width : o.height) / 2 + (o.reversed ? 40 : 0) * (o.vertical ? -1 : 1);
        EXPECT_EQ(ModulesAlong(MakeSheet(Symbology::Code128, "QSZ0123456", o), o.vertical, index, 3),
                  o.reversed ? reversed : modules)
            << orientation;
    }
}

TEST(MakeSheet, LabelHasQuietZonesAndClutterStaysOffIt) {
    SheetOptions o{.width = 900, .height = 700, .moduleWidth = 2, .barHeight = 60};
    const std::vector<int> modules = RenderModules(Symbology::Code39, "QSZ0123456");
    const int along = (std::accumulate(modules.begin(), modules.end(), 0) + 20) * o.moduleWidth;
    const int across = o.barHeight + 20 * o.moduleWidth, margin = 10 * o.moduleWidth;
    for (unsigned seed = 1; seed <= 8; ++seed) {
        o.seed = seed;
        o.vertical = seed % 2 == 0;
        const int w = o.vertical ? across : along, h = o.vertical ? along : across;
        const int left = o.width / 2 - w / 2, top = o.height / 2 - h / 2;
        SheetOptions plain = o;
        plain.clutter = false;
        const WorkBitmap sheet = MakeSheet(Symbology::Code39, "QSZ0123456", o);
        const WorkBitmap clean = MakeSheet(Symbology::Code39, "QSZ0123456", plain);
        int cluttered = 0;
        for (int y = 0; y < o.height; ++y) {
            for (int x = 0; x < o.width; ++x) {
                const bool inLabel = x >= left && x < left + w && y >= top && y < top + h;
                const bool quiet =
                    x < left + margin || x >= left + w - margin || y < top + margin || y >= top + h - margin;
                if (!inLabel) {
                    ASSERT_EQ(clean.At(x, y), o.background);
                    cluttered += sheet.At(x, y) != o.background ? 1 : 0;
                } else {
                    ASSERT_EQ(sheet.At(x, y), clean.At(x, y)) << "seed " << seed << " at " << x << "," << y;
                    if (quiet) {
                        ASSERT_EQ(sheet.At(x, y), o.light);
                    }
                }
            }
        }
        EXPECT_GT(cluttered, 1000) << "seed " << seed;
    }
}

TEST(MakeSheet, RepeatableCutAtTheEdgeAndThroughJpeg) {
    SheetOptions o{.blurSigma = 1.2, .noiseSigma = 8};
    const WorkBitmap a = MakeSheet(Symbology::Code39, "QSZ0123456", o);
    EXPECT_EQ(a.Pixels, MakeSheet(Symbology::Code39, "QSZ0123456", o).Pixels);
    EXPECT_EQ(MakeBlankSheet(o).Pixels, MakeBlankSheet(o).Pixels);
    o.seed = 2;
    EXPECT_NE(a.Pixels, MakeSheet(Symbology::Code39, "QSZ0123456", o).Pixels);

    o = SheetOptions{.width = 300, .height = 200, .centerX = 5, .centerY = 195, .jpegQuality = 80};
    const WorkBitmap cut = MakeSheet(Symbology::Code128, "QSZ0123456", o);
    EXPECT_TRUE(cut.Width == 300 && cut.Height == 200);
    EXPECT_THROW(MakeSheet(Symbology::Code128, "QSZ\xE9", o), std::invalid_argument);

    const WorkBitmap sheet =
        MakeSheet(Symbology::Code39, "AB12", {.width = 320, .height = 240, .moduleWidth = 1, .barHeight = 40});
    const std::string bytes = EncodeJpeg(sheet, 95);
    const WorkBitmap back = DecodeJpegForTest(bytes);
    ASSERT_TRUE(back.Width == sheet.Width && back.Height == sheet.Height);
    long total = 0;
    for (std::size_t i = 0; i < back.Pixels.size(); ++i) total += std::abs(back.Pixels[i] - sheet.Pixels[i]);
    EXPECT_LT(static_cast<double>(total) / static_cast<double>(back.Pixels.size()), 3.0);
    TempFolder folder;
    WriteJpegFile(folder / "sheet.jpg", sheet, 95);
    EXPECT_EQ(folder.Read("sheet.jpg"), bytes);
    for (std::string_view broken : {"", "not a jpeg at all"})
        EXPECT_THROW(DecodeJpegForTest(broken), std::runtime_error);
    EXPECT_THROW(EncodeJpeg(WorkBitmap{}, 90), std::invalid_argument);
}

}  // namespace
}  // namespace tagmora::support
