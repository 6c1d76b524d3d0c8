#include "world/heightmap.h"

#include <cstdio>
#include <memory>

#include "platform/message_box.h"
#include "render/lod_grid.h"

namespace {

// Grid coordinates are 64-bit here so that the neighbours of any 32-bit grid point,
// the extreme ones included, are computed without overflow.
std::uint64_t wrapGrid(std::int64_t value) {
    const std::uint64_t magnitude =
        value < 0 ? 0u - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    return magnitude % Heightmap::kSide;
}

float heightAt(const Heightmap& map, std::int64_t column, std::int64_t row) {
    return static_cast<float>(map.heights[wrapGrid(row) * Heightmap::kSide + wrapGrid(column)]);
}

}  // namespace

float Heightmap::rawHeight(std::int32_t column, std::int32_t row) const {
    return heightAt(*this, column, row);
}

float Heightmap::smoothedHeight(std::int32_t column, std::int32_t row) const {
    const std::int64_t i = column;
    const std::int64_t j = row;
    const float sum = heightAt(*this, i, j) + heightAt(*this, i + 1, j) +
                      heightAt(*this, i, j + 1) + heightAt(*this, i - 1, j) +
                      heightAt(*this, i, j - 1);
    return sum / 5.0f;
}

float Heightmap::terrainHeight(float x, float y) const {
    const float gx = boundGridCoordinate(LodGrid::kScale * x);
    const float gy = boundGridCoordinate(LodGrid::kScale * y);
    const std::int32_t i0 = static_cast<std::int32_t>(gx);
    const std::int32_t j0 = static_cast<std::int32_t>(gy);
    const float dx = gx - static_cast<float>(i0);
    const float dy = gy - static_cast<float>(j0);
    // Each triangle's plane through its three smoothed corners, written without the
    // division by dx of the textbook two-step form: off the map at negative y, dx can be
    // 0 while dy is negative, and that form would return infinity or not a number there.
    const float s00 = smoothedHeight(i0, j0);
    const float s11 = smoothedHeight(i0 + 1, j0 + 1);
    if (dx > dy) {
        // Triangle (i0, j0), (i0 + 1, j0), (i0 + 1, j0 + 1).
        const float s10 = smoothedHeight(i0 + 1, j0);
        return s00 + dx * (s10 - s00) + dy * (s11 - s10);
    }
    // Triangle (i0, j0), (i0, j0 + 1), (i0 + 1, j0 + 1).
    const float s01 = smoothedHeight(i0, j0 + 1);
    return s00 + dy * (s01 - s00) + dx * (s11 - s01);
}

bool loadHeightmap(Heightmap& heightmap, const std::string& fileName) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(fileName.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) {
        showError("Can't find the height map!");
        return false;
    }
    const std::size_t read = std::fread(heightmap.heights.data(), 1, Heightmap::kBytes, file.get());
    if (std::ferror(file.get()) != 0 || read != Heightmap::kBytes) {
        showError("Can't get data!");
        return false;
    }
    return true;
}
