#pragma once
// Marking the scan lines on the photo window: black for a line tried (shown
// in Demo/Debug mode only), red for the line that gave a barcode.
#include <cstdint>
#include <span>

#include "base/front_end.h"
#include "base/run_context.h"
#include "photo/work_bitmap.h"

namespace tagmora {

// The strip for a line of a bitmap of the given size; the red strip is limited
// to the band [bandStart, bandEnd) of the line, widened by 5 display pixels.
PixelRect ScanLineStrip(std::int32_t bitmapWidth, std::int32_t bitmapHeight, bool verticalScan, StripColour colour,
                        std::int32_t line, std::int32_t bandStart, std::int32_t bandEnd);

// Marks a line of the bitmap on the photo window, the red strip limited to
// the run's band; may show the "Pause Each Line" prompt, whose Cancel stops
// the run.
void DrawScanLine(RunContext& ctx, const WorkBitmap& bitmap, StripColour colour, std::int32_t line);

// A point of the bitmap where the stretched picture shows it.
PicturePoint PictureOf(const WorkBitmap& bitmap, float x, float y);

// Marks an outline given in bitmap coordinates: black ones (regions tried)
// only in Demo/Debug mode, red ones (what read) in both.
void DrawBitmapOutline(RunContext& ctx, const WorkBitmap& bitmap, std::span<const PicturePoint> points, bool closed,
                       StripColour colour);

}  // namespace tagmora
