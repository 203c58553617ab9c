#pragma once
// The line scanning engine: one stretch of a line to bars and spaces at a
// chosen threshold, narrow/wide classes, and the decoding tries in order.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "general/general_state.h"
#include "general/line_reading.h"

namespace tagmora {

// The black/white threshold the engine picks for a profile stretch.
std::int32_t ChooseThreshold(std::span<const std::int32_t> segment);

// The threshold choice over the trial levels, fed level by level in rising
// order: the best count of strong crossings marks the low level, the last level
// that equalled the best count of its moment the high one (never reset when a
// new best is found). The threshold lies halfway.
struct ThresholdTally {
    std::int32_t Best = 0;
    std::int32_t Low = 0;
    std::int32_t High = 0;

    void Add(std::int32_t level, std::int32_t count) {
        if (count > Best) {
            Best = count;
            Low = level;
        } else if (count == Best) {
            High = level;
        }
    }
    std::int32_t Threshold() const { return (Low + High) / 2; }
};

// Narrow/wide limit for elements sorted by width, ascending: the mean of the
// two neighbouring widths with the largest difference (the first such pair on
// ties); 0 when every width is the same.
float WidthLimit(std::span<const Element> byWidth);

// Drops, from spaces sorted by width, the widest while it is more than 1.5
// times the next widest: quiet zones and gaps between characters must not set
// the narrow/wide limit.
void TrimOverWideSpaces(std::vector<Element>& byWidth);

// Reads one barcode from ProfileSegment; marks the line; the empty text when
// nothing acceptable was read.
std::string ReadSegment(LineReading& reading);

}  // namespace tagmora
