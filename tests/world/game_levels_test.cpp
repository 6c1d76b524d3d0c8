// The game's own level.xml and heightmaps, as the generator wrote them, read by the
// game's readers: every level registers with its start points and its ground.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/captured_errors.h"
#include "support/temp_dir.h"
#include "world/heightmap.h"
#include "world/load_levels.h"

namespace {

TEST(GameLevels, EveryLevelLoadsWithItsHeightmap) {
    testing_support::ScopedWorkingDir inGameData(VOKA_BINARY_DIR "/gamedata");
    testing_support::CapturedErrors errors;
    LevelRegistry registry;
    const LevelLoadResult result = loadLevels(registry, "./level.xml");
    EXPECT_TRUE(result.parsed) << result.error;
    EXPECT_TRUE(result.refusedResource.empty());
    ASSERT_GE(registry.levelCount(), 2);
    EXPECT_EQ(result.levelsRegistered, registry.levelCount());

    std::vector<std::int32_t> ids(static_cast<std::size_t>(registry.levelCount()));
    registry.levelIds(ids.data());
    for (std::int32_t id : ids) {
        const Level& level = *registry.getLevel(id);
        EXPECT_FALSE(level.name().empty());
        EXPECT_FALSE(level.texture().empty());
        EXPECT_FALSE(level.textureDetail().empty());
        EXPECT_GT(level.itemCount(), 0);
        auto map = std::make_unique<Heightmap>();
        ASSERT_TRUE(loadHeightmap(*map, level.heightmap())) << level.heightmap();
        for (const Vec3f& spawn : level.spawns()) {
            EXPECT_GE(spawn.x, 0.0f);
            EXPECT_LE(spawn.x, 1600.0f);
            EXPECT_TRUE(std::isfinite(map->terrainHeight(spawn.x, spawn.y)));
        }
    }
    EXPECT_TRUE(errors.texts().empty());
}

}  // namespace
