#pragma once
// The plain picture and geometry types Deep Search takes and returns, kept
// apart so that every step can share them without the search driver.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace tagmora::deep {

// A greyscale picture owned by the caller: 0 black, 255 white, rows Stride
// bytes apart. Deep Search reads it in place.
struct GreyImage {
    const std::uint8_t* Pixels = nullptr;
    std::int32_t Width = 0, Height = 0;
    std::ptrdiff_t Stride = 0;

    const std::uint8_t* Row(std::int32_t y) const { return Pixels + y * Stride; }
    bool Empty() const { return Pixels == nullptr || Width < 2 || Height < 2; }

    // Bilinear grey level at (x, y), clamped to the picture.
    float At(float x, float y) const {
        x = std::clamp(x, 0.0f, static_cast<float>(Width - 1) - 0.001f);
        y = std::clamp(y, 0.0f, static_cast<float>(Height - 1) - 0.001f);
        const auto x0 = static_cast<std::int32_t>(x), y0 = static_cast<std::int32_t>(y);
        const float fx = x - static_cast<float>(x0), fy = y - static_cast<float>(y0);
        const std::uint8_t* p = Row(y0) + x0;
        const float top = p[0] + fx * (p[1] - p[0]);
        const float bottom = p[Stride] + fx * (p[Stride + 1] - p[Stride]);
        return top + fy * (bottom - top);
    }
};

struct PointF {
    float X = 0, Y = 0;
};
inline PointF operator+(PointF a, PointF b) { return {a.X + b.X, a.Y + b.Y}; }
inline PointF operator-(PointF a, PointF b) { return {a.X - b.X, a.Y - b.Y}; }
inline PointF operator*(float s, PointF a) { return {s * a.X, s * a.Y}; }
inline float Dot(PointF a, PointF b) { return a.X * b.X + a.Y * b.Y; }

// Four corners in picture coordinates, in order around the outline.
struct Quad {
    std::array<PointF, 4> Corners{};
};

struct LineSegmentF {
    PointF From, To;
};

}  // namespace tagmora::deep
