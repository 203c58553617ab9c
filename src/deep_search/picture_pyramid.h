#pragma once
// The work bitmap at several scales, halved again and again by area
// averaging for labels photographed large: a 40-pixel module becomes 5
// pixels three halvings down, where the edge map and the lines see whole
// bars. Small pictures are read as they are: the lines sample them at
// 0.6-pixel steps, which reads modules of one pixel as well as doubling did.
#include <cstdint>
#include <vector>

#include "deep_search/geometry.h"

namespace tagmora::deep {

// One scale of the picture: Scale full-resolution pixels per pixel of Image.
struct PyramidLevel {
    GreyImage Image;
    float Scale = 1;

    // A point of this level in full-resolution coordinates (pixel centres
    // line up: the centre of a halved pixel is the middle of its four).
    PointF ToFull(PointF p) const { return {Scale * (p.X + 0.5f) - 0.5f, Scale * (p.Y + 0.5f) - 0.5f}; }
};

// A picture this program made from another; Image() views it.
struct OwnedPicture {
    std::vector<std::uint8_t> Pixels;
    std::int32_t Width = 0, Height = 0;

    GreyImage Image() const { return {Pixels.data(), Width, Height, Width}; }
};

// Each pixel the mean of a 2 x 2 block; an odd last row or column is left out.
OwnedPicture HalvePicture(const GreyImage& image);

// The levels Deep Search reads, coarsest first down to the picture itself: a
// label photographed large reads on a small level at little cost, and the
// search ends there.
class PicturePyramid {
public:
    explicit PicturePyramid(const GreyImage& full);
    const std::vector<PyramidLevel>& Levels() const { return levels_; }

private:
    std::vector<OwnedPicture> owned_;
    std::vector<PyramidLevel> levels_;
};

}  // namespace tagmora::deep
