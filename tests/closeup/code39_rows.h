#pragma once
// Hand-built close-up rows: Code 39 written as run letters from the standard
// character patterns, then drawn as light and dark pixel runs. Exact edges,
// no blur: the unit tests control every run width.
#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "photo/work_bitmap.h"

namespace tagmora::testing {

// Code 39 in run letters (b/B narrow/wide bar, s/S narrow/wide space), after
// ISO/IEC 16388.
inline constexpr std::array<std::pair<char, std::string_view>, 38> kCode39Letters{{
    {'0', "bsbSBsBsb"}, {'1', "BsbSbsbsB"}, {'2', "bsBSbsbsB"}, {'3', "BsBSbsbsb"}, {'4', "bsbSBsbsB"},
    {'5', "BsbSBsbsb"}, {'6', "bsBSBsbsb"}, {'7', "bsbSbsBsB"}, {'8', "BsbSbsBsb"}, {'9', "bsBSbsBsb"},
    {'A', "BsbsbSbsB"}, {'B', "bsBsbSbsB"}, {'C', "BsBsbSbsb"}, {'D', "bsbsBSbsB"}, {'E', "BsbsBSbsb"},
    {'F', "bsBsBSbsb"}, {'G', "bsbsbSBsB"}, {'H', "BsbsbSBsb"}, {'I', "bsBsbSBsb"}, {'J', "bsbsBSBsb"},
    {'K', "BsbsbsbSB"}, {'L', "bsBsbsbSB"}, {'M', "BsBsbsbSb"}, {'N', "bsbsBsbSB"}, {'O', "BsbsBsbSb"},
    {'P', "bsBsBsbSb"}, {'Q', "bsbsbsBSB"}, {'R', "BsbsbsBSb"}, {'S', "bsBsbsBSb"}, {'T', "bsbsBsBSb"},
    {'U', "BSbsbsbsB"}, {'V', "bSBsbsbsB"}, {'W', "BSBsbsbsb"}, {'X', "bSbsBsbsB"}, {'Y', "BSbsBsbsb"},
    {'Z', "bSBsBsbsb"}, {'-', "bSbsbsBsB"}, {'*', "bSbsBsBsb"},
}};

// Start character, each character of text, stop character, narrow gaps between.
inline std::string Code39Letters(std::string_view text) {
    std::string letters;
    const std::string framed = "*" + std::string(text) + "*";
    for (const char c : framed) {
        bool found = false;
        for (const auto& [character, pattern] : kCode39Letters) {
            if (character != c) continue;
            if (!letters.empty()) letters += 's';
            letters += pattern;
            found = true;
            break;
        }
        if (!found) throw std::invalid_argument("no Code 39 pattern for this character");
    }
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

}  // namespace tagmora::testing
