#pragma once
// Marking the scan lines on the photo window: black for a line tried (shown
// in Demo/Debug mode only), red for the line that gave a barcode.
#include <cstdint>

#include "app/front_end.h"

namespace tagmora {

struct Context;

// The strip for a line of a bitmap of the given size; the red strip is limited
// to the band [bandStart, bandEnd) of the line, widened by 5 display pixels.
StripRect ScanLineStrip(std::int32_t bitmapWidth, std::int32_t bitmapHeight, bool verticalScan,
                        StripColour colour, std::int32_t line, std::int32_t bandStart, std::int32_t bandEnd);

// colour 0 (black) or 255 (red); may show the "Pause Each Line" prompt.
void DrawScanLine(Context& ctx, int colour, std::int32_t line);

}  // namespace tagmora
