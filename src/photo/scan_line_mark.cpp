#include "photo/scan_line_mark.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace tagmora {

namespace {

// Picture coordinates drop the fraction, toward zero. Values are clamped to
// the int32 range first; the callers clamp again to the picture.
std::int32_t Trunc(double value) {
    constexpr double kLow = -2147483648.0;
    constexpr double kHigh = 2147483647.0;
    return static_cast<std::int32_t>(std::clamp(value, kLow, kHigh));
}

}  // namespace

PixelRect ScanLineStrip(std::int32_t bitmapWidth, std::int32_t bitmapHeight, bool verticalScan, StripColour colour,
                        std::int32_t line, std::int32_t bandStart, std::int32_t bandEnd) {
    if (bitmapWidth <= 0 || bitmapHeight <= 0) return {};
    // The scale factors are single precision; the products with them are not
    // rounded back to single, so that the strip lands where the factor puts it.
    const float sx = static_cast<float>(kPictureWidth) / static_cast<float>(bitmapWidth);
    const float sy = static_cast<float>(kPictureHeight) / static_cast<float>(bitmapHeight);
    // Along the line the strip spans the picture, or for the red strip the
    // band that read, widened by 5; across it, 2 display pixels.
    const auto along = [&](float scale, std::int32_t side) {
        if (colour != StripColour::Red) return std::pair{0, side};
        return std::pair{std::max(0, Trunc(static_cast<double>(bandStart) * scale - 5.0)),
                         std::min(side, Trunc(static_cast<double>(bandEnd) * scale + 5.0))};
    };
    const auto across = [&](float scale) {
        return std::pair{Trunc(static_cast<double>(line) * scale), Trunc(static_cast<double>(line) * scale + 2.0)};
    };
    if (verticalScan) {
        const auto [top, bottom] = along(sy, kPictureHeight);
        const auto [left, right] = across(sx);
        return PixelRect{left, top, right, bottom};
    }
    const auto [left, right] = along(sx, kPictureWidth);
    const auto [top, bottom] = across(sy);
    return PixelRect{left, top, right, bottom};
}

void DrawScanLine(RunContext& ctx, const WorkBitmap& bitmap, StripColour stripColour, std::int32_t line) {
    const RunSettings& settings = ctx.Settings();
    // Lines tried are shown only in Demo/Debug mode; the red line in both.
    if (settings.IsProduction() && stripColour == StripColour::Black) return;

    ctx.ui.DrawStrip(ScanLineStrip(bitmap.Width, bitmap.Height, ctx.run.VerticalScan, stripColour, line,
                                   ctx.run.BandStart, ctx.run.BandEnd),
                     stripColour);

    // The pause box can only be checked in Demo/Debug mode; a value kept
    // from an earlier choice must not stop a Production run.
    if (settings.IsDemoDebug() && settings.PauseEachLine()) PromptOrStop(ctx, std::to_string(line));
}

PicturePoint PictureOf(const WorkBitmap& bitmap, float x, float y) {
    if (bitmap.Empty()) return {};
    return {x * static_cast<float>(kPictureWidth) / static_cast<float>(bitmap.Width),
            y * static_cast<float>(kPictureHeight) / static_cast<float>(bitmap.Height)};
}

void DrawBitmapOutline(RunContext& ctx, const WorkBitmap& bitmap, std::span<const PicturePoint> points, bool closed,
                       StripColour colour) {
    if (ctx.Settings().IsProduction() && colour == StripColour::Black) return;
    std::vector<PicturePoint> onPicture;
    onPicture.reserve(points.size());
    for (const PicturePoint& p : points) onPicture.push_back(PictureOf(bitmap, p.X, p.Y));
    ctx.ui.DrawOutline(onPicture, closed, colour);
}

}  // namespace tagmora
