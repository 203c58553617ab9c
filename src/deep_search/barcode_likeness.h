#pragma once
// Whether the lines across a region show a barcode that nothing could read:
// many bars and spaces, each of at least two widths, in one dense stretch,
// with the same edges on neighbouring lines. Typed text (stems of one width),
// rulers (ticks at one pitch), tables and charts (few edges) fail it.
#include <vector>

#include "deep_search/strip_sampling.h"

namespace tagmora::deep {

bool LooksLikeBarcode(const std::vector<SampledLine>& lines);

// The same edges on two lines far apart across the bars' length: true of a
// barcode's bars (along the exact angle), not of the stems of typed text,
// which end with their line of text.
bool BarsRunFullHeight(const std::vector<SampledLine>& lines);

// A weaker sign: a line with six or more bars of two widths, edges not
// compared. Enough to keep a barcode that another reading saw; too common
// in typed text to flag a photograph by itself.
bool MayBeBarcode(const std::vector<SampledLine>& lines);

}  // namespace tagmora::deep
