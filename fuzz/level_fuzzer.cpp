// The level file and the ground under it. Any document leaves whole levels behind (a
// start point, texts within their 50 characters, each item under its own identifier), and
// the ground height is finite wherever a level places something, and anywhere at all.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#include <xercesc/util/PlatformUtils.hpp>

#include "fuzz_support.h"
#include "world/heightmap.h"
#include "world/load_levels.h"

namespace {

void checkGroundAt(const Heightmap& ground, float x, float y) {
    fuzz::require(std::isfinite(ground.terrainHeight(x, y)), "a finite ground height");
}

// Items and environment objects alike: each is found under the identifier it is listed by.
template <typename Ids, typename Get>
void checkPlacements(const Heightmap& ground, std::int32_t count, Ids ids, Get get) {
    std::vector<std::int32_t> listed(static_cast<std::size_t>(count));
    ids(listed.data());
    for (const std::int32_t id : listed) {
        Placement placement;
        fuzz::require(get(id, placement) && placement.id == id, "placed under its identifier");
        checkGroundAt(ground, placement.pose.x, placement.pose.y);
    }
}

void checkLevel(const Level& level, const Heightmap& ground) {
    for (const std::string* text :
         {&level.name(), &level.heightmap(), &level.texture(), &level.textureDetail()})
        fuzz::require(text->size() <= Level::kTextLength, "texts within their length");
    fuzz::require(!level.spawns().empty(), "a start point in every level");
    for (const Vec3f& spawn : level.spawns()) checkGroundAt(ground, spawn.x, spawn.y);
    checkPlacements(
        ground, level.itemCount(), [&](std::int32_t* out) { level.itemIds(out); },
        [&](std::int32_t id, Placement& out) { return level.getItem(id, out); });
    checkPlacements(
        ground, level.environmentCount(), [&](std::int32_t* out) { level.environmentIds(out); },
        [&](std::int32_t id, Placement& out) { return level.getEnvironment(id, out); });
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::countMessages();
    // The parser library stays initialised for the whole run: starting it for each parse
    // (as the game does, once) would cap the run at a few hundred inputs a second.
    xercesc::XMLPlatformUtils::Initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LevelRegistry registry;
    const LevelLoadResult result =
        loadLevelsFromMemory(registry, reinterpret_cast<const char*>(data), size);
    fuzz::require(registry.levelCount() <= result.levelsRegistered, "every level was counted");

    // The ground: the file's own bytes, over and over.
    const auto ground = std::make_unique<Heightmap>();
    for (std::size_t at = 0; size > 0 && at < Heightmap::kBytes; at += size)
        std::memcpy(ground->heights.data() + at, data, std::min(size, Heightmap::kBytes - at));
    std::vector<std::int32_t> ids(static_cast<std::size_t>(registry.levelCount()));
    registry.levelIds(ids.data());
    for (const std::int32_t id : ids) {
        const Level* level = registry.getLevel(id);
        fuzz::require(level != nullptr && level->getId() == id, "registered under its identifier");
        checkLevel(*level, *ground);
    }
    // Any grid point and any position, from the file's first eight bytes.
    if (size >= 8) {
        std::int32_t grid[2];
        float position[2];
        std::memcpy(grid, data, sizeof grid);
        std::memcpy(position, data, sizeof position);
        const float smoothed = ground->smoothedHeight(grid[0], grid[1]);
        fuzz::require(smoothed >= 0.0f && smoothed <= 255.0f, "a smoothed height is a height");
        checkGroundAt(*ground, position[0], position[1]);
    }
    return 0;
}
