#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "support/captured_errors.h"
#include "world/load_levels.h"

namespace {

const char* const kSeed = R"(<?xml version="1.0"?>
<!DOCTYPE levels [ <!ENTITY n "Quarry"> ]>
<levels>
  <level id="1" name="&n;">
    <terrain heightmap="maps/quarry.raw" texture="quarry.bmp" texture_det="detail.bmp"/>
    <player posx="100" posy="200" posz="30"/>
    <item id="7" type="ITEM_POWER25" posx="10" posy="20" posz="5"/>
    <environment id="3" posx="1"/>
  </level>
  <level id="2"><player posx="-5"/><item id="1" type="ITEM_AMOR_50"/></level>
</levels>)";

const char* const kFragments[] = {"<level id=\"9\">",
                                  "</level>",
                                  "<player/>",
                                  "<item id=\"",
                                  "type=\"ITEM_AMMO_MG\"",
                                  "<!DOCTYPE x [",
                                  "<!ENTITY e \"&e;\">",
                                  "&n;",
                                  "]>",
                                  "<![CDATA[",
                                  "\xff\xfe",
                                  "\"",
                                  "<?xml version=\"1.0\" encoding=\"UTF-16\"?>",
                                  "&#0;",
                                  "&#x10FFFF;",
                                  "<!--"};

// Every registered level is whole: it has a start point and its texts fit.
void expectConsistent(const LevelRegistry& registry) {
    std::vector<std::int32_t> ids(static_cast<std::size_t>(registry.levelCount()));
    registry.levelIds(ids.data());
    for (std::int32_t id : ids) {
        const Level* level = registry.getLevel(id);
        ASSERT_NE(level, nullptr);
        EXPECT_FALSE(level->spawns().empty());
        EXPECT_LE(level->name().size(), Level::kTextLength);
        EXPECT_LE(level->heightmap().size(), Level::kTextLength);
    }
}

std::string mutate(std::string text, std::mt19937& random) {
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int e = 0; e < edits && !text.empty(); ++e) {
        const std::size_t at = random() % text.size();
        switch (random() % 5) {
            case 0:
                text[at] = static_cast<char>(random());
                break;
            case 1:
                text.erase(at, 1 + random() % 16);
                break;
            case 2:
                text.insert(at, kFragments[random() % std::size(kFragments)]);
                break;
            case 3:
                text.resize(at);
                break;
            default:
                text.insert(at, text.substr(random() % text.size(), random() % 64));
                break;
        }
    }
    return text;
}

// Mutated copies of a good document, and random bytes (half of them behind an open level
// and player tag): the reader ends, and every level it registers is whole.
TEST(LevelFileFuzz, MutatedDocumentsAndRandomBytesNeverBreakTheReader) {
    testing_support::CapturedErrors errors;
    std::mt19937 random(20261206);
    for (int round = 0; round < 600; ++round) {
        std::string xml;
        if (round % 3 != 2) {
            xml = mutate(kSeed, random);
        } else {
            xml.resize(random() % 512);
            for (char& c : xml) c = static_cast<char>(random());
            if (round % 2 == 0) xml.insert(0, "<level id=\"1\"><player ");
        }
        LevelRegistry registry;
        loadLevelsFromMemory(registry, xml.data(), xml.size());
        expectConsistent(registry);
    }
}

}  // namespace
