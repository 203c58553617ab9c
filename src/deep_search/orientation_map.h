#pragma once
// The picture reduced to square cells, each holding the structure tensor of
// its grey-level gradient: how strong the edges are and in which direction
// they run. Barcodes are found on this small map, never on the picture.
#include <cstdint>
#include <vector>

#include "deep_search/geometry.h"

namespace tagmora::deep {

struct CellTensor {
    float Xx = 0, Yy = 0, Xy = 0;  // mean gx*gx, gy*gy, gx*gy per sample

    float Energy() const { return Xx + Yy; }
    // 0 for edges in every direction, 1 for edges all parallel.
    float Coherence() const;
    // Direction of the gradient (across the edges), radians in (-pi/2, pi/2].
    float Angle() const;
};

struct OrientationMap {
    std::int32_t CellSize = 0;
    std::int32_t Columns = 0, Rows = 0;
    std::vector<CellTensor> Cells;  // row-major

    const CellTensor& At(std::int32_t column, std::int32_t row) const {
        return Cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(Columns) +
                     static_cast<std::size_t>(column)];
    }
    PointF CellCentre(std::int32_t column, std::int32_t row) const {
        return {(static_cast<float>(column) + 0.5f) * static_cast<float>(CellSize),
                (static_cast<float>(row) + 0.5f) * static_cast<float>(CellSize)};
    }
};

// Gradients at full resolution on every other row, summed per cell of
// cellSize pixels: thin bars of 1 to 2 pixels survive, which a reduced copy
// of the picture would blur away.
OrientationMap BuildOrientationMap(const GreyImage& image, std::int32_t cellSize);

// Each cell's tensor summed with its eight neighbours: a cell that falls
// inside one wide bar still belongs to its barcode.
OrientationMap SmoothOrientationMap(const OrientationMap& map);

}  // namespace tagmora::deep
