// The small tag scanner that reads level.xml back for the preview and the level tests.
#include "xml_tags.h"

#include <gtest/gtest.h>

#include <string>

#include "random.h"

namespace {

using datagen::startTags;

TEST(XmlTags, ReadsStartAndEmptyTagsWithTheirAttributesInOrder) {
    const auto tags = startTags(
        "<?xml version=\"1.0\"?>\n<!-- arena -->\n<levels>\n"
        "  <level id=\"1\" name=\"Verdant Reach\">\n"
        "    <item id = \"7\" type=\"ITEM_AMMO_MG\"/>\n  </level>\n</levels>\n");
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_EQ(tags[0].name, "levels");
    EXPECT_TRUE(tags[0].attributes.empty());
    EXPECT_EQ(tags[1].name, "level");
    EXPECT_EQ(tags[1].attributes.at("name"), "Verdant Reach");
    EXPECT_EQ(tags[2].attributes.at("id"), "7");
    EXPECT_EQ(tags[2].attributes.at("type"), "ITEM_AMMO_MG");
}

TEST(XmlTags, StopsAtAnUnterminatedValueWithoutReadingOn) {
    const auto tags = startTags("<item id=\"3\" type=\"ITEM_POWER25");
    ASSERT_EQ(tags.size(), 1u);
    EXPECT_EQ(tags[0].attributes.size(), 1u);
    EXPECT_TRUE(startTags("<").empty());
    EXPECT_TRUE(startTags("</level>").empty());
}

// Random bytes and damaged copies of a real file: the scanner ends and stays inside its
// input (the sanitizer build checks the reads).
TEST(XmlTags, SurvivesRandomAndMutatedInput) {
    const std::string good =
        "<levels><level id=\"2\"><terrain heightmap=\"./levels/kessel.raw\"/>"
        "<player posx=\"1\" posy=\"2\" posz=\"3\"/></level></levels>";
    datagen::Random random(99);
    const char alphabet[] = "<>=\"/ ?!-abcdexyz_01";
    for (int round = 0; round < 3000; ++round) {
        std::string input = good;
        if (round % 2 == 0) {
            input.assign(static_cast<size_t>(random.below(80)), ' ');
            for (char& c : input) c = alphabet[random.below(static_cast<int>(sizeof alphabet) - 1)];
        } else {
            for (int k = 0; k < 4; ++k) {
                const size_t at = static_cast<size_t>(random.below(static_cast<int>(input.size())));
                input[at] = alphabet[random.below(static_cast<int>(sizeof alphabet) - 1)];
            }
            input.resize(static_cast<size_t>(random.below(static_cast<int>(input.size()) + 1)));
        }
        const auto tags = startTags(input);
        EXPECT_LE(tags.size(), input.size());
    }
}

}  // namespace
