#include "app/run_section.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "base/file_system.h"
#include "base/run_log.h"
#include "base/text_helpers.h"

namespace tagmora {

namespace {

constexpr std::string_view kBlankLine = "\r\n\r\n";

struct HeaderKind {
    std::string_view Line;
    SectionKind Kind;
};

constexpr std::array kHeaderKinds{
    HeaderKind{kProductionHeaderLine, SectionKind::Production},
    HeaderKind{kDemoHeaderLine, SectionKind::DemoDebug},
    HeaderKind{kUndoHeaderLine, SectionKind::Undo},
};

// What follows a photograph's name on one of its outcome lines.
enum class Tail {
    None,          // the marker ends the line
    Barcode,       // the barcode text
    NewName,       // a name the photograph would get (nothing moved)
    Moved,         // the name the photograph was given
    MismatchText,  // TEXT ", but unable to match the format " FORMAT
    FileName,      // another file (the one that could not be renamed)
};

struct NamedForm {
    std::string_view Marker;
    LineKind Outcome;
    Tail What;
};

// Tried in order: a marker that begins with another one comes first.
constexpr std::array kNamedForms{
    NamedForm{": Unable to open image.", LineKind::UnableToOpen, Tail::None},
    NamedForm{" skipped by user.", LineKind::Skipped, Tail::None},
    NamedForm{": Found barcode, but unable to read", LineKind::Unreadable, Tail::None},
    NamedForm{" found barcode, but unable to rename file.", LineKind::UnableToRename, Tail::None},
    NamedForm{" found barcode, but unable to rename ", LineKind::UnableToRename, Tail::FileName},
    NamedForm{":  Unable to find barcode", LineKind::NoBarcode, Tail::None},
    NamedForm{": Found barcode ", LineKind::FormatMismatch, Tail::MismatchText},
    NamedForm{" would be renamed with previous barcode ", LineKind::PreviousBarcode, Tail::Barcode},
    NamedForm{" renamed with previous barcode ", LineKind::PreviousBarcode, Tail::Barcode},
    NamedForm{" found Barcode: ", LineKind::Read, Tail::Barcode},
    NamedForm{" would be renamed to ", LineKind::PreviousBarcode, Tail::NewName},
    NamedForm{" unable to rename to ", LineKind::UnableToRename, Tail::NewName},
    NamedForm{" renamed to ", LineKind::PreviousBarcode, Tail::Moved},
    NamedForm{" renamed ", LineKind::Read, Tail::Moved},
};

static_assert(IsProblemOutcome(kNamedForms[0].Outcome) && !IsProblemOutcome(kNamedForms[1].Outcome));

bool StartsWithNoCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && EqualsNoCase(text.substr(0, start.size()), start);
}

// Every photograph of a run is a *.jpg file, so a line's photograph ends at
// the first marker that follows ".jpg": a name holding the marker's words is
// still read whole.
std::optional<std::pair<std::string_view, std::string_view>> SplitAfterPhoto(std::string_view line,
                                                                             std::string_view marker) {
    for (std::size_t at = line.find(marker); at != std::string_view::npos; at = line.find(marker, at + 1)) {
        if (EndsWithJpgNoCase(line.substr(0, at)))
            return std::pair{line.substr(0, at), line.substr(at + marker.size())};
    }
    return std::nullopt;
}

std::string_view Extension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

// "F to T": a rename keeps the extension, so of the places " to " could split
// at, the one with the same extension on both sides wins; else the first.
FileMove SplitMove(std::string_view text) {
    std::optional<FileMove> first;
    for (std::size_t at = text.find(kMoveSeparator); at != std::string_view::npos;
         at = text.find(kMoveSeparator, at + 1)) {
        FileMove move{std::string(text.substr(0, at)), std::string(text.substr(at + kMoveSeparator.size()))};
        if (EqualsNoCase(Extension(move.From), Extension(move.To))) return move;
        if (!first) first = std::move(move);
    }
    return first.value_or(FileMove{});
}

LogEvent PhotoEvent(LineKind kind, std::string_view photo) {
    LogEvent event;
    event.Kind = kind;
    event.Outcome = kind;
    event.Photo = photo;
    return event;
}

LogEvent MoveEvent(LineKind kind, std::string_view text) {
    LogEvent event;
    event.Kind = kind;
    event.Move = SplitMove(text);
    if (event.Move.From.empty() || event.Move.To.empty()) return LogEvent{};
    // A run's own rename of a photograph is its barcode read.
    if (EndsWithJpgNoCase(event.Move.From)) event.Photo = event.Move.From;
    if (kind == LineKind::Move && !event.Photo.empty()) event.Outcome = LineKind::Read;
    return event;
}

LogEvent NamedEvent(const NamedForm& form, std::string_view photo, std::string_view tail) {
    LogEvent event;
    event.Kind = form.What == Tail::Moved ? LineKind::Move : form.Outcome;
    event.Outcome = form.Outcome;
    event.Photo = photo;
    switch (form.What) {
    case Tail::Barcode:
        event.Barcode = tail;
        break;
    case Tail::Moved:
        event.Move = FileMove{event.Photo, std::string(tail)};
        break;
    case Tail::MismatchText: {
        constexpr std::string_view kMismatch = ", but unable to match the format ";
        const std::size_t at = tail.rfind(kMismatch);
        if (at == std::string_view::npos) return LogEvent{};
        event.Barcode = tail.substr(0, at);
        break;
    }
    case Tail::None:
    case Tail::NewName:
    case Tail::FileName:
        break;
    }
    return event;
}

}  // namespace

LogSection LastLogSection(std::string_view log) {
    LogSection section;
    const std::string body = LastRunSection(std::string(log));
    std::string rest = body;
    while (!rest.empty()) {
        std::string line = ReadLeadingPiece(rest, kCrLf, false);
        if (!line.empty()) section.Lines.push_back(std::move(line));
    }
    // The header: ... mode line, blank line, "Directory = " line, blank line.
    std::string_view header = log.substr(0, log.size() - body.size());
    if (!header.ends_with(kBlankLine)) return section;
    header.remove_suffix(kBlankLine.size());
    const std::size_t directoryStart = header.rfind(kBlankLine);
    if (directoryStart == std::string_view::npos) return section;
    const std::string_view directory = header.substr(directoryStart + kBlankLine.size());
    if (!directory.starts_with(kDirectoryPrefix)) return section;
    header = header.substr(0, directoryStart);
    const std::size_t modeStart = header.rfind(kCrLf);
    const std::string_view mode = modeStart == std::string_view::npos ? header : header.substr(modeStart + 2);
    for (const HeaderKind& kind : kHeaderKinds)
        if (mode == kind.Line) section.Kind = kind.Kind;
    section.Folder = directory.substr(kDirectoryPrefix.size());
    return section;
}

LogEvent ParseLogLine(std::string_view line) {
    if (line.starts_with(kManualMovePrefix))
        return MoveEvent(LineKind::ManualMove, line.substr(kManualMovePrefix.size()));
    if (line.starts_with(kRunMovePrefix)) return MoveEvent(LineKind::Move, line.substr(kRunMovePrefix.size()));
    if (line == "Process aborted by user") return PhotoEvent(LineKind::Aborted, {});
    if (line.starts_with(kNoBarcodePrefix))
        return PhotoEvent(LineKind::NoBarcode, line.substr(kNoBarcodePrefix.size()));
    constexpr std::string_view kUnknownStart = "Unknown error finding ";
    constexpr std::string_view kUnknownEnd = " in folder...";
    if (line.starts_with(kUnknownStart) && line.ends_with(kUnknownEnd) &&
        line.size() > kUnknownStart.size() + kUnknownEnd.size()) {
        return PhotoEvent(LineKind::UnableToRename,
                          line.substr(kUnknownStart.size(), line.size() - kUnknownStart.size() - kUnknownEnd.size()));
    }
    if (line.starts_with(kProblemMarker)) line.remove_prefix(kProblemMarker.size());
    for (const NamedForm& form : kNamedForms) {
        const auto split = SplitAfterPhoto(line, form.Marker);
        if (!split) continue;
        const auto [photo, tail] = *split;
        if ((form.What == Tail::None) != tail.empty()) continue;
        return NamedEvent(form, photo, tail);
    }
    return LogEvent{};
}

namespace {

std::string BaseOf(std::string_view photo) { return ReplaceAllNoCase(photo, ".jpg", ""); }

bool IsCompanionOf(std::string_view file, std::string_view photo) {
    return StartsWithNoCase(file, BaseOf(photo) + ".");
}

// Moves a companion on to its new name: the chain of one file stays one entry.
void MoveCompanion(PhotoRecord& record, const FileMove& move) {
    for (FileMove& companion : record.Companions) {
        if (companion.To == move.From) {
            companion.To = move.To;
            return;
        }
    }
    record.Companions.push_back(move);
}

// Builds the records line by line. The camera's files of one photograph are
// renamed in name order, so some come before the photograph's own line and
// wait until a line names it.
class RecordBuilder {
public:
    void Add(const LogEvent& event, std::string_view line) {
        if (event.Kind == LineKind::Move && event.Photo.empty()) return Companion(event.Move, /*manual=*/false);
        if (event.Kind == LineKind::ManualMove) return ManualMove(event.Move);
        if (event.Photo.empty()) return;
        PhotoRecord& record = RecordNamed(event.Photo);
        Note(record, event, line);
    }

    std::vector<PhotoRecord> Take() { return std::move(records_); }

private:
    PhotoRecord& RecordNamed(const std::string& name) {
        std::size_t index = 0;
        while (index < records_.size() && records_[index].Name != name) ++index;
        if (index == records_.size()) {
            records_.emplace_back();
            records_.back().Name = records_.back().Current = name;
        }
        last_ = index;
        PhotoRecord& record = records_[index];
        std::erase_if(pending_, [&record](const FileMove& move) {
            if (!IsCompanionOf(move.From, record.Name)) return false;
            MoveCompanion(record, move);
            return true;
        });
        return record;
    }

    void Note(PhotoRecord& record, const LogEvent& event, std::string_view line) {
        if (event.Kind == LineKind::Move) {
            record.RunTarget = event.Move.To;
            record.Current = event.Move.To;
        }
        if (!event.Barcode.empty()) record.Barcode = event.Barcode;
        if (IsProblemOutcome(event.Outcome) && !record.Problem) {
            record.Problem = true;
            record.ProblemLine = line;
        }
        // A skip is the last word; otherwise a problem outlasts the renames of
        // the photograph's other files.
        if (record.Outcome == LineKind::Skipped) return;
        if (event.Outcome == LineKind::Other || (IsProblemOutcome(record.Outcome) && !IsProblemOutcome(event.Outcome) &&
                                                 event.Outcome != LineKind::Skipped))
            return;
        record.Outcome = event.Outcome;
    }

    void ManualMove(const FileMove& move) {
        if (!EndsWithJpgNoCase(move.From)) return Companion(move, /*manual=*/true);
        for (std::size_t index = 0; index < records_.size(); ++index) {
            if (records_[index].Current != move.From) continue;
            previousName_ = records_[index].Current;
            records_[index].Current = move.To;
            last_ = index;
            return;
        }
    }

    void Companion(const FileMove& move, bool manual) {
        if (last_ < records_.size()) {
            PhotoRecord& record = records_[last_];
            // A raw file renamed by hand may follow the photograph's name before that rename.
            const bool follows =
                IsCompanionOf(move.From, record.Name) || (manual && IsCompanionOf(move.From, previousName_));
            if (follows) return MoveCompanion(record, move);
        }
        if (manual) return;
        // A watched folder's raw file may arrive after later photographs:
        // it follows the photograph of its base name that was renamed.
        const auto earlier = std::find_if(records_.rbegin(), records_.rend(), [&move](const PhotoRecord& record) {
            return !record.RunTarget.empty() && IsCompanionOf(move.From, record.Name);
        });
        if (earlier != records_.rend()) return MoveCompanion(*earlier, move);
        pending_.push_back(move);
    }

    std::vector<PhotoRecord> records_;
    std::vector<FileMove> pending_;  // companions whose photograph no line has named yet
    std::size_t last_ = static_cast<std::size_t>(-1);
    std::string previousName_;  // the name the last photograph renamed by hand had
};

}  // namespace

std::vector<PhotoRecord> PhotoRecords(const LogSection& section) {
    RecordBuilder builder;
    for (const std::string& line : section.Lines) builder.Add(ParseLogLine(line), line);
    return builder.Take();
}

std::vector<FileMove> SectionMoves(const LogSection& section) {
    std::vector<FileMove> moves;
    for (const std::string& line : section.Lines) {
        LogEvent event = ParseLogLine(line);
        if (event.Kind == LineKind::Move || event.Kind == LineKind::ManualMove) moves.push_back(std::move(event.Move));
    }
    return moves;
}

}  // namespace tagmora
