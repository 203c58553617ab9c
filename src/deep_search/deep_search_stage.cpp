#include "deep_search/deep_search_stage.h"

#include <array>
#include <string>
#include <utility>

#include "photo/scan_line_mark.h"

namespace tagmora {

namespace {

void DrawRegion(RunContext& ctx, const WorkBitmap& bitmap, const deep::Quad& region, StripColour colour) {
    std::array<PicturePoint, 4> corners;
    for (std::size_t i = 0; i < corners.size(); ++i) corners[i] = {region.Corners[i].X, region.Corners[i].Y};
    DrawBitmapOutline(ctx, bitmap, corners, /*closed=*/true, colour);
}

void DrawLine(RunContext& ctx, const WorkBitmap& bitmap, const deep::LineSegmentF& line, StripColour colour) {
    const std::array<PicturePoint, 2> ends{{{line.From.X, line.From.Y}, {line.To.X, line.To.Y}}};
    DrawBitmapOutline(ctx, bitmap, ends, /*closed=*/false, colour);
}

}  // namespace

bool SearchWholePhotograph(RunContext& ctx, const WorkBitmap& bitmap, std::string& text) {
    const std::string format = ctx.Settings().BarcodeFormat();
    const deep::GreyImage image{bitmap.Pixels.data(), bitmap.Width, bitmap.Height, bitmap.Width};
    const deep::DeepSearchResult result = deep::DeepSearch(image, format);

    for (const deep::Quad& region : result.RegionsTried) DrawRegion(ctx, bitmap, region, StripColour::Black);
    if (result.Status == deep::DeepStatus::Read) {
        DrawRegion(ctx, bitmap, result.RegionThatRead, StripColour::Red);
        DrawLine(ctx, bitmap, result.LineThatRead, StripColour::Red);
    }
    ctx.ui.ProcessEventsDuringImage();

    if (result.Status == deep::DeepStatus::Read) {
        text = result.Text;
        ctx.run.ReadValid = true;
        return result.SeveralTexts;
    }
    if (result.Status == deep::DeepStatus::SeenUnread) {
        ctx.run.BarcodeSeen = true;
        ctx.run.ReadValid = false;
    }
    return false;
}

bool SearchDeeperIfUnread(RunContext& ctx, const WorkBitmap& bitmap, std::string& text,
                          const OtherTypeReading& otherType) {
    const bool read = ctx.run.ReadValid && !text.empty();
    if (read || !ctx.Settings().DeepSearch()) return false;
    if (otherType) {
        if (std::string other = otherType(); !other.empty()) {
            text = std::move(other);
            ctx.run.ReadValid = true;
            return false;
        }
        // A click on Abort or Skip during the other lines ends the image here.
        if (!ctx.run.KeepGoing) return false;
    }
    return SearchWholePhotograph(ctx, bitmap, text);
}

}  // namespace tagmora
