#pragma once
// Deep Search: a second, slower reading of a whole photograph, run when the
// scan-line search found nothing. It finds barcode-like regions at any angle,
// samples straightened lines across them and lets zbar decode those lines.
// Plain data in, a value out: it knows nothing of runs, settings or windows.
#include <string>
#include <string_view>
#include <vector>

#include "deep_search/geometry.h"

namespace tagmora::deep {

enum class DeepStatus {
    Read,        // a text that fits the format was read and trusted
    SeenUnread,  // a region that is clearly a barcode, but nothing trusted read it
    Nothing,     // no barcode-like region at all
};

struct DeepSearchResult {
    DeepStatus Status = DeepStatus::Nothing;
    std::string Text;                // only when Read
    Quad RegionThatRead;             // Read: the region read; SeenUnread: the region seen
    LineSegmentF LineThatRead;       // Read: the line that read first
    std::vector<Quad> RegionsTried;  // every region decoded, for Demo/Debug drawing
    bool SeveralTexts = false;       // another region read a different fitting text
    bool MayBeBarcode = false;       // Nothing, but a region shows bars of two widths (blurred, noisy)
};

// Reads image (never copied whole) for a Code 39 or Code 128 text that fits
// format (the format string of TextMatchesFormat). Code 39 check characters
// are taken off when that makes the text fit. Where several regions read
// different fitting texts, the one highest on the picture (then leftmost) wins.
DeepSearchResult DeepSearch(const GreyImage& image, std::string_view format);

}  // namespace tagmora::deep
