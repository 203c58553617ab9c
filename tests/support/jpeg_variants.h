#pragma once
// Small JPEG files of every kind a camera or another program may produce,
// and broken ones, made on the spot for intake tests and fuzzing seeds.
#include <string>

namespace tagmora::support {

enum class JpegKind { Grey, Rgb, Cmyk, Progressive, Arithmetic };

// A width x height picture with a diagonal gradient, encoded as kind.
std::string MakeJpeg(JpegKind kind, int width, int height);

// A valid JPEG whose frame header announces width x height (up to 65535)
// while its data stay those of a small picture.
std::string JpegAnnouncing(int width, int height);

}  // namespace tagmora::support
