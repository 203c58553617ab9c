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

std::optional<ScanFinding> SearchWholePhotograph(RunContext& ctx, const WorkBitmap& bitmap) {
    const std::string format = ctx.Settings().BarcodeFormat();
    const deep::GreyImage image{bitmap.Pixels.data(), bitmap.Width, bitmap.Height, bitmap.Width};
    const deep::DeepSearchResult result = deep::DeepSearch(image, format);

    for (const deep::Quad& region : result.RegionsTried) DrawRegion(ctx, bitmap, region, StripColour::Black);
    if (result.Status == deep::DeepStatus::Read) {
        DrawRegion(ctx, bitmap, result.RegionThatRead, StripColour::Red);
        DrawLine(ctx, bitmap, result.LineThatRead, StripColour::Red);
    }
    ctx.ui.ProcessEventsDuringImage();

    if (result.Status == deep::DeepStatus::Read)
        return ScanFinding{.Text = result.Text, .Fits = true, .Several = result.SeveralTexts};
    if (result.Status == deep::DeepStatus::SeenUnread) return ScanFinding{.Seen = true};
    // The scan lines take any Code 39 start character for a barcode, which
    // typed text and rulers show too. Where the whole picture, at every
    // scale, holds nothing with a barcode's bars (not even blurred ones),
    // their flag is withdrawn; a whole text of another format still decides
    // the photograph before any flag does.
    if (!result.MayBeBarcode) return ScanFinding{.Seen = false};
    return std::nullopt;
}

void SearchDeeperIfUnread(RunContext& ctx, const WorkBitmap& bitmap, ScanVerdict& verdict,
                          const OtherTypeReading& otherType) {
    if (verdict.Read() || !ctx.Settings().DeepSearch()) return;
    if (otherType) {
        if (std::string other = otherType(); !other.empty()) {
            verdict.Take({.Text = std::move(other), .Fits = true});
            return;
        }
        // A click on Abort or Skip during the other lines ends the image here.
        if (!ctx.run.KeepGoing) return;
    }
    if (std::optional<ScanFinding> finding = SearchWholePhotograph(ctx, bitmap)) verdict.Take(std::move(*finding));
}

}  // namespace tagmora
