#include "deep_search/picture_pyramid.h"

#include <algorithm>

namespace tagmora::deep {
namespace {

// Halving stops at eight times (a 60-pixel module is then 7.5 pixels, as
// wide as the lines read well) or when the picture's short side would fall
// under this, too few edge-map cells to form a region.
constexpr float kMaxScale = 8;
constexpr std::int32_t kMinShortSide = 240;
// Pictures whose long side is at most this (phone photographs of a label)
// are read doubled as well, after the picture itself: their modules are
// often near one pixel, and a symbol of 60 pixels is then wide enough for
// the edge map's cells.
constexpr std::int32_t kMaxDoubledSide = 1600;

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
            out[x] = static_cast<std::uint8_t>((top[2 * x] + top[2 * x + 1] + bottom[2 * x] + bottom[2 * x + 1] + 2) / 4);
    }
    return half;
}

namespace {

// Output pixel i of a doubled line lies a quarter pixel from source pixel
// i / 2, toward its neighbour on that side: weights 3/4 and 1/4.
struct Taps {
    std::int32_t near = 0, far = 0;
};
Taps DoubledTaps(std::int32_t i, std::int32_t size) {
    const std::int32_t near = i / 2;
    const std::int32_t far = std::clamp(i % 2 == 0 ? near - 1 : near + 1, 0, size - 1);
    return {near, far};
}

}  // namespace

OwnedPicture DoublePicture(const GreyImage& image) {
    OwnedPicture twice;
    twice.Width = 2 * image.Width;
    twice.Height = 2 * image.Height;
    twice.Pixels.resize(static_cast<std::size_t>(twice.Width) * static_cast<std::size_t>(twice.Height));
    std::vector<std::uint16_t> row(static_cast<std::size_t>(image.Width));
    for (std::int32_t y = 0; y < twice.Height; ++y) {
        const Taps ty = DoubledTaps(y, image.Height);
        const std::uint8_t *near = image.Row(ty.near), *far = image.Row(ty.far);
        for (std::int32_t x = 0; x < image.Width; ++x)
            row[static_cast<std::size_t>(x)] = static_cast<std::uint16_t>(3 * near[x] + far[x]);
        std::uint8_t* out = twice.Pixels.data() + static_cast<std::ptrdiff_t>(y) * twice.Width;
        for (std::int32_t x = 0; x < twice.Width; ++x) {
            const Taps tx = DoubledTaps(x, image.Width);
            const int sum = 3 * row[static_cast<std::size_t>(tx.near)] + row[static_cast<std::size_t>(tx.far)];
            out[x] = static_cast<std::uint8_t>((sum + 8) / 16);
        }
    }
    return twice;
}

PicturePyramid::PicturePyramid(const GreyImage& full) : full_(full) {
    // Reserved up front: the levels view the pictures, which must not move.
    owned_.reserve(4);
    GreyImage current = full;
    for (float scale = 2; scale <= kMaxScale && std::min(current.Width, current.Height) / 2 >= kMinShortSide;
         scale *= 2) {
        owned_.push_back(HalvePicture(current));
        current = owned_.back().Image();
        levels_.insert(levels_.begin(), PyramidLevel{current, scale});
    }
    levels_.push_back({full, 1});
}

std::optional<PyramidLevel> PicturePyramid::Doubled() {
    if (std::max(full_.Width, full_.Height) > kMaxDoubledSide) return std::nullopt;
    doubled_ = DoublePicture(full_);
    return PyramidLevel{doubled_.Image(), 0.5f};
}

}  // namespace tagmora::deep
