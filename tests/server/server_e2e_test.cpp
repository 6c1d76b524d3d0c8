#include <gtest/gtest.h>

#include "server_process.h"

namespace {

// Two games on one server are played end to end in the match tests; the server's stop
// is shown by the local-server script's test.
TEST(ServerEndToEnd, BadOptionsEndWithAMessage) {
    ServerProcess bad({"--max-players", "500"});
    EXPECT_EQ(bad.wait(), 2);
    EXPECT_TRUE(bad.logHas("bad value for --max-players: 500"));
}

}  // namespace
