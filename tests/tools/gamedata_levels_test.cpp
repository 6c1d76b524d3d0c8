// level.xml is well-formed, and each level names terrain files that exist, enough start
// points and items of every kind, all inside the arena.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "gamedata_support.h"
#include "xml_tags.h"

namespace {

using namespace gamedata_testing;
namespace fs = std::filesystem;

using Attributes = std::map<std::string, std::string>;

struct Level {
    Attributes level;
    Attributes terrain;
    std::vector<Attributes> players;
    std::vector<Attributes> items;
};

std::vector<Level> levels() {
    std::vector<Level> out;
    for (const datagen::XmlTag& e : datagen::startTags(readFile(gamePath("level.xml")))) {
        if (e.name == "level") out.push_back({e.attributes, {}, {}, {}});
        if (out.empty()) continue;
        if (e.name == "terrain") out.back().terrain = e.attributes;
        if (e.name == "player") out.back().players.push_back(e.attributes);
        if (e.name == "item") out.back().items.push_back(e.attributes);
    }
    return out;
}

TEST(LevelFile, IsWellFormed) {
    const CommandResult r = run("xmllint --noout " + quoted(gamePath("level.xml")));
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "");
}

TEST(LevelFile, HoldsLevelsOneAndTwo) {
    std::vector<int> ids;
    for (const Level& l : levels()) ids.push_back(std::stoi(l.level.at("id")));
    EXPECT_EQ(ids, (std::vector<int>{1, 2}));
}

bool insideArena(const Attributes& a) {
    const int x = std::stoi(a.at("posx"));
    const int y = std::stoi(a.at("posy"));
    const int z = std::stoi(a.at("posz"));
    return x > 50 && x < 1550 && y > 50 && y < 1550 && z >= 0 && z < 260;
}

class EachLevel : public ::testing::TestWithParam<int> {
  protected:
    Level level() const {
        const std::vector<Level> all = levels();
        return all.at(static_cast<size_t>(GetParam()));
    }
};

// Names are read into 50-character fields, so the paths must be shorter.
TEST_P(EachLevel, NamesTerrainFilesThatExist) {
    const Level l = level();
    for (const char* key : {"heightmap", "texture", "texture_det"}) {
        ASSERT_EQ(l.terrain.count(key), 1u) << key;
        const std::string path = l.terrain.at(key);
        EXPECT_LE(path.size(), 50u) << path;
        EXPECT_TRUE(fs::is_regular_file(gamePath(path))) << path;
    }
    EXPECT_LE(l.level.at("name").size(), 50u);
}

// 256 × 256 heights; valleys under 20 where the ground fog lies thick, and hills over 70
// where it is gone.
TEST_P(EachLevel, HeightmapIs65536BytesWithFoggyValleysAndClearHills) {
    const std::string bytes = readFile(gamePath(level().terrain.at("heightmap")));
    ASSERT_EQ(bytes.size(), 65536u);
    const auto low = std::count_if(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 20; });
    const auto high = std::count_if(bytes.begin(), bytes.end(),
                                    [](char c) { return static_cast<unsigned char>(c) >= 70; });
    EXPECT_GT(low, 65536 / 50);
    EXPECT_GT(high, 65536 / 5);
}

TEST_P(EachLevel, HasEightStartsInsideTheArena) {
    const Level l = level();
    EXPECT_GE(l.players.size(), 8u);
    for (const Attributes& p : l.players) EXPECT_TRUE(insideArena(p));
}

TEST_P(EachLevel, HasTwelveItemsOfEveryKindSpreadOverTheArena) {
    const Level l = level();
    EXPECT_GE(l.items.size(), 12u);
    std::set<std::string> types;
    std::set<std::string> ids;
    int quarters[4] = {0, 0, 0, 0};
    for (const Attributes& item : l.items) {
        types.insert(item.at("type"));
        EXPECT_TRUE(ids.insert(item.at("id")).second) << "repeated id " << item.at("id");
        EXPECT_TRUE(insideArena(item));
        ++quarters[(std::stoi(item.at("posx")) >= 800 ? 1 : 0) +
                   (std::stoi(item.at("posy")) >= 800 ? 2 : 0)];
    }
    EXPECT_EQ(types, (std::set<std::string>{"ITEM_POWER25", "ITEM_POWER15", "ITEM_AMMO_MG",
                                            "ITEM_AMMO_RAIL", "ITEM_AMOR_50", "ITEM_AMOR_100"}));
    for (int q : quarters) EXPECT_GE(q, 2);
}

INSTANTIATE_TEST_SUITE_P(Levels, EachLevel, ::testing::Values(0, 1));

}  // namespace
