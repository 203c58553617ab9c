#pragma once
// Manual Rename: the last run's problem photographs, the file name a line
// names, the zoom rectangle, the rules for a typed name and the rename of a
// photograph with its ".CR2" sibling, written to the log.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/run_section.h"
#include "base/pixel_rect.h"

namespace tagmora {

struct Context;

struct ReviewCandidate {
    std::string Line;  // the log line that tells the problem
    std::string Name;  // the photograph's name in that line
    friend bool operator==(const ReviewCandidate&, const ReviewCandidate&) = default;
};

// The photographs the run counted as problems, each once, in log order. Lines
// this program does not write are offered when they hold "unable" or
// "confidence" (any case), named by NameFromLogLine. An undo's section offers none.
std::vector<ReviewCandidate> ReviewCandidates(const LogSection& section);

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
// could not be renamed. The moves made are added to moves when given.
bool ManualRenameFiles(const std::string& folder, std::string_view oldName, std::string_view newName,
                       std::vector<FileMove>* moves = nullptr);

// A typed name made ready: blanks at the ends dropped, ".jpg" added when it
// has no extension. Refusal says why it cannot be used, or is empty.
struct NameCheck {
    std::string Name;
    std::string Refusal;
};
NameCheck CheckTypedName(const std::string& folder, std::string_view typed);

// Checks the typed name, renames the photograph and its raw file, and logs
// each move as a line of its own. Returns what to tell the user when nothing
// was renamed, or an empty text when the photograph was renamed.
std::string ManualRename(Context& ctx, const std::string& folder, std::string_view oldName, std::string_view typed);

// One image offered by the review: the log line, the name taken from it and
// the folder it was opened from (its picture is in ctx.bitmap, empty when the
// file does not decode).
struct ReviewItem {
    std::string Line;
    std::string Name;
    std::string Folder;
    int Position = 1;  // counted from 1 among the Count photographs offered
    int Count = 1;
};

// The whole review behind View > Manual Rename: reads the log, opens each
// problem photograph from the run's folder into ctx.bitmap and hands it to
// showItem, which returns when the user is done with it. Photographs no
// longer under their logged name are passed over and named in one note at
// the end; then "Complete". A log that cannot be read ends the review after
// ReadTextFile's message.
inline constexpr std::string_view kReviewDuringRunMessage =
    "A run is in progress: review its problem photographs once it has ended.";

void RunManualReview(Context& ctx, const std::function<void(const ReviewItem&)>& showItem);

}  // namespace tagmora
