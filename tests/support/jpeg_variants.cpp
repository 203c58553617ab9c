#include "support/jpeg_variants.h"

#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace tagmora::support {

std::string MakeJpeg(JpegKind kind, int width, int height) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);

    int components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    if (kind == JpegKind::Rgb || kind == JpegKind::Progressive || kind == JpegKind::Arithmetic) {
        components = 3;
        cinfo.in_color_space = JCS_RGB;
    } else if (kind == JpegKind::Cmyk) {
        components = 4;
        cinfo.in_color_space = JCS_CMYK;
    }
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    if (kind == JpegKind::Progressive) jpeg_simple_progression(&cinfo);
    if (kind == JpegKind::Arithmetic) cinfo.arith_code = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * static_cast<std::size_t>(components));
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c)
                row[static_cast<std::size_t>(x * components + c)] =
                    static_cast<unsigned char>((x * 255 / (width > 1 ? width - 1 : 1) + y * 7 + c * 40) % 256);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

std::string JpegAnnouncing(int width, int height) {
    std::string bytes = MakeJpeg(JpegKind::Grey, 16, 16);
    // The baseline frame header: FF C0, length, precision, height, width.
    for (std::size_t i = 0; i + 8 < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) == 0xFF && static_cast<unsigned char>(bytes[i + 1]) == 0xC0) {
            bytes[i + 5] = static_cast<char>((height >> 8) & 0xFF);
            bytes[i + 6] = static_cast<char>(height & 0xFF);
            bytes[i + 7] = static_cast<char>((width >> 8) & 0xFF);
            bytes[i + 8] = static_cast<char>(width & 0xFF);
            return bytes;
        }
    }
    throw std::runtime_error("no frame header");
}

}  // namespace tagmora::support
