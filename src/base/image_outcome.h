#pragma once
// What happened to a photograph (or one of its files) as a value: the flows
// and the per-image dispatch return it, one formatter words it as its log
// line, and one parser reads the log line back for Manual Rename, undo and
// the report. The summary count, the exit status, the report's outcome
// column and Manual Rename's list all follow from the kind's row in the
// table of image_outcome.cpp.
//
// It lives in the lowest layer because both pipelines return it, the batch
// driver counts it and the log reader parses it, and it needs nothing but
// text: names, a barcode, a format.
#include <cstdint>
#include <string>
#include <string_view>

namespace tagmora {

// One kind per line form of the log, in the order the parser tries them (a
// phrase that begins with another one comes first). A new outcome is one
// value here and one row in the table.
enum class OutcomeKind : std::uint8_t {
    RenamedByHand,         // one file renamed in Manual Rename
    FileRenamed,           // one file renamed by the run (or an undo)
    Aborted,               // the run stopped
    NoBarcode,             // no barcode and none to take over
    NotInFolder,           // the photograph was gone when its files were to be renamed
    UnableToOpen,          // not a readable JPEG
    Skipped,               // given up by the user
    Unreadable,            // a barcode seen but not read
    UnableToRename,        // no free name for the photograph
    UnableToRenameFile,    // one of its files could not be renamed
    CloseUpNoBarcode,      // no barcode in a close-up, with Rename W/O Barcode on
    FormatMismatch,        // a whole barcode that does not fit the format
    WouldTakePrevious,     // General, Demo/Debug: would take the previous barcode
    PreviousBarcode,       // General: renamed after the previous photograph's barcode
    Read,                  // Demo/Debug: the barcode read
    WouldBeRenamed,        // Close-up, Demo/Debug: would take the previous barcode
    UnableToRenameTo,      // Close-up: the previous barcode's name was taken
    RenamedAfterPrevious,  // Close-up: renamed after the previous barcode, with a letter
    Renamed,               // the photograph alone renamed after its barcode
    RenamedWithFiles,      // renamed with its companions: their lines tell, it has none of its own
    Other,                 // not a line this program writes
};

struct ImageOutcome {
    OutcomeKind Kind = OutcomeKind::Other;
    std::string File{};       // the photograph, or the file renamed; empty for Aborted
    std::string Barcode{};    // the text read, taken over, or that did not fit
    std::string NewName{};    // the name given, or that would be or could not be given
    std::string Format{};     // the format a barcode did not fit
    std::string OtherFile{};  // the companion that could not be renamed
    // Written by the General pipeline, whose problem lines that begin with
    // the photograph's name carry the marker ">>>>>" before it.
    bool General = false;
};

// What the rest of the program reads from a kind.
bool CountsAsProblem(OutcomeKind kind);         // adds to the run's error count
bool OfferedForReview(OutcomeKind kind);        // Manual Rename offers the photograph
bool MovesFile(OutcomeKind kind);               // the line records File renamed to NewName
std::string_view ReportWord(OutcomeKind kind);  // the report's outcome column; empty for none

// The log line, byte for byte; empty for an outcome that has none.
std::string OutcomeLogLine(const ImageOutcome& outcome);

// What the line says after the photograph's name and ": ", as the Demo/Debug
// box shows a problem.
std::string OutcomeFinding(const ImageOutcome& outcome);

// A log line read back; Kind is Other for a line this program does not write.
ImageOutcome ParseOutcomeLine(std::string_view line);

}  // namespace tagmora
