#pragma once

#include <cstdint>

#include "render/body.h"

// A grid coordinate kept within ±2^30 (0 for not a number), so that later conversions
// to integers and the cell arithmetic cannot overflow for any position.
float boundGridCoordinate(float gridValue);

// Truncates a grid coordinate (world units × 0.16) toward zero, as the grid and the
// terrain do, kept within ±2^30 so that no position (however far off the map, or not a
// number, which gives 0) makes the conversion or the cell arithmetic overflow.
std::int32_t truncateGridCoordinate(float gridValue);

// Chooses full, middle or far detail for each 100 × 100 cell of the 1600 × 1600 map,
// from where the camera stands and which way it faces: the camera's cell, its
// neighbours and the cell behind get full detail, the ring two cells ahead and aside
// middle detail, every other cell far detail. The cell values are also the offsets of
// the terrain's three groups of patch objects. Rewritten once a frame while playing.
class LodGrid {
  public:
    static constexpr float kScale = 0.16f;  // world units to terrain grid steps
    static constexpr int kSide = 16;        // cells along x and along y
    static constexpr int kCellCount = kSide * kSide;
    static constexpr std::int32_t kFull = 0;
    static constexpr std::int32_t kMiddle = 256;
    static constexpr std::int32_t kFar = 512;

    static LodGrid& instance();

    // Rewrites every cell for the camera's pose (position in world units, rotation about
    // z in degrees from 0 to 360). With the `lod` setting off every cell is full. A
    // rotation outside 0 to 360 prints "camera angle out of range 0-360 - is:%e" and
    // leaves only the camera's cell full.
    void updateLodGrid(const Pose& camera);

    // The cell value at a world position; positions off the map take the nearest cell.
    std::int32_t lodAt(float x, float y) const;

    std::int32_t cell(int index) const { return cells_[index]; }
    const std::int32_t* cells() const { return cells_; }

  private:
    std::int32_t cells_[kCellCount] = {};
};
