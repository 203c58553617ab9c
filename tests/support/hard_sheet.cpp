#include "support/hard_sheet.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <random>

#include "support/sheet_drawing.h"

namespace tagmora::support {
namespace {

using namespace drawing;

// Labels are drawn at this many pixels per module, then scaled onto the sheet.
constexpr int kPatchModule = 4;

struct Placement {
    double centreX = 0, centreY = 0;
    double angleDegrees = 0;
    double scale = 1;  // sheet pixels per patch pixel
    double perspective = 0;
};

// Patch coordinates of a sheet point, or false outside the patch.
struct Mapping {
    const WorkBitmap& patch;
    Placement at;
    double c, s, length;

    Mapping(const WorkBitmap& p, const Placement& a)
        : patch(p),
          at(a),
          c(std::cos(a.angleDegrees * std::numbers::pi / 180)),
          s(std::sin(a.angleDegrees * std::numbers::pi / 180)),
          length(p.Width * a.scale) {}

    bool ToPatch(double x, double y, double& u, double& v) const {
        const double dx = x - at.centreX, dy = y - at.centreY;
        const double along = c * dx + s * dy, across = -s * dx + c * dy;
        const double flat = along / (1 - at.perspective * along / length);
        const double depth = 1 + at.perspective * flat / length;
        u = flat / at.scale + patch.Width / 2.0;
        v = across * depth / at.scale + patch.Height / 2.0;
        return u >= 0 && v >= 0 && u < patch.Width - 1 && v < patch.Height - 1;
    }
    double Bilinear(double u, double v) const {
        const int x = static_cast<int>(u), y = static_cast<int>(v);
        const double fx = u - x, fy = v - y;
        const double top = patch.At(x, y) * (1 - fx) + patch.At(x + 1, y) * fx;
        const double bottom = patch.At(x, y + 1) * (1 - fx) + patch.At(x + 1, y + 1) * fx;
        return top * (1 - fy) + bottom * fy;
    }
};

Rect Bounds(const WorkBitmap& patch, const Placement& at) {
    const double reach = 0.5 * std::hypot(patch.Width, patch.Height) * at.scale * (1 + at.perspective) + 2;
    return {static_cast<int>(at.centreX - reach), static_cast<int>(at.centreY - reach),
            static_cast<int>(at.centreX + reach) + 1, static_cast<int>(at.centreY + reach) + 1};
}

// The patch drawn over the sheet, each pixel the mean of a grid of points
// inside it: thin bars come out grey at their edges as a lens draws them.
void Paste(WorkBitmap& sheet, const WorkBitmap& patch, const Placement& at) {
    const Mapping map(patch, at);
    const int grid = std::clamp(static_cast<int>(std::ceil(1 / at.scale)) + 1, 2, 4);
    const Rect r = Bounds(patch, at);
    for (int y = std::max(0, r.top); y < std::min(sheet.Height, r.bottom); ++y) {
        auto row = sheet.Row(y);
        for (int x = std::max(0, r.left); x < std::min(sheet.Width, r.right); ++x) {
            double sum = 0;
            int inside = 0;
            for (int j = 0; j < grid; ++j) {
                for (int i = 0; i < grid; ++i) {
                    double u = 0, v = 0;
                    if (!map.ToPatch(x + (i + 0.5) / grid - 0.5, y + (j + 0.5) / grid - 0.5, u, v)) continue;
                    sum += map.Bilinear(u, v);
                    ++inside;
                }
            }
            if (inside == 0) continue;
            const double outside = grid * grid - inside;
            row[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(
                std::lround((sum + outside * row[static_cast<std::size_t>(x)]) / (grid * grid)));
        }
    }
}

WorkBitmap Patch(int width, int height, std::uint8_t grey) {
    WorkBitmap patch;
    patch.Resize(width, height);
    std::fill(patch.Pixels.begin(), patch.Pixels.end(), grey);
    return patch;
}

using Rng = std::mt19937;
double Uniform(Rng& rng, double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); }

// Typed-looking text: letters built of upright stems, cross strokes and bowls
// of one stroke width at a steady pitch, the texture most like bars.
void DrawTypedLine(WorkBitmap& patch, Rng& rng, int left, int top, int right, int xHeight, std::uint8_t ink) {
    const int stroke = std::max(1, xHeight / 6), pitch = xHeight * 3 / 4 + stroke;
    for (int x = left; x + pitch < right; x += pitch) {
        if (Uniform(rng, 0, 1) < 0.16) continue;  // a word gap
        const int shape = static_cast<int>(Uniform(rng, 0, 5));
        const int tall = Uniform(rng, 0, 1) < 0.3 ? xHeight / 2 : 0;
        const int w = pitch - stroke - 1;
        FillRect(patch, {x, top - tall, x + stroke, top + xHeight}, ink);
        if (shape == 1 || shape == 2) FillRect(patch, {x + w - stroke, top, x + w, top + xHeight}, ink);
        if (shape == 2 || shape == 3) FillRect(patch, {x, top, x + w, top + stroke}, ink);
        if (shape == 3) FillRect(patch, {x, top + xHeight - stroke, x + w, top + xHeight}, ink);
        if (shape == 4)
            for (double a = 0; a < 2 * std::numbers::pi; a += 0.2)
                StampDisc(patch, x + w / 2.0 + std::cos(a) * w / 2.0, top + xHeight / 2.0 + std::sin(a) * xHeight / 2.0,
                          stroke / 2.0, ink);
    }
}

WorkBitmap TypedBlock(Rng& rng, double scale) {
    const int xHeight = std::max(5, static_cast<int>(Uniform(rng, 6, 14) * scale));
    const int lines = static_cast<int>(Uniform(rng, 3, 9)), width = static_cast<int>(Uniform(rng, 200, 500) * scale);
    WorkBitmap patch = Patch(width, lines * xHeight * 2 + xHeight, static_cast<std::uint8_t>(Uniform(rng, 200, 245)));
    for (int l = 0; l < lines; ++l) DrawTypedLine(patch, rng, 2, xHeight + l * xHeight * 2, width - 2, xHeight, 30);
    return patch;
}

// A ruler: millimetre ticks, longer every fifth and tenth, numbers between.
WorkBitmap Ruler(Rng& rng, double scale) {
    const double mm = Uniform(rng, 2.5, 7) * scale;
    const int ticks = static_cast<int>(Uniform(rng, 80, 200));
    WorkBitmap patch = Patch(static_cast<int>(ticks * mm) + 20, static_cast<int>(12 * mm), 235);
    const int width = std::max(1, static_cast<int>(mm / 4));
    for (int t = 0; t <= ticks; ++t) {
        const int x = 10 + static_cast<int>(t * mm);
        const double length = t % 10 == 0 ? 6 : t % 5 == 0 ? 4.5 : 3;
        FillRect(patch, {x, 0, x + width, static_cast<int>(length * mm)}, 20);
        if (t % 10 == 0)
            DrawTypedLine(patch, rng, x + 2, static_cast<int>(7.5 * mm), x + static_cast<int>(3 * mm),
                          static_cast<int>(2.5 * mm), 20);
    }
    return patch;
}

// A colour chart photographed in grey: two rows of patches of every shade.
WorkBitmap ColourChart(Rng& rng, double scale) {
    const int side = static_cast<int>(Uniform(rng, 20, 45) * scale), gap = std::max(2, side / 8);
    WorkBitmap patch = Patch(12 * (side + gap) + gap, 2 * (side + gap) + gap, 25);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 12; ++c)
            FillRect(patch,
                     {gap + c * (side + gap), gap + r * (side + gap), (c + 1) * (side + gap), (r + 1) * (side + gap)},
                     static_cast<std::uint8_t>(Uniform(rng, 30, 250)));
    return patch;
}

// A printed table: ruled cells with typed entries.
WorkBitmap Table(Rng& rng, double scale) {
    const int columns = static_cast<int>(Uniform(rng, 3, 7)), rows = static_cast<int>(Uniform(rng, 4, 10));
    const int cellW = static_cast<int>(Uniform(rng, 40, 90) * scale),
              cellH = static_cast<int>(Uniform(rng, 14, 26) * scale);
    const int rule = std::max(1, static_cast<int>(scale));
    WorkBitmap patch = Patch(columns * cellW + rule, rows * cellH + rule, 240);
    for (int c = 0; c <= columns; ++c) FillRect(patch, {c * cellW, 0, c * cellW + rule, rows * cellH + rule}, 30);
    for (int r = 0; r <= rows; ++r) FillRect(patch, {0, r * cellH, columns * cellW + rule, r * cellH + rule}, 30);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            DrawTypedLine(patch, rng, c * cellW + 4, r * cellH + cellH / 3,
                          (c + 1) * cellW - static_cast<int>(Uniform(rng, 4, cellW / 2)), cellH / 2, 30);
    return patch;
}

Placement Anywhere(Rng& rng, const SheetOptions& o) {
    return {Uniform(rng, 0.1, 0.9) * o.width, Uniform(rng, 0.1, 0.9) * o.height, Uniform(rng, 0, 360), 1.0, 0.0};
}

// A label drawn at kPatchModule pixels per module, and where it goes.
struct LabelPatch {
    WorkBitmap patch;
    Placement at;
};

LabelPatch MakeLabelPatch(const TurnedLabel& label, const SheetOptions& options) {
    const int modules = std::accumulate(label.runs.begin(), label.runs.end(), 0);
    SheetOptions patchOptions = options;
    patchOptions.moduleWidth = kPatchModule;
    const int barModules = std::max(4, static_cast<int>(options.barHeight / label.modulePixels));
    const Label area{
        {0, 0, (modules + 2 * kQuietModules) * kPatchModule, (barModules + 2 * kQuietModules) * kPatchModule}, modules};
    LabelPatch p{Patch(area.area.right, area.area.bottom, options.light),
                 {label.centreX < 0 ? options.width / 2.0 : label.centreX,
                  label.centreY < 0 ? options.height / 2.0 : label.centreY, label.angleDegrees,
                  label.modulePixels / kPatchModule, label.perspective}};
    DrawLabel(p.patch, patchOptions, area, label.runs);
    return p;
}

}  // namespace

WorkBitmap MakeTurnedSheet(const std::vector<TurnedLabel>& labels, const SheetOptions& options) {
    std::vector<LabelPatch> patches;
    Rect keepClear{options.width, options.height, 0, 0};
    for (const TurnedLabel& label : labels) {
        patches.push_back(MakeLabelPatch(label, options));
        const Rect r = Bounds(patches.back().patch, patches.back().at);
        keepClear = {std::min(keepClear.left, r.left), std::min(keepClear.top, r.top),
                     std::max(keepClear.right, r.right), std::max(keepClear.bottom, r.bottom)};
    }
    WorkBitmap sheet = BlankPaper(options);
    if (options.clutter) DrawClutter(sheet, options, &keepClear);
    for (const LabelPatch& p : patches) Paste(sheet, p.patch, p.at);
    return Finish(std::move(sheet), options);
}

WorkBitmap MakeDistractorSheet(const SheetOptions& options, const std::vector<TurnedLabel>& labels, Distractor kind) {
    WorkBitmap sheet = BlankPaper(options);
    if (options.clutter) DrawClutter(sheet, options, nullptr);
    Rng rng(options.seed * 7919u + 17u);
    const double scale = std::sqrt(static_cast<double>(options.width) * options.height) / 1400.0;
    if (kind == Distractor::All) {
        for (int block = 0; block < 3; ++block) Paste(sheet, TypedBlock(rng, scale), Anywhere(rng, options));
        Paste(sheet, Ruler(rng, scale), Anywhere(rng, options));
        Paste(sheet, ColourChart(rng, scale), Anywhere(rng, options));
        Paste(sheet, Table(rng, scale), Anywhere(rng, options));
    } else if (kind != Distractor::StemsOnly) {
        using Maker = WorkBitmap (*)(Rng&, double);
        const Maker make = kind == Distractor::TypedText ? TypedBlock
                           : kind == Distractor::Ruler   ? Ruler
                           : kind == Distractor::Table   ? Table
                                                         : ColourChart;
        for (int item = 0; item < 3; ++item) Paste(sheet, make(rng, scale), Anywhere(rng, options));
    }
    for (const TurnedLabel& label : labels) {
        const LabelPatch p = MakeLabelPatch(label, options);
        Paste(sheet, p.patch, p.at);
    }
    return Finish(std::move(sheet), options);
}

}  // namespace tagmora::support
