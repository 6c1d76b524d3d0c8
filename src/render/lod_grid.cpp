#include "render/lod_grid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "config/settings.h"

namespace {

// A cell named relative to the camera's cell c: c + k, or |c − k| when `absolute`.
struct CellOffset {
    bool absolute;
    std::int32_t k;
};

constexpr CellOffset plus(std::int32_t k) {
    return {false, k};
}
constexpr CellOffset distance(std::int32_t k) {
    return {true, k};
}

// The cells one sector writes: nine middle cells, then six full ones.
struct Sector {
    CellOffset middle[9];
    CellOffset full[6];
};

// Facing +x (rotation 315 to 45), +y (45 to 135), −x (135 to 225) and −y (225 to 315).
constexpr Sector kSectors[4] = {
    {{plus(2), plus(32), distance(32), plus(33), plus(18), plus(34), distance(31), distance(14),
      distance(30)},
     {plus(1), plus(16), distance(16), plus(17), distance(15), distance(1)}},
    {{plus(32), plus(31), plus(30), plus(14), plus(33), plus(18), plus(34), distance(2), plus(2)},
     {plus(16), plus(15), plus(17), distance(1), plus(1), distance(16)}},
    {{distance(2), plus(32), distance(32), plus(14), plus(31), plus(30), distance(34), distance(18),
      distance(33)},
     {distance(1), plus(16), distance(16), plus(15), distance(17), plus(1)}},
    {{distance(32), plus(2), distance(2), distance(34), distance(14), distance(31), distance(18),
      distance(33), distance(30)},
     {distance(16), plus(1), distance(1), distance(15), distance(17), plus(16)}},
};

// Reduces any cell number into 0 to 255.
int wrapCell(std::int32_t cell) {
    const std::int32_t r = cell % LodGrid::kCellCount;
    return r < 0 ? r + LodGrid::kCellCount : r;
}

std::int32_t resolve(CellOffset offset, std::int32_t c) {
    return offset.absolute ? std::abs(c - offset.k) : c + offset.k;
}

// The sector for a rotation about z, or -1 outside 0 to 360 (or not a number).
int sectorOf(float r) {
    if (r >= 0.0f && r < 45.0f) return 0;
    if (r >= 45.0f && r < 135.0f) return 1;
    if (r >= 135.0f && r < 225.0f) return 2;
    if (r >= 225.0f && r < 315.0f) return 3;
    if (r >= 315.0f && r <= 360.0f) return 0;
    return -1;
}

}  // namespace

float boundGridCoordinate(float gridValue) {
    constexpr float kLimit = 1073741824.0f;  // 2^30
    if (std::isnan(gridValue)) return 0.0f;
    return std::clamp(gridValue, -kLimit, kLimit);
}

std::int32_t truncateGridCoordinate(float gridValue) {
    return static_cast<std::int32_t>(boundGridCoordinate(gridValue));
}

LodGrid& LodGrid::instance() {
    static LodGrid grid;
    return grid;
}

void LodGrid::updateLodGrid(const Pose& camera) {
    if (Settings::getLod() == 0) {
        std::fill(std::begin(cells_), std::end(cells_), kFull);
        return;
    }
    std::fill(std::begin(cells_), std::end(cells_), kFar);
    const std::int32_t cx = truncateGridCoordinate(kScale * camera.x);
    const std::int32_t cy = truncateGridCoordinate(kScale * camera.y);
    const std::int32_t c = cx / kSide + (cy / kSide) * kSide;

    const int sector = sectorOf(camera.rotZ);
    if (sector < 0) {
        std::printf("camera angle out of range 0-360 - is:%e\n", static_cast<double>(camera.rotZ));
    } else {
        for (CellOffset offset : kSectors[sector].middle)
            cells_[wrapCell(resolve(offset, c))] = kMiddle;
        for (CellOffset offset : kSectors[sector].full)
            cells_[wrapCell(resolve(offset, c))] = kFull;
    }
    cells_[wrapCell(c)] = kFull;
}

std::int32_t LodGrid::lodAt(float x, float y) const {
    const std::int32_t column =
        std::clamp(truncateGridCoordinate(kScale * x) / kSide, 0, kSide - 1);
    const std::int32_t row = std::clamp(truncateGridCoordinate(kScale * y) / kSide, 0, kSide - 1);
    return cells_[column + row * kSide];
}
