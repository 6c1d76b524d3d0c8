#pragma once

#include <array>
#include <cstdint>
#include <string>

// The ground of a level: 256 × 256 heights of one byte, row-major (byte row × 256 +
// column), column along x and row along y, stretched over the 1600 × 1600 map so that
// one grid step is 6.25 world units; heights are world z as they are.
struct Heightmap {
    static constexpr int kSide = 256;
    static constexpr std::size_t kBytes = kSide * kSide;

    std::array<std::uint8_t, kBytes> heights{};

    // The height at grid column |column| mod 256, row |row| mod 256: the map mirrors at
    // 0 and repeats beyond 255, so column 256 reads column 0.
    float rawHeight(std::int32_t column, std::int32_t row) const;

    // The mean of the raw heights at a grid point and its four direct neighbours; any
    // grid point, even one at the ends of the 32-bit range, has them.
    float smoothedHeight(std::int32_t column, std::int32_t row) const;

    // The ground height at a world position: the smoothed heights of the grid cell's
    // corners interpolated over the same two triangles as the drawn mesh (split along
    // the diagonal from (i, j) to (i + 1, j + 1); a point on the diagonal takes the
    // upper-left triangle). Any position gives a finite height.
    float terrainHeight(float x, float y) const;
};

// Reads the heightmap file into `heightmap`: "Can't find the height map!" when it cannot
// be opened (nothing is read and the ground stays as it was, flat at first); "Can't get
// data!" when reading fails or the file holds fewer than 65536 bytes, in which case the
// bytes read are kept. True when all 65536 bytes were read.
bool loadHeightmap(Heightmap& heightmap, const std::string& fileName);
