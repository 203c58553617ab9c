#include "general/scan_line_sampling.h"

#include <cstddef>

#include "general/line_analysis.h"

namespace tagmora {

namespace {

// Grey level reported for a pixel outside the bitmap, so that a column past
// the right edge reads as blank paper.
constexpr std::int32_t kOutsideLevel = 255;

// A row is averaged with the rows above and below it, which damps sensor noise
// and small specks while bars, being tall, keep their full contrast.
void SampleRow(const WorkBitmap& bitmap, std::int32_t row, std::vector<std::int32_t>& profile) {
    const auto above = bitmap.Row(row - 1);
    const auto centre = bitmap.Row(row);
    const auto below = bitmap.Row(row + 1);
    // The first and last columns are left out.
    const std::size_t count = static_cast<std::size_t>(bitmap.Width - 2);
    profile.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t x = i + 1;
        profile[i] = (std::int32_t{above[x]} + std::int32_t{centre[x]} + std::int32_t{below[x]}) / 3;
    }
}

// A column is read pixel by pixel, without averaging and without an edge
// limit; a column outside the bitmap reads blank.
void SampleColumn(const WorkBitmap& bitmap, std::int32_t column, std::vector<std::int32_t>& profile) {
    const std::size_t count = static_cast<std::size_t>(bitmap.Height);
    profile.resize(count);
    const bool inside = column >= 0 && column < bitmap.Width;
    for (std::size_t y = 0; y < count; ++y) {
        profile[y] = inside ? std::int32_t{bitmap.At(column, static_cast<std::int32_t>(y))} : kOutsideLevel;
    }
}

}  // namespace

std::string SampleScanLine(LineReading& reading, const WorkBitmap& bitmap, bool verticalScan) {
    const std::int32_t line = reading.line;
    auto& profile = reading.general.LineProfile;
    profile.clear();

    if (!verticalScan) {
        // Rows next to the top and bottom edges are refused (row 1 too, though
        // its neighbours exist).
        if (line < 2 || line > bitmap.Height - 2) return {};
        if (bitmap.Width > 2) SampleRow(bitmap, line, profile);
    } else if (bitmap.Height > 0) {
        SampleColumn(bitmap, line, profile);
    }
    return AnalyseLineProfile(reading, verticalScan ? bitmap.Height : bitmap.Width);
}

}  // namespace tagmora
