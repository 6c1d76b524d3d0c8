// level.xml is well-formed for an independent reader (xmllint); the game's own reader
// checks its levels in the world tests.
#include <gtest/gtest.h>

#include "gamedata_support.h"

namespace {

using namespace gamedata_testing;

TEST(LevelFile, IsWellFormed) {
    const CommandResult r = run("xmllint --noout " + quoted(gamePath("level.xml")));
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "");
}

}  // namespace
