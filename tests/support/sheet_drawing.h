#pragma once
// The drawing steps of the synthetic sheets, shared by the plain sheets and
// the hard ones (turned labels, distractors): paper, label, clutter, finish.
#include <cstdint>
#include <vector>

#include "photo/work_bitmap.h"
#include "support/synthetic_sheet.h"

namespace tagmora::support::drawing {

inline constexpr int kQuietModules = 10;

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive

    bool Overlaps(const Rect& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
    bool Empty() const { return right <= left || bottom <= top; }
};

// Where the label lies and how its barcode is laid out on the sheet.
struct Label {
    Rect area;
    int modules = 0;
};

void FillRect(WorkBitmap& bitmap, Rect r, std::uint8_t grey);
void StampDisc(WorkBitmap& bitmap, double cx, double cy, double radius, std::uint8_t grey);
// The label's paper and its bars at options.moduleWidth pixels per module.
void DrawLabel(WorkBitmap& bitmap, const SheetOptions& o, const Label& label, const std::vector<int>& runs);
// Stems, leaves and handwriting-like marks, none touching keepClear.
void DrawClutter(WorkBitmap& bitmap, const SheetOptions& o, const Rect* keepClear);
WorkBitmap BlankPaper(const SheetOptions& o);
// Uneven light, blur, noise and JPEG as the options ask.
WorkBitmap Finish(WorkBitmap bitmap, const SheetOptions& o);

}  // namespace tagmora::support::drawing
