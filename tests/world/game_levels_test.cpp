// The game's own level.xml and heightmaps, as the generator wrote them, read by the
// game's readers: levels 1 and 2 register with their files, enough start points and
// items of every kind, all inside the arena.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <vector>

#include "support/captured_errors.h"
#include "support/temp_dir.h"
#include "world/load_levels.h"

namespace {

bool insideArena(float x, float y, float z) {
    return x > 50 && x < 1550 && y > 50 && y < 1550 && z >= 0 && z < 260;
}

TEST(GameLevels, EveryLevelLoadsWithItsFilesStartsAndItems) {
    testing_support::ScopedWorkingDir inGameData(VOKA_BINARY_DIR "/gamedata");
    testing_support::CapturedErrors errors;
    LevelRegistry registry;
    const LevelLoadResult result = loadLevels(registry, "./level.xml");
    EXPECT_TRUE(result.parsed && result.refusedResource.empty() && errors.texts().empty())
        << result.error;
    ASSERT_EQ(registry.levelCount(), 2);
    for (std::int32_t id : {1, 2}) {
        ASSERT_NE(registry.getLevel(id), nullptr) << id;
        const Level& level = *registry.getLevel(id);
        EXPECT_FALSE(level.name().empty());
        for (const std::string& file : {level.heightmap(), level.texture(), level.textureDetail()})
            EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
        EXPECT_EQ(std::filesystem::file_size(level.heightmap()), 65536u);  // 256 x 256
        EXPECT_GE(level.spawns().size(), 8u) << id;
        for (const Vec3f& s : level.spawns()) EXPECT_TRUE(insideArena(s.x, s.y, s.z)) << id;
        // Twelve items with their own identifiers, of all six kinds.
        std::vector<std::int32_t> items(static_cast<std::size_t>(level.itemCount()));
        level.itemIds(items.data());
        EXPECT_GE(items.size(), 12u) << id;
        std::set<int> types;
        for (std::int32_t item : items) {
            Placement p;
            ASSERT_TRUE(level.getItem(item, p));
            types.insert(p.type);
            EXPECT_TRUE(insideArena(p.pose.x, p.pose.y, p.pose.z)) << id << " item " << item;
        }
        EXPECT_EQ(types, (std::set<int>{133, 134, 135, 136, 137, 138})) << id;
    }
}

}  // namespace
