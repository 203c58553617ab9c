// Writes the starting corpus of the JPEG intake fuzzer into a folder.
#include <fstream>
#include <iostream>
#include <string>

#include "support/jpeg_variants.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_jpeg_seeds FOLDER\n";
        return 2;
    }
    using tagmora::support::JpegKind;
    const std::pair<const char*, std::string> seeds[] = {
        {"grey.jpg", tagmora::support::MakeJpeg(JpegKind::Grey, 24, 16)},
        {"rgb.jpg", tagmora::support::MakeJpeg(JpegKind::Rgb, 16, 8)},
        {"cmyk.jpg", tagmora::support::MakeJpeg(JpegKind::Cmyk, 8, 8)},
        {"progressive.jpg", tagmora::support::MakeJpeg(JpegKind::Progressive, 16, 16)},
        {"arithmetic.jpg", tagmora::support::MakeJpeg(JpegKind::Arithmetic, 16, 16)},
        {"one-pixel.jpg", tagmora::support::MakeJpeg(JpegKind::Grey, 1, 1)},
    };
    for (const auto& [name, bytes] : seeds) {
        std::ofstream out(std::string(argv[1]) + "/" + name, std::ios::binary);
        out << bytes;
    }
    return 0;
}
