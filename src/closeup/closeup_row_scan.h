#pragma once
// Reading one row of a close-up photograph: runs between edges, narrow/wide
// classes from histogram valleys, Code 39. What the caller passes in (the
// pipeline's state, the format, an observer for the rows marked) and what
// comes back; the reading reaches neither the run state nor the front end.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/front_end.h"
#include "base/scan_verdict.h"
#include "closeup/closeup_state.h"
#include "photo/work_bitmap.h"

namespace tagmora {

inline constexpr std::size_t kCloseUpRowCapacity = 10000;
inline constexpr std::size_t kCloseUpRunCapacity = 500;
inline constexpr std::size_t kHistogramSize = 100;

// The narrow/wide limit of a run-width histogram: the largest valley centre
// between two peaks, 0 when there is none. hi carries over between calls as
// the description of the valley rule requires.
std::int32_t ValleyThreshold(const std::array<std::int32_t, kHistogramSize>& histogram, std::int32_t count,
                             std::int32_t& hi);

// Told of every row marked: red when it read, black otherwise.
class RowObserver {
public:
    virtual ~RowObserver() = default;
    virtual void RowMarked(StripColour colour, std::int32_t row) = 0;
};

// The state of one row's reading.
struct RowReading {
    RowReading(CloseUpState& state, std::string_view textFormat, RowObserver& marks, std::int32_t rowTried)
        : closeUp(state), format(textFormat), observer(marks), row(rowTried) {}

    CloseUpState& closeUp;
    std::string_view format;
    RowObserver& observer;
    std::int32_t row = 0;
    ScanFinding result;  // Seen carries the rows before when the row cannot tell
};

// One analysis of the row's samples at threshold; fills reading.result (a row
// with too few runs leaves Seen as it was) and returns the text.
std::string AnalyseCloseUpRow(RowReading& reading, std::span<const std::int32_t> samples, std::int32_t threshold);

// Reads one row of the bitmap, smoothed once more when a barcode was seen but
// not read. barcodeSeen is what the rows before it left.
ScanFinding ScanCloseUpRow(const WorkBitmap& bitmap, CloseUpState& closeUp, std::int32_t row, std::string_view format,
                           bool barcodeSeen, RowObserver& observer);

}  // namespace tagmora
