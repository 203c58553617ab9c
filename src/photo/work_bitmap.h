#pragma once
// The single greyscale picture every analysis reads: 8 bits per pixel, the
// byte being the grey level (0 black, 255 white), rows top to bottom.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tagmora {

struct WorkBitmap {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::vector<std::uint8_t> Pixels;  // Width * Height bytes, row-major

    void Resize(std::int32_t width, std::int32_t height) {
        Width = width;
        Height = height;
        Pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    }
    std::span<const std::uint8_t> Row(std::int32_t y) const {
        return {Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Width),
                static_cast<std::size_t>(Width)};
    }
    std::span<std::uint8_t> Row(std::int32_t y) {
        return {Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Width),
                static_cast<std::size_t>(Width)};
    }
    std::uint8_t At(std::int32_t x, std::int32_t y) const {
        return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)];
    }
    bool Empty() const { return Width <= 0 || Height <= 0; }
};

}  // namespace tagmora
