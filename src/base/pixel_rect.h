#pragma once
// A rectangle of whole pixels, right and bottom exclusive: a scan-line strip
// on the photo window's picture, or the part of a bitmap a view shows.
#include <cstdint>

namespace tagmora {

struct PixelRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A point on the picture area, in display pixels like the strips.
struct PicturePoint {
    float X = 0.0f;
    float Y = 0.0f;
    friend bool operator==(const PicturePoint&, const PicturePoint&) = default;
};

}  // namespace tagmora
