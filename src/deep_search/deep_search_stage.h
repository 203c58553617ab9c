#pragma once
// Deep Search as a stage of either pipeline: run on the work bitmap when the
// scan lines read nothing, its regions and the line that read drawn on the
// photo window. The pipelines decide what the result means for the image.
#include <functional>
#include <string>
#include <string_view>

#include "base/run_context.h"
#include "deep_search/deep_search.h"
#include "photo/work_bitmap.h"

namespace tagmora {

// Added to the Demo/Debug result box when Deep Search met several specimens'
// labels and named the photograph after the first in reading order.
inline constexpr std::string_view kSeveralBarcodesNote = "  (the first of several barcodes)";

// Searches the whole bitmap for a text that fits the settings' format and
// leaves what it found as the scan lines leave theirs: a text read becomes
// text with ReadValid set, a barcode seen but unread sets BarcodeSeen. Every
// region tried is drawn in black (Demo/Debug only), the region and line that
// read in red; a click on Abort or Skip made meanwhile takes effect before
// it returns. True when several regions read different fitting texts.
bool SearchWholePhotograph(RunContext& ctx, const WorkBitmap& bitmap, std::string& text);

// The other type's own lines over the same photograph: a text that fits the
// format, or empty. Only what they read counts; what they saw is the other
// type's business.
using OtherTypeReading = std::function<std::string()>;

// The same, when the scan lines left no text that fits the format and the
// Deep Search setting is on; otherwise nothing happens and it returns false.
// Before the whole photograph is searched, the other type's lines (when
// given) have their turn, so that neither type reads less than the other.
bool SearchDeeperIfUnread(RunContext& ctx, const WorkBitmap& bitmap, std::string& text,
                          const OtherTypeReading& otherType);

}  // namespace tagmora
