#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/captured_errors.h"
#include "support/temp_dir.h"
#include "world/level_handler.h"
#include "world/load_levels.h"

namespace {

using testing_support::CapturedErrors;

LevelLoadResult load(LevelRegistry& registry, const std::string& xml) {
    return loadLevelsFromMemory(registry, xml.data(), xml.size());
}

std::vector<std::int32_t> levelIds(const LevelRegistry& registry) {
    std::vector<std::int32_t> ids(static_cast<std::size_t>(registry.levelCount()));
    registry.levelIds(ids.data());
    std::sort(ids.begin(), ids.end());
    return ids;
}

Placement item(const Level& level, std::int32_t id) {
    Placement p;
    EXPECT_TRUE(level.getItem(id, p)) << "item " << id;
    return p;
}

TEST(LevelFile, ReadsTwoLevelsWithTheirFilesStartsAndItems) {
    LevelRegistry registry;
    const LevelLoadResult result = load(registry, R"(<?xml version="1.0"?>
<levels>
  <level id="1" name="Quarry">
    <terrain heightmap="maps/quarry.raw" texture="quarry.bmp" texture_det="detail.bmp"/>
    <player posx="100" posy="200" posz="30"/>
    <player posx="300.7" posy="abc" posz=" 40"/>
    <item id="7" type="ITEM_POWER25" posx="10" posy="20" posz="5"/>
    <environment id="3" type="ITEM_AMOR_100" posx="1" posy="2" posz="3"/>
  </level>
  <level id="2" name="Old"><player/></level>
  <level id="2" name="Dunes"><player posx="5" posy="6" posz="7"/></level>
</levels>)");
    EXPECT_TRUE(result.parsed) << result.error;
    EXPECT_EQ(result.levelsRegistered, 3);
    EXPECT_EQ(levelIds(registry), (std::vector<std::int32_t>{1, 2}));

    const Level* quarry = registry.getLevel(1);
    ASSERT_NE(quarry, nullptr);
    EXPECT_EQ(quarry->heightmap() + quarry->texture() + quarry->textureDetail(),
              "maps/quarry.rawquarry.bmpdetail.bmp");
    ASSERT_EQ(quarry->spawns().size(), 2u);
    EXPECT_EQ(quarry->spawns()[1].x, 300.0f);  // positions are read as integers
    EXPECT_EQ(quarry->spawns()[1].y, 0.0f);
    EXPECT_EQ(quarry->spawns()[1].z, 40.0f);
    const Placement power = item(*quarry, 7);
    EXPECT_EQ(power.type, 133);
    EXPECT_EQ(power.pose.y, 20.0f);
    Placement environment;
    ASSERT_TRUE(quarry->getEnvironment(3, environment));
    EXPECT_EQ(environment.type, 138);

    const Level* dunes = registry.getLevel(2);  // the repeated identifier's second level
    ASSERT_NE(dunes, nullptr);
    EXPECT_EQ(dunes->name(), "Dunes");
    EXPECT_EQ(registry.getLevel(3), nullptr);
}

TEST(LevelFile, WorkingPlacementCarriesOverAndIsNeverReset) {
    LevelRegistry registry;
    load(registry, R"(<level id="1"><player posx="9" posy="8" posz="7"/>
        <item id="1" type="ITEM_AMMO_MG" posx="50"/>
        <item id="2" posy="60"/>
        <item id="3" type="NO_SUCH_ITEM"/>
        <item id="1" type="ITEM_AMMO_RAIL"/></level>)");
    const Level& level = *registry.getLevel(1);
    EXPECT_EQ(level.itemCount(), 3);
    const Placement second = item(level, 2);
    EXPECT_EQ(second.type, 135);
    EXPECT_EQ(second.pose.x, 50.0f);
    EXPECT_EQ(second.pose.y, 60.0f);
    EXPECT_EQ(second.pose.z, 7.0f);
    EXPECT_EQ(item(level, 3).type, 135);
    EXPECT_EQ(item(level, 1).type, 136);  // the repeated identifier replaced the first
}

TEST(LevelFile, IntegersKeepTheirLeadingDigitsAndSaturate) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"12.7", 12},
        {"abc", 0},
        {"  -45x", -45},
        {"99999999999999999999", 2147483647},
        {"-99999999999999999999", -2147483647 - 1}};
    for (const auto& [text, value] : cases) EXPECT_EQ(readLevelInteger(text), value) << text;
}

TEST(LevelFile, LongTextsKeepTheirFirstFiftyCharacters) {
    LevelRegistry registry;
    const std::string sixty(60, 'n');
    load(registry, "<level id=\"1\" name=\"" + sixty + "\"><terrain heightmap=\"" + sixty +
                       "\"/><player/></level>");
    char text[Level::kTextSize];
    registry.getLevel(1)->getName(text);
    EXPECT_EQ(std::string(text), sixty.substr(0, 50));
    EXPECT_EQ(registry.getLevel(1)->heightmap().size(), 50u);
}

// Unknown elements and attributes, and elements outside a level, change nothing.
TEST(LevelFile, UnknownOrOutsideElementsChangeNothing) {
    const std::string plain = R"(<level id="1"><player posx="1"/><item id="2" posx="3"/></level>)";
    const std::string noisy = R"(<l><player posx="5" posy="9"/><item id="1" posx="6"/>
        <level id="1" rot="90"><light posy="99" id="9" type="ITEM_POWER15"/>
        <player posx="1" rot="45"/><Item id="5"/><item id="2" posx="3" colour="red"/></level>
        <item id="7"/></l>)";
    LevelRegistry a;
    LevelRegistry b;
    load(a, plain);
    load(b, noisy);
    const Level& x = *a.getLevel(1);
    const Level& y = *b.getLevel(1);
    EXPECT_EQ(y.itemCount(), x.itemCount());
    EXPECT_EQ(y.spawns().size(), x.spawns().size());
    EXPECT_EQ(y.spawns()[0].y, x.spawns()[0].y);
    EXPECT_EQ(item(y, 2).type, item(x, 2).type);
    EXPECT_EQ(item(y, 2).pose.x, item(x, 2).pose.x);
}

TEST(LevelFile, LevelWithoutPlayerStartIsRefusedWithAMessage) {
    CapturedErrors errors;
    LevelRegistry registry;
    load(registry, R"(<l><level id="1"><item id="1"/></level><level id="2"><player/></level></l>)");
    EXPECT_EQ(registry.getLevel(1), nullptr);
    EXPECT_NE(registry.getLevel(2), nullptr);
    ASSERT_EQ(errors.texts().size(), 1u);
    EXPECT_NE(errors.texts()[0].find("level 1 has no player start"), std::string::npos);
}

TEST(LevelFile, LevelsBeforeAFatalErrorStayRegistered) {
    CapturedErrors errors;
    LevelRegistry registry;
    const LevelLoadResult result =
        load(registry, R"(<l><level id="1"><player/></level><level id="2"><player></l>)");
    EXPECT_FALSE(result.parsed);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(levelIds(registry), (std::vector<std::int32_t>{1}));
    EXPECT_TRUE(errors.texts().empty());
}

// The game's own file is read from disk in game_levels_test.
TEST(LevelFile, RegistersNothingWithoutAFile) {
    testing_support::TempDir dir;
    LevelRegistry registry;
    EXPECT_FALSE(loadLevels(registry, dir.file("level.xml").c_str()).parsed);
    EXPECT_EQ(registry.levelCount(), 0);
}

// Documents that try to reach outside the file or to blow up in memory. Each must be
// refused, register nothing from the offending level, and never open a file or a
// connection (nothing listens at the address below).
// Nine levels of entities, each ten of the one before: 10^9 copies of the first.
std::string billionLaughs() {
    std::string out = "<?xml version=\"1.0\"?>\n<!DOCTYPE level [\n<!ENTITY a \"laugh\">\n";
    for (char e = 'b'; e <= 'j'; ++e) {
        out += std::string("<!ENTITY ") + e + " \"";
        for (int i = 0; i < 10; ++i) out += std::string("&") + static_cast<char>(e - 1) + ";";
        out += "\">\n";
    }
    return out + "]>\n<level id=\"1\" name=\"&j;\"><player/></level>";
}

TEST(LevelFile, HostileDocumentsAreRefused) {
    const std::pair<std::string, bool> documents[] = {// the text, and is a resource refused
                                                      {billionLaughs(), false},
                                                      {R"(<?xml version="1.0"?>
<!DOCTYPE level [ <!ENTITY secret SYSTEM "file:///etc/passwd"> ]>
<level id="1" ><player/><item id="1">&secret;</item></level>)",
                                                       true},
                                                      {R"(<?xml version="1.0"?>
<!DOCTYPE level SYSTEM "http://127.0.0.1:9/level.dtd">
<level id="1"><player/></level>)",
                                                       true},
                                                      {R"(<?xml version="1.0"?>
<!DOCTYPE level [ <!ENTITY % remote SYSTEM "http://127.0.0.1:9/p.ent"> %remote; ]>
<level id="1"><player/></level>)",
                                                       true}};
    for (const auto& [xml, refusesResource] : documents) {
        CapturedErrors errors;
        LevelRegistry registry;
        const LevelLoadResult result = load(registry, xml);
        EXPECT_FALSE(result.parsed) << xml;
        EXPECT_EQ(registry.getLevel(1), nullptr) << xml;
        EXPECT_EQ(!result.refusedResource.empty(), refusesResource) << xml;
        EXPECT_EQ(errors.texts().size(), refusesResource ? 1u : 0u) << xml;
    }
}

TEST(LevelFile, InternalEntitiesWithinTheLimitStillWork) {
    LevelRegistry registry;
    const LevelLoadResult result = load(registry, R"(<?xml version="1.0"?>
<!DOCTYPE level [ <!ENTITY n "Quarry"> ]>
<level id="1" name="&n; &amp; &n;"><player/></level>)");
    EXPECT_TRUE(result.refusedResource.empty());
    ASSERT_NE(registry.getLevel(1), nullptr) << result.error;
    EXPECT_EQ(registry.getLevel(1)->name(), "Quarry & Quarry");
}

}  // namespace
