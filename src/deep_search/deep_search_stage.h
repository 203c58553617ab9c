#pragma once
// Deep Search as a stage of either pipeline: run on the work bitmap when the
// scan lines read nothing, its regions and the line that read drawn on the
// photo window. The pipelines decide what the result means for the image.
#include <functional>
#include <optional>
#include <string_view>

#include "base/run_context.h"
#include "base/scan_verdict.h"
#include "deep_search/deep_search.h"
#include "photo/work_bitmap.h"

namespace tagmora {

// Added to the Demo/Debug result box when Deep Search met several specimens'
// labels and named the photograph after the first in reading order.
inline constexpr std::string_view kSeveralBarcodesNote = "  (the first of several barcodes)";

// Searches the whole bitmap for a text that fits the settings' format and
// says what it found: a text read, a barcode seen but unread, or no barcode
// at any scale (which withdraws a flag the scan lines raised); nothing when
// it cannot tell. Every region tried is drawn in black (Demo/Debug only), the
// region and line that read in red; a click on Abort or Skip made meanwhile
// takes effect before it returns.
std::optional<ScanFinding> SearchWholePhotograph(RunContext& ctx, const WorkBitmap& bitmap);

// The other type's own lines over the same photograph: a text that fits the
// format, or empty. Only what they read counts; what they saw is the other
// type's business.
using OtherTypeReading = std::function<std::string()>;

// The same, when the verdict holds no text read and the Deep Search setting
// is on; what it finds goes into the verdict. Before the whole photograph is
// searched, the other type's lines (when given) have their turn, so that
// neither type reads less than the other.
void SearchDeeperIfUnread(RunContext& ctx, const WorkBitmap& bitmap, ScanVerdict& verdict,
                          const OtherTypeReading& otherType);

}  // namespace tagmora
