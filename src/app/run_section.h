#pragma once
// The last section of Tagmora.log read back as what happened to each
// photograph. Undo, the report and Manual Rename all start from here, so the
// log stays the one record of a run.
#include <string>
#include <string_view>
#include <vector>

#include "base/image_outcome.h"

namespace tagmora {

// What wrote a section, told by its header line.
enum class SectionKind { Production, DemoDebug, Undo, Unknown };

struct LogSection {
    SectionKind Kind = SectionKind::Unknown;
    std::string Folder;              // the "Directory = " folder; empty when the header is not whole
    std::vector<std::string> Lines;  // the outcome lines, in the order written
    std::string When;                // the header's date and time, as written
    // An undo's: the number and the date and time of the run it took back;
    // 0 and empty for an undo of "the last run", which took back the run
    // just before it.
    int UndoneNumber = 0;
    std::string UndoneRun;
};

// The mode lines of a run's header, and the line an undo's section has in
// their place.
inline constexpr std::string_view kProductionHeaderLine = "Renamed the following files:";
inline constexpr std::string_view kDemoHeaderLine = "Demo Mode.  Processed the following files:";
inline constexpr std::string_view kUndoHeaderLine = "Undo of the last run:";
// An undo of a run chosen from the history: prefix, the run's number, " of ",
// its date and time, ":".
inline constexpr std::string_view kUndoRunHeaderPrefix = "Undo of run ";
inline constexpr std::string_view kUndoRunHeaderOf = " of ";
// The header's last line names the folder the section worked in.
inline constexpr std::string_view kDirectoryPrefix = "Directory = ";
// The section after the last blank line of the log: its header tells the
// kind and folder, the lines after it are its outcome lines.
LogSection LastLogSection(std::string_view log);

// Every section of the log, oldest first.
std::vector<LogSection> AllLogSections(std::string_view log);

// One file moved to a new name in the section's folder.
struct FileMove {
    std::string From;
    std::string To;
    friend bool operator==(const FileMove&, const FileMove&) = default;
};

// The photograph a line of the section is about: empty for a companion's
// rename and for the abort.
std::string PhotoOf(const ImageOutcome& outcome);

// Everything the section says about one photograph.
struct PhotoRecord {
    std::string Name;       // the name it had when the run began
    std::string Current;    // its name after every rename of the section (Name when none)
    std::string RunTarget;  // the name the run gave it; empty when the run did not rename it
    std::string Barcode;    // as a line named it; empty when only a new name tells
    OutcomeKind Outcome = OutcomeKind::Other;
    bool Problem = false;              // Manual Rename offers it
    std::string ProblemLine;           // the first line that said so
    std::vector<FileMove> Companions;  // files of the same base name, renamed with it (first to latest name)
};

// The photographs of the section, in the order the log first names them.
std::vector<PhotoRecord> PhotoRecords(const LogSection& section);

// Every rename of the section, run and manual, in the order written.
std::vector<FileMove> SectionMoves(const LogSection& section);

}  // namespace tagmora
