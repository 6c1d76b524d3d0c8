#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/captured_errors.h"
#include "support/temp_dir.h"
#include "world/load_levels.h"

namespace {

using testing_support::CapturedErrors;

LevelLoadResult load(LevelRegistry& registry, const std::string& xml) {
    return loadLevelsFromMemory(registry, xml.data(), xml.size());
}

// Type and position of an item, or of an environment object.
std::vector<float> item(const Level& level, std::int32_t id, bool environment = false) {
    Placement p;
    EXPECT_TRUE(environment ? level.getEnvironment(id, p) : level.getItem(id, p)) << id;
    return {static_cast<float>(p.type), p.pose.x, p.pose.y, p.pose.z};
}

// Positions are read as integers, from their leading digits; a repeated identifier
// replaces the level or item before it; texts keep their first fifty characters (the
// second level's name and heightmap are sixty n's); the working placement carries over
// from element to element and is never reset; unknown elements and attributes, and
// elements outside a level, change nothing.
TEST(LevelFile, ReadsLevelsWithTheirFilesStartsAndItems) {
    LevelRegistry registry;
    const LevelLoadResult result = load(registry, R"(<?xml version="1.0"?>
<levels><player posx="5" posy="9"/><item id="1" posx="6"/><level id="1" name="Quarry" rot="90">
    <terrain heightmap="maps/quarry.raw" texture="quarry.bmp" texture_det="detail.bmp"/>
    <light posy="99" id="9" type="ITEM_POWER15"/><Item id="5"/><player posx="100" posz="30"/>
    <player posx="300.7" posy="abc" posz=" 40" rot="45"/>
    <item id="7" type="ITEM_POWER25" posx="10" posy="20" posz="5" colour="red"/>
    <environment id="3" type="ITEM_AMOR_100" posx="-99999999999999999999" posy="99999999999999999999" posz="-45x"/>
  </level><level id="2" name="Old"><player/></level>
  <level id="2" name="nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn"><terrain heightmap="nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn"/>
    <player posx="9" posy="8" posz="7"/><item id="1" type="ITEM_AMMO_MG" posx="50"/>
    <item id="2" posy="60"/><item id="3" type="NO_SUCH_ITEM"/><item id="1" type="ITEM_AMMO_RAIL"/>
  </level><item id="8"/>
</levels>)");
    EXPECT_TRUE(result.parsed) << result.error;
    EXPECT_EQ(result.levelsRegistered, 3);
    ASSERT_TRUE(registry.levelCount() == 2 && registry.getLevel(1) && registry.getLevel(2));

    const Level& quarry = *registry.getLevel(1);
    EXPECT_EQ(quarry.heightmap() + quarry.texture() + quarry.textureDetail(),
              "maps/quarry.rawquarry.bmpdetail.bmp");
    ASSERT_EQ(quarry.spawns().size(), 2u);
    const auto& spawns = quarry.spawns();  // nothing outside the level set a position
    EXPECT_EQ((std::vector<float>{spawns[0].y, spawns[1].x, spawns[1].y, spawns[1].z}),
              (std::vector<float>{0, 300, 0, 40}));
    EXPECT_EQ(quarry.itemCount(), 1);
    EXPECT_EQ(item(quarry, 7), (std::vector<float>{133, 10, 20, 5}));
    EXPECT_EQ(item(quarry, 3, true),  // integers saturate
              (std::vector<float>{138, -2147483648.0f, 2147483647.0f, -45}));

    const Level& second = *registry.getLevel(2);
    char text[Level::kTextSize];
    second.getName(text);
    EXPECT_EQ(std::string(text), std::string(50, 'n'));
    EXPECT_EQ(std::tuple(second.heightmap().size(), second.itemCount()), std::tuple(50u, 3));
    EXPECT_EQ(item(second, 2), (std::vector<float>{135, 50, 60, 7}));
    EXPECT_EQ(item(second, 3)[0], 135);
    EXPECT_EQ(item(second, 1)[0], 136);
}

// A level without a player start is refused with a message; levels before a fatal error
// stay registered; without a file nothing registers.
TEST(LevelFile, RefusedLevelsAndBrokenFiles) {
    CapturedErrors errors;
    LevelRegistry registry;
    const LevelLoadResult result = load(registry, R"(<l><level id="1"><item id="1"/></level>
        <level id="2"><player/></level><level id="3"><player></l>)");
    EXPECT_TRUE(!result.parsed && !result.error.empty());
    EXPECT_TRUE(registry.levelCount() == 1 && registry.getLevel(2));
    ASSERT_EQ(errors.texts().size(), 1u);
    EXPECT_NE(errors.texts()[0].find("level 1 has no player start"), std::string::npos);
    testing_support::TempDir dir;
    LevelRegistry none;
    EXPECT_FALSE(loadLevels(none, dir.file("level.xml").c_str()).parsed);
    EXPECT_EQ(none.levelCount(), 0);
}

// Documents that try to reach outside the file or to blow up in memory are refused,
// register nothing from the offending level, and never open a file or a connection
// (nothing listens at the address below). Internal entities within the limit work.
TEST(LevelFile, HostileDocumentsAreRefused) {
    // Nine levels of entities, each ten of the one before: 10^9 copies of the first.
    std::string laughs = "<!DOCTYPE level [\n<!ENTITY a \"laugh\">\n";
    for (char e = 'b'; e <= 'j'; ++e) {
        laughs += std::string("<!ENTITY ") + e + " \"";
        for (int i = 0; i < 10; ++i) laughs += std::string("&") + static_cast<char>(e - 1) + ";";
        laughs += "\">\n";
    }
    // doctype, body, refuses a resource, name of the level read (none when refused)
    const std::tuple<std::string, std::string, bool, const char*> documents[] = {
        {laughs + "]>", R"(<level id="1" name="&j;"><player/></level>)", false, nullptr},
        {R"(<!DOCTYPE level [ <!ENTITY secret SYSTEM "file:///etc/passwd"> ]>)",
         R"(<level id="1" ><player/><item id="1">&secret;</item></level>)", true, nullptr},
        {R"(<!DOCTYPE level SYSTEM "http://127.0.0.1:9/level.dtd">)",
         R"(<level id="1"><player/></level>)", true, nullptr},
        {R"(<!DOCTYPE level [ <!ENTITY % remote SYSTEM "http://127.0.0.1:9/p.ent"> %remote; ]>)",
         R"(<level id="1"><player/></level>)", true, nullptr},
        {R"(<!DOCTYPE level [ <!ENTITY n "Quarry"> ]>)",
         R"(<level id="1" name="&n; &amp; &n;"><player/></level>)", false, "Quarry & Quarry"}};
    for (const auto& [doctype, body, refusesResource, name] : documents) {
        CapturedErrors errors;
        LevelRegistry registry;
        const LevelLoadResult result =
            load(registry, "<?xml version=\"1.0\"?>\n" + doctype + "\n" + body);
        const Level* level = registry.getLevel(1);
        EXPECT_EQ(std::tuple(result.parsed, level ? level->name() : "",
                             !result.refusedResource.empty(), errors.texts().size()),
                  std::tuple(name != nullptr, name ? name : "", refusesResource,
                             refusesResource ? 1u : 0u))
            << doctype;
    }
}

}  // namespace
