#include "app/manual_rename.h"

#include <optional>
#include <utility>

#include "app/context.h"
#include "base/file_helpers.h"
#include "base/file_system.h"
#include "base/run_log.h"
#include "base/text_helpers.h"
#include "photo/jpeg_intake.h"

namespace tagmora {

namespace {

// Half the side of the square of bitmap pixels a zoomed view shows.
constexpr std::int64_t kZoomHalf = 300;
constexpr std::int64_t kZoomSide = 2 * kZoomHalf;

// The square's side around centre, pushed back inside [0, extent): at the low
// edge first, then at the high edge, so a bitmap smaller than the square keeps
// its far edge in view.
std::pair<std::int64_t, std::int64_t> ZoomSpan(std::int64_t centre, std::int64_t extent) {
    std::int64_t low = centre - kZoomHalf;
    std::int64_t high = centre + kZoomHalf;
    if (low < 0) {
        low = 0;
        high = kZoomSide;
    }
    if (high > extent) {
        low = extent - kZoomSide;
        high = extent;
    }
    return {low, high};
}

// The General pipeline's line for a photograph left without a number.
constexpr std::string_view kNoBarcodePrefix = "No barcode found on ";

bool IsReviewLine(std::string_view line) {
    return ContainsNoCase(line, "unable") || ContainsNoCase(line, "confidence") || line.starts_with(kNoBarcodePrefix);
}

}  // namespace

std::vector<std::string> ReviewLines(std::string logText) {
    std::string rest = LastRunSection(std::move(logText));
    std::vector<std::string> lines;
    // One line is always examined, even of an empty section; a last single
    // character (a stray line end) is not worth another.
    do {
        std::string line = ReadLeadingPiece(rest, kCrLf, true);
        if (IsReviewLine(line)) lines.push_back(std::move(line));
    } while (rest.size() > 1);
    return lines;
}

std::string NameFromLogLine(std::string line) {
    std::string name;
    if (line.starts_with(kNoBarcodePrefix)) {
        name = line.substr(kNoBarcodePrefix.size());
    } else if (ContainsNoCase(line, "unable")) {
        // Problem lines begin with the file name: "IMG_7.jpg: Unable to ...".
        name = ReplaceAll(ReadLeadingPiece(line, " ", true), ":", "");
    } else {
        // "IMG_5.jpg renamed QSZ0000001.jpg (Low confidence)" names the new file.
        ReadLeadingPiece(line, "amed ", true);
        name = ReadLeadingPiece(line, "(Low", true);
    }
    if (name.starts_with(kProblemMarker)) name.erase(0, kProblemMarker.size());
    // A name that would leave the photo folder is not one this program wrote.
    if (!IsPlainFileName(name)) return {};
    return name;
}

PixelRect ZoomRectangle(std::int32_t bitmapWidth, std::int32_t bitmapHeight, std::int32_t viewWidth,
                       std::int32_t viewHeight, std::int32_t x, std::int32_t y) {
    if (viewWidth <= 0 || viewHeight <= 0) return {0, 0, bitmapWidth, bitmapHeight};
    // Whole-number factors on purpose: the click maps to the bitmap as it
    // always has, a little to the top left for factors with a fraction.
    const std::int64_t fx = bitmapWidth / viewWidth;
    const std::int64_t fy = bitmapHeight / viewHeight;
    const std::int64_t cx = x * fx;
    const std::int64_t cy = y * fy;
    const auto [left, right] = ZoomSpan(cx, bitmapWidth);
    const auto [top, bottom] = ZoomSpan(cy, bitmapHeight);
    return {static_cast<std::int32_t>(left), static_cast<std::int32_t>(top), static_cast<std::int32_t>(right),
            static_cast<std::int32_t>(bottom)};
}

PixelRect PressOnView(bool& zoomed, std::int32_t bitmapWidth, std::int32_t bitmapHeight, std::int32_t viewWidth,
                     std::int32_t viewHeight, std::int32_t x, std::int32_t y) {
    zoomed = !zoomed;
    if (!zoomed) return {0, 0, bitmapWidth, bitmapHeight};
    return ZoomRectangle(bitmapWidth, bitmapHeight, viewWidth, viewHeight, x, y);
}

bool ManualRenameFiles(const std::string& folder, std::string_view oldName, std::string_view newName) {
    if (!RenameNoReplace(folder, oldName, newName)) return false;
    // The camera's raw file follows its photograph. Only the names are
    // changed, never the folder, so a folder called "x.jpg" is left alone.
    const std::string rawOld = ReplaceAllNoCase(oldName, ".jpg", ".CR2");
    const std::string rawNew = ReplaceAllNoCase(newName, ".jpg", ".CR2");
    if (FileExists(JoinPath(folder, rawOld))) RenameNoReplace(folder, rawOld, rawNew);
    return true;
}

void RunManualReview(Context& ctx, const std::function<void(const ReviewItem&)>& showItem) {
    std::optional<std::string> log = ReadTextFile(LogFilePath(ctx.run), ctx.ui);
    if (!log) return;  // the user has been told; the program goes on
    for (std::string& line : ReviewLines(std::move(*log))) {
        std::string name = NameFromLogLine(line);
        if (name.empty()) continue;
        std::string folder = ctx.Settings().PhotoFolder();
        // A file that cannot be decoded is reported like a missing one, and
        // the review goes on with the next line.
        if (LoadJpegGrey(JoinPath(folder, name), ctx.bitmap) != JpegResult::Ok) {
            ctx.ui.ShowMessage("Unable to open file " + JoinPath(folder, name));
            continue;
        }
        showItem(ReviewItem{std::move(line), std::move(name), std::move(folder)});
    }
    ctx.ui.ShowMessage("Complete");
}

}  // namespace tagmora
