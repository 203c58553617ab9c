#include "app/manual_rename.h"

#include <optional>
#include <utility>

#include "app/batch_run.h"
#include "app/context.h"
#include "base/file_helpers.h"
#include "base/file_system.h"
#include "base/folder_lock.h"
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

// A line of another writer that asks for a look. (The program's own problem
// lines are offered by their kind.)
bool IsReviewLine(std::string_view line) {
    return ContainsNoCase(line, "unable") || ContainsNoCase(line, "confidence");
}

}  // namespace

std::vector<ReviewCandidate> ReviewCandidates(const LogSection& section) {
    std::vector<ReviewCandidate> candidates;
    if (section.Kind == SectionKind::Undo) return candidates;
    const auto offered = [&candidates](const std::string& name) {
        for (const ReviewCandidate& candidate : candidates)
            if (candidate.Name == name) return true;
        return false;
    };
    for (const std::string& line : section.Lines) {
        const ImageOutcome outcome = ParseOutcomeLine(line);
        std::string name;
        if (OfferedForReview(outcome.Kind))
            name = outcome.File;
        else if (IsReviewLine(line))
            name = NameFromLogLine(line);
        if (!name.empty() && IsPlainFileName(name) && !offered(name)) candidates.push_back({line, std::move(name)});
    }
    return candidates;
}

std::string NameFromLogLine(std::string line) {
    std::string name;
    if (const ImageOutcome outcome = ParseOutcomeLine(line); OfferedForReview(outcome.Kind)) {
        name = outcome.File;
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
    // The view can be larger than the bitmap as well as smaller: the click is
    // mapped in proportion.
    const std::int64_t cx = std::int64_t{x} * bitmapWidth / viewWidth;
    const std::int64_t cy = std::int64_t{y} * bitmapHeight / viewHeight;
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

bool ManualRenameFiles(const std::string& folder, std::string_view oldName, std::string_view newName,
                       std::vector<FileMove>* moves) {
    if (!RenameNoReplace(folder, oldName, newName)) return false;
    if (moves) moves->push_back({std::string(oldName), std::string(newName)});
    // The camera's raw file follows its photograph. Only the names are
    // changed, never the folder, so a folder called "x.jpg" is left alone.
    const std::string rawOld = ReplaceAllNoCase(oldName, ".jpg", ".CR2");
    const std::string rawNew = ReplaceAllNoCase(newName, ".jpg", ".CR2");
    if (FileExists(JoinPath(folder, rawOld)) && RenameNoReplace(folder, rawOld, rawNew) && moves)
        moves->push_back({rawOld, rawNew});
    return true;
}

NameCheck CheckTypedName(const std::string& folder, std::string_view typed) {
    std::string name = TrimControlAndBlank(typed);
    if (name.empty()) return {name, "The new name is empty."};
    if (name.find('/') != std::string::npos) return {name, "The new name may not contain /."};
    if (name.find('\0') != std::string::npos) return {name, "The new name may not contain a NUL byte."};
    // "QSZ0123456" means the photograph QSZ0123456.jpg; a dot at the start
    // (a hidden file) or at the end marks no extension.
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        name += ".jpg";
    else if (dot + 1 == name.size())
        name += "jpg";
    // Taken in any letter case: on a memory card or a Windows share the two
    // names would be one.
    if (HoldsNameNoCase(ListAllNames(folder), name)) return {name, name + " is already taken."};
    return {name, {}};
}

std::string ManualRename(Context& ctx, const std::string& folder, std::string_view oldName, std::string_view typed) {
    const NameCheck check = CheckTypedName(folder, typed);
    if (!check.Refusal.empty()) return check.Refusal;
    std::vector<FileMove> moves;
    if (!ManualRenameFiles(folder, oldName, check.Name, &moves)) return "Unable to rename file.";
    // Each on a line of its own, so that a review or an undo knows of it.
    for (const FileMove& move : moves)
        LogOutcome(ctx, {.Kind = OutcomeKind::RenamedByHand, .File = move.From, .NewName = move.To});
    return {};
}

void RunManualReview(Context& ctx, const std::function<void(const ReviewItem&)>& showItem) {
    // A run lets clicks act between its scan lines; the review's pictures
    // would take the place of the photograph being read.
    if (ctx.run.RunInProgress) {
        ctx.ui.ShowMessage(kReviewDuringRunMessage);
        return;
    }
    std::optional<std::string> log = ReadTextFile(LogFilePath(ctx.run), ctx.ui);
    if (!log) return;  // the user has been told; the program goes on
    const LogSection section = LastLogSection(*log);
    // The run's own folder; a log whose header is not whole falls back on
    // the folder list's.
    const std::string folder = section.Folder.empty() ? ctx.Settings().PhotoFolder() : section.Folder;
    const FolderLock lock(folder);
    if (lock.Refused()) return ctx.ui.ShowMessage(FolderBusyText(folder));
    // Photographs gone since the run are not offered, so that "n of N"
    // counts only what the user will see.
    std::vector<std::string> gone;
    std::vector<ReviewCandidate> offered;
    for (ReviewCandidate& candidate : ReviewCandidates(section)) {
        if (IsRegularFile(JoinPath(folder, candidate.Name)))
            offered.push_back(std::move(candidate));
        else
            gone.push_back(std::move(candidate.Name));
    }
    const auto count = static_cast<int>(offered.size());
    for (int index = 0; index < count; ++index) {
        ReviewCandidate& candidate = offered[static_cast<std::size_t>(index)];
        // A photograph that does not decode is still offered: it may be
        // named by what the user knows of it.
        if (LoadJpegGrey(JoinPath(folder, candidate.Name), ctx.bitmap) != JpegResult::Ok) ctx.bitmap.Resize(0, 0);
        showItem(ReviewItem{std::move(candidate.Line), std::move(candidate.Name), folder, index + 1, count});
    }
    if (!gone.empty()) {
        std::string note = "Passed over, no longer in " + folder + " under the name the log gives:";
        for (const std::string& name : gone) note += std::string(kCrLf) + name;
        ctx.ui.ShowMessage(note);
    }
    ctx.ui.ShowMessage("Complete");
}

}  // namespace tagmora
