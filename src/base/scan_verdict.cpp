#include "base/scan_verdict.h"

#include <utility>

namespace tagmora {

void ScanVerdict::Take(ScanFinding finding) {
    Text = std::move(finding.Text);
    if (finding.Seen) BarcodeSeen = *finding.Seen;
    ReadValid = finding.Fits;
    if (UnmatchedBarcode.empty()) UnmatchedBarcode = std::move(finding.Unmatched);
    Several = finding.Several;
}

Decision Decide(const ScanVerdict& verdict, bool previousKnown, bool renameWithoutBarcode) {
    if (verdict.Read()) return Decision::Read;
    // A label of its own that does not fit must not pass for no label.
    if (!verdict.UnmatchedBarcode.empty()) return Decision::FormatMismatch;
    if (verdict.BarcodeSeen) return Decision::Unreadable;
    if (previousKnown && renameWithoutBarcode) return Decision::PreviousBarcode;
    return Decision::NoBarcode;
}

}  // namespace tagmora
