#pragma once
// What the search of one photograph found, and what that comes to. The scan
// lines, the close-up rows and Deep Search each report a finding; the
// verdict gathers them, and one decision, the same for both pipelines,
// turns it, the settings and the previous barcode into the outcome.
#include <cstdint>
#include <optional>
#include <string>

namespace tagmora {

// What one look at the photograph found: a scan line, a close-up row, Deep
// Search.
struct ScanFinding {
    std::string Text{};          // the text read; empty when none fits the format
    std::optional<bool> Seen{};  // a barcode was seen; nothing when this look cannot tell
    bool Fits = false;           // Text is accepted by the format check
    std::string Unmatched{};     // a whole text that did not fit the format
    bool Several = false;        // Deep Search read several labels; Text is the first from the top
};

// The findings of one photograph so far.
struct ScanVerdict {
    std::string Text{};
    bool BarcodeSeen = false;  // as the latest look that could tell left it
    bool ReadValid = false;    // the latest text is accepted
    // The first whole text of another format (a label of another series, or
    // a typo in the format string). Empty when none.
    std::string UnmatchedBarcode{};
    bool Several = false;

    // Takes a look's finding in: the one place that sets the flags.
    void Take(ScanFinding finding);
    bool Read() const { return ReadValid && !Text.empty(); }
};

// What a photograph's search comes to, in the order the cases are tested.
enum class Decision : std::uint8_t {
    Read,             // named after the text read
    FormatMismatch,   // a whole label of another format: a problem
    Unreadable,       // a barcode seen but not read: a problem
    PreviousBarcode,  // no barcode: named after the previous one
    NoBarcode,        // no barcode and none to take over: a problem
};

// previousKnown: a previous photograph's barcode is there to take over.
Decision Decide(const ScanVerdict& verdict, bool previousKnown, bool renameWithoutBarcode);

}  // namespace tagmora
