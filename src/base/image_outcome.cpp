#include "base/image_outcome.h"

#include <array>
#include <optional>
#include <utility>

#include "base/file_system.h"
#include "base/run_log.h"
#include "base/text_helpers.h"

namespace tagmora {

namespace {

// How a line names its file.
enum class Name : std::uint8_t {
    Photo,  // a photograph (*.jpg) before the phrase
    Any,    // whatever stands between the lead and the phrase
    Move,   // "F to T": the phrase splits the two names
    None,   // no name at all
};

// What follows the phrase.
enum class Tail : std::uint8_t { None, Barcode, NewName, OtherFile, BarcodeAndFormat };

struct OutcomeRow {
    OutcomeKind Kind;
    std::string_view Lead;    // before the name
    std::string_view Phrase;  // after the name
    Name Named;
    Tail What;
    bool Counts;   // a problem of the run: the summary counts it
    bool Offered;  // Manual Rename offers the photograph
    bool Moves;    // the line records File renamed to NewName
    std::string_view Word;
};

// Between a mismatched barcode and the format it did not fit.
constexpr std::string_view kMismatchJoint = ", but unable to match the format ";

using K = OutcomeKind;
constexpr std::array kRows{
    OutcomeRow{K::RenamedByHand, "-Manually renamed ", " to ", Name::Move, Tail::NewName, false, false, true,
               "renamed by hand"},
    OutcomeRow{K::FileRenamed, "-Renamed ", " to ", Name::Move, Tail::NewName, false, false, true, "read"},
    OutcomeRow{K::Aborted, "Process aborted by user", "", Name::None, Tail::None, false, false, false, ""},
    OutcomeRow{K::NoBarcode, "No barcode found on ", "", Name::Any, Tail::None, true, true, false, "no barcode"},
    // Not counted when written, yet offered: the photograph went missing.
    OutcomeRow{K::NotInFolder, "Unknown error finding ", " in folder...", Name::Any, Tail::None, false, true, false,
               "unable to rename"},
    OutcomeRow{K::UnableToOpen, "", ": Unable to open image.", Name::Photo, Tail::None, true, true, false,
               "unable to open"},
    // The user's choice, so no error of the run; but the photograph still
    // wants a name, so the review offers it.
    OutcomeRow{K::Skipped, "", " skipped by user.", Name::Photo, Tail::None, false, true, false, "skipped"},
    OutcomeRow{K::Unreadable, "", ": Found barcode, but unable to read", Name::Photo, Tail::None, true, true, false,
               "seen but unreadable"},
    OutcomeRow{K::UnableToRename, "", " found barcode, but unable to rename file.", Name::Photo, Tail::None, true, true,
               false, "unable to rename"},
    OutcomeRow{K::UnableToRenameFile, "", " found barcode, but unable to rename ", Name::Photo, Tail::OtherFile, true,
               true, false, "unable to rename"},
    OutcomeRow{K::CloseUpNoBarcode, "", ":  Unable to find barcode", Name::Photo, Tail::None, true, true, false,
               "no barcode"},
    OutcomeRow{K::FormatMismatch, "", ": Found barcode ", Name::Photo, Tail::BarcodeAndFormat, true, true, false,
               "format mismatch"},
    OutcomeRow{K::WouldTakePrevious, "", " would be renamed with previous barcode ", Name::Photo, Tail::Barcode, false,
               false, false, "previous barcode"},
    OutcomeRow{K::PreviousBarcode, "", " renamed with previous barcode ", Name::Photo, Tail::Barcode, false, false,
               false, "previous barcode"},
    OutcomeRow{K::Read, "", " found Barcode: ", Name::Photo, Tail::Barcode, false, false, false, "read"},
    OutcomeRow{K::WouldBeRenamed, "", " would be renamed to ", Name::Photo, Tail::NewName, false, false, false,
               "previous barcode"},
    OutcomeRow{K::UnableToRenameTo, "", " unable to rename to ", Name::Photo, Tail::NewName, true, true, false,
               "unable to rename"},
    OutcomeRow{K::RenamedAfterPrevious, "", " renamed to ", Name::Photo, Tail::NewName, false, false, true,
               "previous barcode"},
    OutcomeRow{K::Renamed, "", " renamed ", Name::Photo, Tail::NewName, false, false, true, "read"},
    OutcomeRow{K::RenamedWithFiles, "", "", Name::None, Tail::None, false, false, false, "read"},
    OutcomeRow{K::Other, "", "", Name::None, Tail::None, false, false, false, ""},
};

constexpr bool RowsFollowTheKinds() {
    for (std::size_t i = 0; i < kRows.size(); ++i)
        if (static_cast<std::size_t>(kRows[i].Kind) != i) return false;
    return kRows.back().Kind == OutcomeKind::Other;
}
static_assert(RowsFollowTheKinds());

constexpr const OutcomeRow& RowOf(OutcomeKind kind) { return kRows[static_cast<std::size_t>(kind)]; }

// Only lines with words of their own are written and read back.
constexpr bool HasLine(const OutcomeRow& row) { return !row.Lead.empty() || !row.Phrase.empty(); }

// The General pipeline marks its problem lines that begin with the name.
bool Marked(const ImageOutcome& outcome) {
    const OutcomeRow& row = RowOf(outcome.Kind);
    return outcome.General && row.Counts && row.Lead.empty();
}

std::string_view Extension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

// "F to T": a rename keeps the extension, so of the places the phrase could
// split at, the one with the same extension on both sides wins; else the first.
std::optional<std::pair<std::string_view, std::string_view>> SplitMove(std::string_view text, std::string_view phrase) {
    std::optional<std::pair<std::string_view, std::string_view>> first;
    for (std::size_t at = text.find(phrase); at != std::string_view::npos; at = text.find(phrase, at + 1)) {
        const std::pair split{text.substr(0, at), text.substr(at + phrase.size())};
        if (EqualsNoCase(Extension(split.first), Extension(split.second))) return split;
        if (!first) first = split;
    }
    return first;
}

// Every photograph of a run is a *.jpg file, so a line's photograph ends at
// the first phrase that follows ".jpg": a name holding the phrase's words is
// still read whole.
std::optional<std::pair<std::string_view, std::string_view>> SplitAfterPhoto(std::string_view line,
                                                                             std::string_view phrase) {
    for (std::size_t at = line.find(phrase); at != std::string_view::npos; at = line.find(phrase, at + 1)) {
        if (EndsWithJpgNoCase(line.substr(0, at)))
            return std::pair{line.substr(0, at), line.substr(at + phrase.size())};
    }
    return std::nullopt;
}

// The name and the tail of a line that starts with the row's lead (already
// taken off), or nothing when the rest does not have the row's shape.
std::optional<std::pair<std::string_view, std::string_view>> SplitLed(const OutcomeRow& row, std::string_view rest) {
    switch (row.Named) {
    case Name::None:
        if (!rest.empty()) return std::nullopt;
        return std::pair{rest, rest};
    case Name::Any:
        if (!rest.ends_with(row.Phrase) || (!row.Phrase.empty() && rest.size() == row.Phrase.size()))
            return std::nullopt;
        return std::pair{rest.substr(0, rest.size() - row.Phrase.size()), std::string_view()};
    case Name::Move:
        // A move line without two names is no line of this program's.
        return SplitMove(rest, row.Phrase).value_or(std::pair{std::string_view(), std::string_view()});
    case Name::Photo:
        break;
    }
    return SplitAfterPhoto(rest, row.Phrase);
}

// Fills in what follows the name; false when the tail lacks its parts.
bool TakeTail(Tail what, std::string_view tail, ImageOutcome& outcome) {
    switch (what) {
    case Tail::None:
        return true;
    case Tail::Barcode:
        outcome.Barcode = tail;
        return true;
    case Tail::NewName:
        outcome.NewName = tail;
        return true;
    case Tail::OtherFile:
        outcome.OtherFile = tail;
        return true;
    case Tail::BarcodeAndFormat:
        break;
    }
    const std::size_t at = tail.rfind(kMismatchJoint);
    if (at == std::string_view::npos) return false;
    outcome.Barcode = tail.substr(0, at);
    outcome.Format = tail.substr(at + kMismatchJoint.size());
    return true;
}

ImageOutcome Parsed(const OutcomeRow& row, std::string_view name, std::string_view tail) {
    ImageOutcome outcome;
    outcome.Kind = row.Kind;
    outcome.File = name;
    if (row.Named == Name::Move && (name.empty() || tail.empty())) return ImageOutcome{};
    if (!TakeTail(row.What, tail, outcome)) return ImageOutcome{};
    return outcome;
}

}  // namespace

bool CountsAsProblem(OutcomeKind kind) { return RowOf(kind).Counts; }
bool OfferedForReview(OutcomeKind kind) { return RowOf(kind).Offered; }
bool MovesFile(OutcomeKind kind) { return RowOf(kind).Moves; }
std::string_view ReportWord(OutcomeKind kind) { return RowOf(kind).Word; }

std::string OutcomeLogLine(const ImageOutcome& outcome) {
    const OutcomeRow& row = RowOf(outcome.Kind);
    if (!HasLine(row)) return {};
    std::string line(row.Lead);
    if (Marked(outcome)) line += kProblemMarker;
    line += outcome.File;
    line += row.Phrase;
    switch (row.What) {
    case Tail::None:
        break;
    case Tail::Barcode:
        line += outcome.Barcode;
        break;
    case Tail::NewName:
        line += outcome.NewName;
        break;
    case Tail::OtherFile:
        line += outcome.OtherFile;
        break;
    case Tail::BarcodeAndFormat:
        line += outcome.Barcode + std::string(kMismatchJoint) + outcome.Format;
        break;
    }
    return line;
}

std::string OutcomeFinding(const ImageOutcome& outcome) {
    const std::string line = OutcomeLogLine(outcome);
    const std::size_t nameEnd = (Marked(outcome) ? kProblemMarker.size() : 0) + outcome.File.size();
    if (!RowOf(outcome.Kind).Lead.empty() || line.compare(nameEnd, 2, ": ") != 0) return line;
    return line.substr(nameEnd + 2);
}

ImageOutcome ParseOutcomeLine(std::string_view line) {
    for (const OutcomeRow& row : kRows) {
        if (row.Lead.empty() || !line.starts_with(row.Lead)) continue;
        if (const auto split = SplitLed(row, line.substr(row.Lead.size())))
            return Parsed(row, split->first, split->second);
    }
    const bool marked = line.starts_with(kProblemMarker);
    if (marked) line.remove_prefix(kProblemMarker.size());
    for (const OutcomeRow& row : kRows) {
        if (!row.Lead.empty() || !HasLine(row)) continue;
        const auto split = SplitAfterPhoto(line, row.Phrase);
        if (!split || (row.What == Tail::None) != split->second.empty()) continue;
        ImageOutcome outcome = Parsed(row, split->first, split->second);
        outcome.General = marked && outcome.Kind != OutcomeKind::Other;
        return outcome;
    }
    return {};
}

}  // namespace tagmora
