#include "app/run_section.h"

#include <algorithm>
#include <array>
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

// The header's kind from its last line.
void ReadModeLine(std::string_view mode, LogSection& section) {
    for (const HeaderKind& kind : kHeaderKinds)
        if (mode == kind.Line) section.Kind = kind.Kind;
    if (!mode.starts_with(kUndoRunHeaderPrefix) || !mode.ends_with(':')) return;
    const std::string_view run =
        mode.substr(kUndoRunHeaderPrefix.size(), mode.size() - kUndoRunHeaderPrefix.size() - 1);
    const std::size_t of = run.find(kUndoRunHeaderOf);
    const std::string_view number = run.substr(0, of);
    if (of == std::string_view::npos || number.empty() || number.size() > 9 ||
        number.find_first_not_of("0123456789") != std::string_view::npos)
        return;
    section.Kind = SectionKind::Undo;
    section.UndoneNumber = std::stoi(std::string(number));
    section.UndoneRun = run.substr(of + kUndoRunHeaderOf.size());
}

// The date and time: the line before the "Version " line.
std::string_view WhenLine(std::string_view header) {
    const std::size_t version = header.rfind("\r\nVersion ");
    if (version == std::string_view::npos || version == 0) return {};
    const std::size_t lineEnd = header.rfind(kCrLf, version - 1);
    const std::size_t start = lineEnd == std::string_view::npos ? 0 : lineEnd + kCrLf.size();
    return header.substr(start, version - start);
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
    ReadModeLine(mode, section);
    section.When = WhenLine(header);
    section.Folder = directory.substr(kDirectoryPrefix.size());
    return section;
}

std::vector<LogSection> AllLogSections(std::string_view log) {
    // Each header ends with a blank line and the "Directory = " line; it
    // begins after the blank line before it (the previous section's end).
    const std::string directoryMark = std::string(kBlankLine) + std::string(kDirectoryPrefix);
    std::vector<std::size_t> starts;
    for (std::size_t at = log.find(directoryMark); at != std::string_view::npos;
         at = log.find(directoryMark, at + directoryMark.size())) {
        const std::size_t blank = at == 0 ? std::string_view::npos : log.rfind(kBlankLine, at - 1);
        starts.push_back(blank == std::string_view::npos ? 0 : blank + kCrLf.size());
    }
    std::vector<LogSection> sections;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : log.size();
        sections.push_back(LastLogSection(log.substr(starts[i], end - starts[i])));
    }
    return sections;
}

std::string PhotoOf(const ImageOutcome& outcome) {
    // A run's own rename of a photograph is its barcode read; a file of
    // another kind is a companion.
    const bool fileLine = outcome.Kind == OutcomeKind::FileRenamed || outcome.Kind == OutcomeKind::RenamedByHand;
    if (fileLine && !EndsWithJpgNoCase(outcome.File)) return {};
    return outcome.File;
}

namespace {

bool IsCompanionOf(std::string_view file, std::string_view photo) {
    return StartsWithNoCase(file, PhotoBaseName(photo) + ".");
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
    void Add(const ImageOutcome& outcome, std::string_view line) {
        const FileMove move{outcome.File, outcome.NewName};
        if (outcome.Kind == OutcomeKind::RenamedByHand) return ManualMove(move);
        const std::string photo = PhotoOf(outcome);
        if (MovesFile(outcome.Kind) && photo.empty()) return Companion(move, /*manual=*/false);
        if (photo.empty()) return;
        PhotoRecord& record = RecordNamed(photo);
        Note(record, outcome, line);
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

    void Note(PhotoRecord& record, const ImageOutcome& outcome, std::string_view line) {
        if (MovesFile(outcome.Kind)) {
            record.RunTarget = outcome.NewName;
            record.Current = outcome.NewName;
        }
        // Only the lines that name a barcode read or taken over tell it.
        if (!outcome.Barcode.empty()) record.Barcode = outcome.Barcode;
        const bool problem = OfferedForReview(outcome.Kind);
        if (problem && !record.Problem) {
            record.Problem = true;
            record.ProblemLine = line;
        }
        // A skip is the last word; otherwise a problem outlasts the renames of
        // the photograph's other files.
        if (record.Outcome == OutcomeKind::Skipped) return;
        if (ReportWord(outcome.Kind).empty() ||
            (OfferedForReview(record.Outcome) && !problem && outcome.Kind != OutcomeKind::Skipped))
            return;
        record.Outcome = outcome.Kind;
    }

    void ManualMove(const FileMove& move) {
        if (!EndsWithJpgNoCase(move.From)) return Companion(move, /*manual=*/true);
        for (std::size_t index = 0; index < records_.size(); ++index) {
            if (records_[index].Current != move.From) continue;
            previousName_ = records_[index].Current;
            records_[index].Current = move.To;
            // A typed name is not a barcode read: a database import must
            // tell the two apart, whatever the run said before.
            records_[index].Outcome = OutcomeKind::RenamedByHand;
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
    for (const std::string& line : section.Lines) builder.Add(ParseOutcomeLine(line), line);
    return builder.Take();
}

std::vector<FileMove> SectionMoves(const LogSection& section) {
    std::vector<FileMove> moves;
    for (const std::string& line : section.Lines) {
        ImageOutcome outcome = ParseOutcomeLine(line);
        if (MovesFile(outcome.Kind)) moves.push_back({std::move(outcome.File), std::move(outcome.NewName)});
    }
    return moves;
}

}  // namespace tagmora
