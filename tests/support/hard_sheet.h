#pragma once
// Harder synthetic photographs for the any-angle reader: a label turned to any
// angle, with modules of a fraction of a pixel more or less and perspective;
// and sheets without a label crowded with what looks most like a barcode:
// typed text, rulers, colour charts, tables, stems and handwriting.
#include <vector>

#include "photo/work_bitmap.h"
#include "support/synthetic_sheet.h"

namespace tagmora::support {

struct TurnedLabel {
    std::vector<int> runs;              // bar and space widths in modules, bar first
    double modulePixels = 2.0;          // narrow module width on the sheet, fractions allowed
    double angleDegrees = 0.0;          // the label turned clockwise on the picture
    double perspective = 0.0;           // 0 flat; 0.3: one end about 30 % smaller than the other
    double centreX = -1, centreY = -1;  // -1: the sheet's centre
};

// A sheet as MakeSheet makes it (options.barHeight is the bar height in sheet
// pixels; grey levels, clutter, light, blur, noise and JPEG apply), with each
// label drawn turned and anti-aliased.
WorkBitmap MakeTurnedSheet(const std::vector<TurnedLabel>& labels, const SheetOptions& options);

// What a sheet without a label is crowded with besides stems and handwriting:
// everything, or three of one kind.
enum class Distractor { All, StemsOnly, TypedText, Ruler, ColourChart, Table };

// A sheet crowded with stems and handwriting, blocks of typed text, a ruler,
// a colour chart and a table, each at a random place and angle; the labels,
// if any, are drawn last, over whatever lies there.
WorkBitmap MakeDistractorSheet(const SheetOptions& options, const std::vector<TurnedLabel>& labels = {},
                               Distractor kind = Distractor::All);

}  // namespace tagmora::support
