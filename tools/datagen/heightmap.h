#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace datagen {

// 256 × 256 heights in world units, byte (row × 256 + column), column along world x and
// row along world y; one grid step is 6.25 world units.
class Heightmap {
  public:
    static constexpr int kSize = 256;
    static constexpr float kStep = 6.25f;

    Heightmap() : heights_(kSize * kSize, 0) {}

    uint8_t& at(int column, int row) { return heights_[static_cast<size_t>(row) * kSize + column]; }
    // Wraps like the game: |column| mod 256.
    float raw(int column, int row) const;
    // The ground height that the game's vehicles follow at world (x, y): smoothed grid
    // heights interpolated across the same triangles as the terrain mesh.
    float groundHeight(float x, float y) const;
    // Slope steepness at a grid point: height change per world unit.
    float slope(int column, int row) const;

    const std::vector<uint8_t>& bytes() const { return heights_; }

  private:
    float smoothed(float column, float row) const;
    std::vector<uint8_t> heights_;
};

// The two arenas.
Heightmap rollingHills();
Heightmap redCanyon();

}  // namespace datagen
