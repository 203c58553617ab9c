#include "deep_search/picture_pyramid.h"

#include <algorithm>

namespace tagmora::deep {
namespace {

// Halving stops at eight times (a 60-pixel module is then 7.5 pixels, as
// wide as the lines read well) or when the picture's short side would fall
// under this, too few edge-map cells to form a region.
constexpr float kMaxScale = 8;
constexpr std::int32_t kMinShortSide = 240;

}  // namespace

OwnedPicture HalvePicture(const GreyImage& image) {
    OwnedPicture half;
    half.Width = image.Width / 2;
    half.Height = image.Height / 2;
    half.Pixels.resize(static_cast<std::size_t>(half.Width) * static_cast<std::size_t>(half.Height));
    for (std::int32_t y = 0; y < half.Height; ++y) {
        const std::uint8_t* top = image.Row(2 * y);
        const std::uint8_t* bottom = image.Row(2 * y + 1);
        std::uint8_t* out = half.Pixels.data() + static_cast<std::ptrdiff_t>(y) * half.Width;
        for (std::int32_t x = 0; x < half.Width; ++x)
            out[x] =
                static_cast<std::uint8_t>((top[2 * x] + top[2 * x + 1] + bottom[2 * x] + bottom[2 * x + 1] + 2) / 4);
    }
    return half;
}

PicturePyramid::PicturePyramid(const GreyImage& full) {
    GreyImage current = full;
    for (float scale = 2; scale <= kMaxScale && std::min(current.Width, current.Height) / 2 >= kMinShortSide;
         scale *= 2) {
        owned_.push_back(HalvePicture(current));
        current = owned_.back().Image();
        levels_.insert(levels_.begin(), PyramidLevel{current, scale});
    }
    levels_.push_back({full, 1});
}

}  // namespace tagmora::deep
