#include "photo/jpeg_intake.h"

#include <gtest/gtest.h>

#include "support/jpeg_variants.h"
#include "support/synthetic_sheet.h"
#include "support/temp_folder.h"

namespace tagmora {
namespace {

using support::JpegKind;
using support::MakeJpeg;
using support::TempFolder;

TEST(LoadJpegGreyTest, DecodesEveryKindOfJpegAtFullSizeReusingStorage) {
    TempFolder folder;
    const std::string grey = MakeJpeg(JpegKind::Grey, 77, 45);
    folder.Write("grey.jpg", grey);
    WorkBitmap bitmap;
    ASSERT_EQ(LoadJpegGrey(folder / "grey.jpg", bitmap), JpegResult::Ok);
    EXPECT_EQ(bitmap.Width, 77);
    EXPECT_EQ(bitmap.Height, 45);
    EXPECT_EQ(bitmap.Pixels, support::DecodeJpegForTest(grey).Pixels);

    const std::uint8_t* storage = bitmap.Pixels.data();
    for (const JpegKind kind : {JpegKind::Rgb, JpegKind::Progressive, JpegKind::Arithmetic}) {
        folder.Write("colour.jpg", MakeJpeg(kind, 32, 16));
        ASSERT_EQ(LoadJpegGrey(folder / "colour.jpg", bitmap), JpegResult::Ok) << static_cast<int>(kind);
        EXPECT_EQ(bitmap.Pixels.size(), 32u * 16u);
        EXPECT_EQ(bitmap.Pixels.data(), storage);  // a smaller picture needs no new memory
    }
    folder.Write("dot.jpg", MakeJpeg(JpegKind::Grey, 1, 1));
    EXPECT_EQ(LoadJpegGrey(folder / "dot.jpg", bitmap), JpegResult::Ok);
    // The decoder may not turn CMYK grey; either way the file gets an outcome.
    folder.Write("cmyk.jpg", MakeJpeg(JpegKind::Cmyk, 32, 32));
    const JpegResult cmyk = LoadJpegGrey(folder / "cmyk.jpg", bitmap);
    EXPECT_TRUE(cmyk == JpegResult::Ok || cmyk == JpegResult::CorruptData);
}

// Every failure is told apart, and none leaves a previous picture behind to
// be read as this one.
TEST(LoadJpegGreyTest, EachKindOfBrokenFileHasItsResult) {
    TempFolder folder;
    const std::string jpeg = MakeJpeg(JpegKind::Grey, 200, 150);
    const struct {
        const char* name;
        std::string bytes;
        JpegResult expected;
    } cases[] = {
        {"empty.jpg", "", JpegResult::CannotOpen},
        {"text.jpg", "This is not a photograph.\n", JpegResult::CannotOpen},
        {"png.jpg", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), JpegResult::CannotOpen},
        {"header-cut.jpg", jpeg.substr(0, 30), JpegResult::CannotOpen},
        {"data-cut.jpg", jpeg.substr(0, jpeg.size() / 2), JpegResult::CorruptData},
        {"huge.jpg", support::JpegAnnouncing(65500, 65500), JpegResult::TooLarge},
        {"over.jpg", support::JpegAnnouncing(10001, 10000), JpegResult::TooLarge},
    };
    for (const auto& c : cases) {
        folder.Write(c.name, c.bytes);
        WorkBitmap bitmap;
        bitmap.Resize(8, 8);
        EXPECT_EQ(LoadJpegGrey(folder / c.name, bitmap), c.expected) << c.name;
        EXPECT_TRUE(bitmap.Empty()) << c.name;
        if (c.expected != JpegResult::CorruptData) {
            EXPECT_LE(bitmap.Pixels.capacity(), 64u) << c.name;  // refused before any allocation
        }
    }
    WorkBitmap bitmap;
    EXPECT_EQ(LoadJpegGrey(folder / "missing.jpg", bitmap), JpegResult::CannotOpen);
    EXPECT_EQ(LoadJpegGrey(folder.path(), bitmap), JpegResult::CannotOpen);  // a folder
}

}  // namespace
}  // namespace tagmora
