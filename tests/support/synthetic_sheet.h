#pragma once
// Synthetic photographs of herbarium sheets: a grey sheet with plant-like
// strokes and text-like marks, and a white label carrying a zint-rendered
// barcode. Deterministic for a given seed.
#include <cstdint>
#include <string>
#include <string_view>

#include "photo/work_bitmap.h"
#include "support/barcode_render.h"

namespace tagmora::support {

struct SheetOptions {
    int width = 1600, height = 1200;      // sheet size in pixels
    int moduleWidth = 4;                  // narrow module width in pixels
    int barHeight = 150;                  // bar height in pixels
    int centerX = -1, centerY = -1;       // barcode centre; -1 = sheet centre
    bool vertical = false;                // bars run across the sheet (barcode read along a column)
    bool reversed = false;                // symbol drawn right-to-left (mirror)
    std::uint8_t dark = 25, light = 230;  // ink and paper grey levels
    std::uint8_t background = 200;        // paper of the sheet around the label
    double blurSigma = 0.0;               // Gaussian blur, pixels
    double noiseSigma = 0.0;              // additive Gaussian noise, grey levels
    unsigned seed = 1;                    // noise and clutter seed
    bool clutter = true;                  // plant-like strokes and text-like marks around the label
    int jpegQuality = 0;                  // > 0: JPEG-encode and decode the sheet with libjpeg at this quality
    double unevenLight = 0.0;             // > 0: the far corner this much darker, a ramp from the top left
};

// The label is a rectangle of the light grey holding the barcode with a quiet
// zone of at least 10 modules on every side; clutter never touches it. Parts of
// the label that fall outside the sheet are cut off.
WorkBitmap MakeSheet(Symbology symbology, std::string_view text, const SheetOptions& options);
// The same sheet (background, clutter, blur, noise, JPEG) without a label.
WorkBitmap MakeBlankSheet(const SheetOptions& options);

std::string EncodeJpeg(const WorkBitmap& bitmap, int quality);  // greyscale JPEG bytes (libjpeg)
WorkBitmap DecodeJpegForTest(std::string_view jpegBytes);       // independent of the program's own intake
void WriteJpegFile(const std::string& path, const WorkBitmap& bitmap, int quality);

}  // namespace tagmora::support
