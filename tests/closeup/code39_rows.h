#pragma once
// Hand-built close-up rows: Code 39 as zint encodes it, written as run
// letters and drawn as light and dark pixel runs. Exact edges, no blur: the
// unit tests control every run width.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "photo/work_bitmap.h"
#include "support/barcode_render.h"

namespace tagmora::support {

// The start character, each character of text and the stop character with
// the narrow gaps between them, in run letters (b/B narrow/wide bar, s/S
// narrow/wide space) as zint encodes them.
inline std::string Code39Letters(std::string_view text) {
    std::string letters;
    const std::vector<int> modules = RenderModules(Symbology::Code39, text);
    for (std::size_t i = 0; i < modules.size(); ++i)
        letters += i % 2 == 0 ? (modules[i] > 1 ? 'B' : 'b') : (modules[i] > 1 ? 'S' : 's');
    return letters;
}

// Signed run widths for letters: positive light, negative dark.
inline std::vector<int> LetterRuns(std::string_view letters, int narrow, int wide) {
    std::vector<int> runs;
    for (const char c : letters) {
        const int width = (c == 'B' || c == 'S') ? wide : narrow;
        runs.push_back((c == 'b' || c == 'B') ? -width : width);
    }
    return runs;
}

struct RowInk {
    std::uint8_t dark = 20;
    std::uint8_t light = 230;
};

// A row of the given width: light up to quiet, then the runs, then light.
inline std::vector<std::uint8_t> DrawRuns(const std::vector<int>& runs, int quiet, int width, RowInk ink = {}) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width), ink.light);
    int x = quiet;
    for (const int run : runs) {
        const int length = run < 0 ? -run : run;
        for (int i = 0; i < length && x < width; ++i, ++x)
            row[static_cast<std::size_t>(x)] = run < 0 ? ink.dark : ink.light;
    }
    return row;
}

inline std::vector<std::uint8_t> DrawCode39Row(std::string_view text, int narrow, int wide, int quiet, int width) {
    return DrawRuns(LetterRuns(Code39Letters(text), narrow, wide), quiet, width);
}

// A bitmap of one grey level with rows first..last (inclusive) set to row.
inline void FillBitmap(WorkBitmap& bitmap, int width, int height, std::uint8_t grey) {
    bitmap.Resize(width, height);
    std::fill(bitmap.Pixels.begin(), bitmap.Pixels.end(), grey);
}

inline void PaintRows(WorkBitmap& bitmap, int first, int last, const std::vector<std::uint8_t>& row) {
    for (int y = first; y <= last; ++y) {
        auto target = bitmap.Row(y);
        for (std::size_t x = 0; x < target.size() && x < row.size(); ++x) target[x] = row[x];
    }
}

}  // namespace tagmora::support
