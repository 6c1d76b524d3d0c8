#pragma once

#include <cmath>
#include <cstddef>
#include <memory>

#include "world/heightmap.h"

// Rolling hills between 30 and 150 units high, as the game's own maps have.
inline std::unique_ptr<Heightmap> hills() {
    auto map = std::make_unique<Heightmap>();
    for (int row = 0; row < Heightmap::kSide; ++row) {
        for (int column = 0; column < Heightmap::kSide; ++column) {
            const double h = 90.0 + 60.0 * std::sin(column * 0.07) * std::cos(row * 0.05);
            map->heights[static_cast<std::size_t>(row * Heightmap::kSide + column)] =
                static_cast<std::uint8_t>(h);
        }
    }
    return map;
}
