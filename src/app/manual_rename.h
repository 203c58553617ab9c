#pragma once
// Manual Rename: the last run's problem lines, the file name each names, the
// zoom rectangle and the rename of a photograph with its ".CR2" sibling.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/pixel_rect.h"

namespace tagmora {

struct Context;

// The lines of the last run that Manual Rename offers (contain "unable" or
// "confidence", any case, or say that no barcode was found), from the whole
// log text.
std::vector<std::string> ReviewLines(std::string logText);

// The file name a log line names; empty when it names nothing usable. The
// ">>>>>" marker of the General pipeline is removed.
std::string NameFromLogLine(std::string line);


// The 600 x 600 bitmap rectangle shown for a click at (x, y) in a view of
// viewWidth x viewHeight showing a bitmap of bitmapWidth x bitmapHeight.
PixelRect ZoomRectangle(std::int32_t bitmapWidth, std::int32_t bitmapHeight, std::int32_t viewWidth,
                       std::int32_t viewHeight, std::int32_t x, std::int32_t y);

// A press on the view: when it shows the whole bitmap, zooms in on the square
// around (x, y); when zoomed, goes back to the whole bitmap. Flips zoomed and
// returns the bitmap rectangle to show.
PixelRect PressOnView(bool& zoomed, std::int32_t bitmapWidth, std::int32_t bitmapHeight, std::int32_t viewWidth,
                     std::int32_t viewHeight, std::int32_t x, std::int32_t y);

// Renames folder/oldName to newName (in the same folder) and, when that
// worked, the ".CR2" sibling alike (silently). False when the photograph
// could not be renamed.
bool ManualRenameFiles(const std::string& folder, std::string_view oldName, std::string_view newName);

// One image offered by the review: the log line, the name taken from it and
// the folder it was opened from (its picture is in ctx.bitmap).
struct ReviewItem {
    std::string Line;
    std::string Name;
    std::string Folder;
};

// The whole review behind View > Manual Rename: reads the log, opens each
// problem line's image from the photo folder into ctx.bitmap and hands it to
// showItem, which returns when the user is done with it; ends with "Complete".
// A log that cannot be read ends the review after ReadTextFile's message.
void RunManualReview(Context& ctx, const std::function<void(const ReviewItem&)>& showItem);

}  // namespace tagmora
