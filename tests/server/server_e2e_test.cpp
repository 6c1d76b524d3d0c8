#include <gtest/gtest.h>
#include <signal.h>

#include "loopback.h"
#include "net/net_client.h"
#include "server_process.h"
#include "test_object.h"

namespace {

TEST(ServerEndToEnd, TwoGameClientsSeeEachOthersObjects) {
    ServerProcess server({"--port", "0", "--bind", "127.0.0.1", "--level", "2"});
    const std::uint16_t port = server.port();
    ASSERT_NE(port, 0) << server.log();
    net::NetClient red, green;
    RemoteWorld redWorld(red), greenWorld(green);
    ASSERT_EQ(red.connect("127.0.0.1", port), 0);
    ASSERT_TRUE(loopback::eventually([&] { return red.getClientNumber() == 1; }));
    ASSERT_EQ(green.connect("127.0.0.1", port), 0);
    ASSERT_TRUE(loopback::eventually([&] { return green.getClientNumber() == 2; }));

    TestObject voka(red.makeId(), net::TYPE_VOKA_RED, {10, 20, 0, 0, 0, 0});
    red.addObject(voka);
    ASSERT_TRUE(loopback::eventually([&] { return greenWorld.poseOf(voka.netId()).has_value(); }));
    voka.netPose().store({11, 22, 1, 0, 0, 90});  // then moves
    EXPECT_TRUE(loopback::eventually(
        [&] { return greenWorld.poseOf(voka.netId()) == net::Pose{11, 22, 1, 0, 0, 90}; }));
    EXPECT_EQ(redWorld.size(), 0u);  // nothing echoed

    red.removeObject(voka);
    EXPECT_TRUE(loopback::eventually([&] { return greenWorld.size() == 0; }));
    red.disconnect();
    EXPECT_TRUE(server.logHas("client 1 left: goodbye"));
    green.disconnect();

    server.signal(SIGTERM);
    EXPECT_EQ(server.wait(), 0);
    EXPECT_TRUE(server.logHas("voka-server stopped"));
}

TEST(ServerEndToEnd, BadOptionsEndWithAMessage) {
    ServerProcess bad({"--max-players", "500"});
    EXPECT_EQ(bad.wait(), 2);
    EXPECT_TRUE(bad.logHas("bad value for --max-players: 500"));
}

}  // namespace
