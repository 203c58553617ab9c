#include "photo/jpeg_intake.h"

#include <jpeglib.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/synthetic_sheet.h"
#include "support/temp_folder.h"

namespace tagmora {
namespace {

using testing::TempFolder;

WorkBitmap Gradient(int width, int height) {
    WorkBitmap bitmap;
    bitmap.Resize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.Row(y)[x] = static_cast<std::uint8_t>((x * 4 + y) & 0xFF);
    return bitmap;
}

// A colour JPEG: the left half pure red, the right half white. Written with
// libjpeg's defaults (the error manager's default ends the test on failure).
std::string RedAndWhiteRgbJpeg(int width, int height) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::string row(static_cast<std::size_t>(width) * 3, '\xFF');
    for (int x = 0; x < width / 2; ++x) row[x * 3 + 1] = row[x * 3 + 2] = 0;
    while (info.next_scanline < info.image_height) {
        JSAMPROW rowPointer = reinterpret_cast<JSAMPROW>(row.data());
        jpeg_write_scanlines(&info, &rowPointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

// Offset of the frame header's height field (SOF0, baseline).
std::size_t FrameSizeOffset(const std::string& jpeg) {
    const std::size_t sof = jpeg.find("\xFF\xC0");
    return sof == std::string::npos ? sof : sof + 5;
}

TEST(LoadJpegGreyTest, DecodesAGreyscaleJpegAtFullSize) {
    TempFolder folder;
    const std::string bytes = testing::EncodeJpeg(Gradient(77, 45), 90);
    folder.Write("grey.jpg", bytes);
    WorkBitmap bitmap;
    ASSERT_EQ(LoadJpegGrey(folder / "grey.jpg", bitmap), JpegResult::Ok);
    const WorkBitmap expected = testing::DecodeJpegForTest(bytes);
    EXPECT_EQ(bitmap.Width, 77);
    EXPECT_EQ(bitmap.Height, 45);
    EXPECT_EQ(bitmap.Pixels, expected.Pixels);
}

TEST(LoadJpegGreyTest, DecodesAColourJpegToItsLuminance) {
    TempFolder folder;
    folder.Write("rgb.jpg", RedAndWhiteRgbJpeg(64, 16));
    WorkBitmap bitmap;
    ASSERT_EQ(LoadJpegGrey(folder / "rgb.jpg", bitmap), JpegResult::Ok);
    ASSERT_EQ(bitmap.Width, 64);
    ASSERT_EQ(bitmap.Height, 16);
    // Red weighs 0.299 in the luminance: about 76.
    EXPECT_NEAR(bitmap.At(8, 8), 76, 4);
    EXPECT_NEAR(bitmap.At(56, 8), 255, 2);
}

TEST(LoadJpegGreyTest, ReusesTheBitmapStorageForSmallerPictures) {
    TempFolder folder;
    testing::WriteJpegFile(folder / "big.jpg", Gradient(64, 64), 90);
    testing::WriteJpegFile(folder / "small.jpg", Gradient(32, 16), 90);
    WorkBitmap bitmap;
    ASSERT_EQ(LoadJpegGrey(folder / "big.jpg", bitmap), JpegResult::Ok);
    const std::uint8_t* storage = bitmap.Pixels.data();
    ASSERT_EQ(LoadJpegGrey(folder / "small.jpg", bitmap), JpegResult::Ok);
    EXPECT_EQ(bitmap.Pixels.data(), storage);
    EXPECT_EQ(bitmap.Pixels.size(), 32u * 16u);
}

TEST(LoadJpegGreyTest, FilesThatAreNoJpegCannotBeOpened) {
    TempFolder folder;
    const std::string jpeg = testing::EncodeJpeg(Gradient(40, 40), 90);
    folder.Write("empty.jpg", "");
    folder.Write("text.jpg", "This is not a photograph.\n");
    folder.Write("png.jpg", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    folder.Write("header-cut.jpg", jpeg.substr(0, 30));
    for (const char* name : {"empty.jpg", "text.jpg", "png.jpg", "header-cut.jpg", "missing.jpg"}) {
        WorkBitmap bitmap = Gradient(8, 8);
        EXPECT_EQ(LoadJpegGrey(folder / name, bitmap), JpegResult::CannotOpen) << name;
        EXPECT_TRUE(bitmap.Empty()) << name;  // never mistaken for the previous picture
    }
    WorkBitmap bitmap;
    EXPECT_EQ(LoadJpegGrey(folder.path(), bitmap), JpegResult::CannotOpen);  // a folder
}

TEST(LoadJpegGreyTest, ImageDataCutShortIsCorrupt) {
    TempFolder folder;
    WorkBitmap picture = Gradient(200, 150);
    const std::string jpeg = testing::EncodeJpeg(picture, 90);
    folder.Write("cut.jpg", jpeg.substr(0, jpeg.size() / 2));
    WorkBitmap bitmap;
    EXPECT_EQ(LoadJpegGrey(folder / "cut.jpg", bitmap), JpegResult::CorruptData);
    EXPECT_TRUE(bitmap.Empty());
}

TEST(LoadJpegGreyTest, RefusesHugeHeadersBeforeAllocating) {
    TempFolder folder;
    std::string jpeg = testing::EncodeJpeg(Gradient(16, 16), 90);
    const std::size_t at = FrameSizeOffset(jpeg);
    ASSERT_NE(at, std::string::npos);
    // 65500 x 65500, the largest size the format allows.
    jpeg[at] = jpeg[at + 2] = '\xFF';
    jpeg[at + 1] = jpeg[at + 3] = '\xDC';
    folder.Write("huge.jpg", jpeg);
    WorkBitmap bitmap;
    EXPECT_EQ(LoadJpegGrey(folder / "huge.jpg", bitmap), JpegResult::TooLarge);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_LT(bitmap.Pixels.capacity(), 1024u);

    // Just over the limit: 10001 x 10000.
    jpeg[at] = '\x27';
    jpeg[at + 1] = '\x10';
    jpeg[at + 2] = '\x27';
    jpeg[at + 3] = '\x11';
    folder.Write("over.jpg", jpeg);
    EXPECT_EQ(LoadJpegGrey(folder / "over.jpg", bitmap), JpegResult::TooLarge);
}

}  // namespace
}  // namespace tagmora
