// The small tag scanner that reads level.xml back for the preview and the level tests.
#include "xml_tags.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using datagen::startTags;

TEST(XmlTags, ReadsStartAndEmptyTagsWithTheirAttributesInOrder) {
    const auto tags = startTags(
        "<?xml version=\"1.0\"?>\n<!-- arena -->\n<levels>\n"
        "  <level id=\"1\" name=\"Verdant Reach\">\n"
        "    <item id = \"7\" type=\"ITEM_AMMO_MG\"/>\n  </level>\n</levels>\n");
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_EQ(tags[1].name + "|" + tags[1].attributes.at("name") + "|" +
                  tags[2].attributes.at("id") + "|" + tags[2].attributes.at("type"),
              "level|Verdant Reach|7|ITEM_AMMO_MG");
}

// Cut anywhere, a tag keeps what it read whole and the scanner ends inside its input.
TEST(XmlTags, StopsAtAnUnterminatedValueWithoutReadingOn) {
    const std::string line = "<item id = \"3\" type=\"ITEM_POWER25\"/>";
    for (std::size_t n = 0; n <= line.size(); ++n)
        EXPECT_LE(startTags(line.substr(0, n)).size(), 1u);
    EXPECT_EQ(startTags(line.substr(0, 29)).at(0).attributes.size(), 1u);
    EXPECT_TRUE(startTags("</level>").empty());
}

}  // namespace
