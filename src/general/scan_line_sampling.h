#pragma once
// Sampling one row or column of the work bitmap into a line profile for the
// line analysis.
#include <cstdint>
#include <string>

#include "general/general_state.h"
#include "general/line_reading.h"
#include "photo/work_bitmap.h"

namespace tagmora {

// Fills LineProfile from row reading.line (averaged with its two neighbours)
// or, with verticalScan, that column of the bitmap and returns the text the
// line analysis reads on it; reading.result tells the rest.
std::string SampleScanLine(LineReading& reading, const WorkBitmap& bitmap, bool verticalScan);

}  // namespace tagmora
