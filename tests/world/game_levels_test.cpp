// The game's own level.xml and heightmaps, as the generator wrote them, read by the
// game's readers: levels 1 and 2 register with their files, enough start points and
// items of every kind, all inside the arena.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <vector>

#include "support/captured_errors.h"
#include "support/temp_dir.h"
#include "world/heightmap.h"
#include "world/load_levels.h"

namespace {

bool insideArena(const Vec3f& p) {
    return p.x > 50 && p.x < 1550 && p.y > 50 && p.y < 1550 && p.z >= 0 && p.z < 260;
}

TEST(GameLevels, EveryLevelLoadsWithItsFilesStartsAndItems) {
    testing_support::ScopedWorkingDir inGameData(VOKA_BINARY_DIR "/gamedata");
    testing_support::CapturedErrors errors;
    LevelRegistry registry;
    const LevelLoadResult result = loadLevels(registry, "./level.xml");
    EXPECT_TRUE(result.parsed) << result.error;
    EXPECT_TRUE(result.refusedResource.empty());
    std::vector<std::int32_t> ids(static_cast<std::size_t>(registry.levelCount()));
    registry.levelIds(ids.data());
    std::sort(ids.begin(), ids.end());
    ASSERT_EQ(ids, (std::vector<std::int32_t>{1, 2}));
    for (std::int32_t id : ids) {
        const Level& level = *registry.getLevel(id);
        EXPECT_FALSE(level.name().empty());
        for (const std::string& file : {level.heightmap(), level.texture(), level.textureDetail()})
            EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
        EXPECT_EQ(std::filesystem::file_size(level.heightmap()), 65536u);  // 256 x 256

        EXPECT_GE(level.spawns().size(), 8u) << id;
        for (const Vec3f& spawn : level.spawns()) EXPECT_TRUE(insideArena(spawn)) << id;
        // Twelve items with their own identifiers, of all six kinds.
        std::vector<std::int32_t> items(static_cast<std::size_t>(level.itemCount()));
        level.itemIds(items.data());
        EXPECT_GE(items.size(), 12u) << id;
        std::set<int> types;
        for (std::int32_t item : items) {
            Placement p;
            ASSERT_TRUE(level.getItem(item, p));
            types.insert(p.type);
            const Vec3f at{p.pose.x, p.pose.y, p.pose.z};
            EXPECT_TRUE(insideArena(at)) << id << " item " << item;
        }
        EXPECT_EQ(types, (std::set<int>{133, 134, 135, 136, 137, 138})) << id;
    }
    EXPECT_TRUE(errors.texts().empty());
}

}  // namespace
