#include "deep_search/orientation_map.h"

#include <algorithm>
#include <cmath>

namespace tagmora::deep {

float CellTensor::Coherence() const {
    const float energy = Energy();
    if (energy <= 0) return 0;
    const float d = Xx - Yy;
    return std::sqrt(d * d + 4 * Xy * Xy) / energy;
}

float CellTensor::Angle() const { return 0.5f * std::atan2(2 * Xy, Xx - Yy); }

namespace {

struct Sums {
    std::int32_t xx = 0, yy = 0, xy = 0;
};

// One block of 16 columns of one sampled row: a fixed trip count lets the
// compiler turn it into vector instructions. Both gradients are taken over
// the same 2 x 2 pixels, so that they describe one point: differences a half
// pixel apart would make thin diagonal bars look incoherent.
Sums BlockSums(const std::uint8_t* row, const std::uint8_t* below) {
    Sums s;
    for (int i = 0; i < 16; ++i) {
        const int gx = row[i + 1] + below[i + 1] - row[i] - below[i];
        const int gy = below[i] + below[i + 1] - row[i] - row[i + 1];
        s.xx += gx * gx;
        s.yy += gy * gy;
        s.xy += gx * gy;
    }
    return s;
}

}  // namespace

OrientationMap BuildOrientationMap(const GreyImage& image, std::int32_t cellSize) {
    OrientationMap map;
    if (image.Empty() || cellSize % 16 != 0) return map;
    map.CellSize = cellSize;
    map.Columns = (image.Width - 1) / cellSize;
    map.Rows = (image.Height - 1) / cellSize;
    map.Cells.resize(static_cast<std::size_t>(map.Columns) * static_cast<std::size_t>(map.Rows));
    const int blocksPerCell = cellSize / 16;
    const float perCell = static_cast<float>(cellSize * cellSize * 2);  // half the rows, gradients of two pixel pairs
    std::vector<Sums> rowSums(static_cast<std::size_t>(map.Columns));

    for (std::int32_t r = 0; r < map.Rows; ++r) {
        std::fill(rowSums.begin(), rowSums.end(), Sums{});
        for (std::int32_t y = r * cellSize; y < (r + 1) * cellSize; y += 2) {
            const std::uint8_t* row = image.Row(y);
            const std::uint8_t* below = image.Row(y + 1);
            for (std::int32_t c = 0; c < map.Columns; ++c) {
                Sums& cell = rowSums[static_cast<std::size_t>(c)];
                for (int b = 0; b < blocksPerCell; ++b) {
                    const std::ptrdiff_t x = c * cellSize + b * 16;
                    const Sums s = BlockSums(row + x, below + x);
                    cell.xx += s.xx;
                    cell.yy += s.yy;
                    cell.xy += s.xy;
                }
            }
        }
        for (std::int32_t c = 0; c < map.Columns; ++c) {
            const Sums& s = rowSums[static_cast<std::size_t>(c)];
            map.Cells[static_cast<std::size_t>(r * map.Columns + c)] = {s.xx / perCell, s.yy / perCell, s.xy / perCell};
        }
    }
    return map;
}

OrientationMap SmoothOrientationMap(const OrientationMap& map) {
    OrientationMap smooth = map;
    for (std::int32_t r = 0; r < map.Rows; ++r) {
        for (std::int32_t c = 0; c < map.Columns; ++c) {
            CellTensor sum;
            int count = 0;
            for (std::int32_t dr = std::max(0, r - 1); dr <= std::min(map.Rows - 1, r + 1); ++dr) {
                for (std::int32_t dc = std::max(0, c - 1); dc <= std::min(map.Columns - 1, c + 1); ++dc) {
                    const CellTensor& t = map.At(dc, dr);
                    sum.Xx += t.Xx;
                    sum.Yy += t.Yy;
                    sum.Xy += t.Xy;
                    ++count;
                }
            }
            const float n = static_cast<float>(count);
            smooth.Cells[static_cast<std::size_t>(r * map.Columns + c)] = {sum.Xx / n, sum.Yy / n, sum.Xy / n};
        }
    }
    return smooth;
}

}  // namespace tagmora::deep
