// A server that misbehaves on purpose cannot crash, hang or exhaust the client.

#include <gtest/gtest.h>
#include <sys/socket.h>

#include <chrono>
#include <limits>
#include <thread>
#include <vector>

#include "loopback.h"
#include "net/net_client.h"
#include "net/protocol/server_messages.h"
#include "test_object.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

// With a World that removes what it holds and with one that refuses every removal: the
// floods name half the objects for removal with the wrong type code. (Garbage of every
// type byte is the fuzz target's.)
class HostileFlood : public testing::TestWithParam<bool> {};

TEST_P(HostileFlood, FloodsLeaveTheClientBoundedAndInStep) {
    loopback::Listener listener;
    net::NetClient client;
    RemoteWorld world(client, /*refuseRemovals=*/GetParam());
    ASSERT_EQ(client.connect("127.0.0.1", listener.port()), 0);
    loopback::Peer server(listener.accept());

    Bytes stream;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (std::int32_t n = 0; n < 20000; ++n) {
        const auto from = static_cast<std::uint8_t>(n % 100);
        append(stream, net::relay(from, net::encodeNew(0x80, n, {1, 2, 3, 4, 5, 6})));
        if (n % 4 == 0) append(stream, net::relay(from, net::encodeUpdate(n, {nan})));
        if (n % 2 == 0) append(stream, net::relay(from, net::encodeRemove(n, net::TYPE_BULLET_MG)));
    }
    append(stream, net::encodeClientNumber(77));
    std::thread writer([&] { server.send(stream); });
    EXPECT_TRUE(loopback::eventually([&] { return client.getClientNumber() == 77; }, 20000));
    writer.join();

    // The World holds exactly what the client still moves: no more than the cap, and
    // nothing that a refused removal stranded.
    EXPECT_LE(client.remoteObjectCount(), net::NetClient::kMaxRemoteObjects);
    EXPECT_EQ(world.size(), client.remoteObjectCount());
    for (const net::Pose& pose : world.poses()) EXPECT_TRUE(net::isFinitePose(pose));
    client.disconnect();
    EXPECT_EQ(client.remoteObjectCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Worlds, HostileFlood, testing::Bool());

TEST(HostileServer, AServerThatStopsReadingCannotHangTheClient) {
    loopback::Listener listener;
    net::NetClient client;
    ASSERT_EQ(client.connect("127.0.0.1", listener.port()), 0);
    loopback::Peer server(listener.accept());
    const int small = 4096;
    ::setsockopt(server.fd(), SOL_SOCKET, SO_RCVBUF, &small, sizeof small);

    // 3000 objects stream 81 kB per pass, 4 MB a second, into a peer that reads nothing.
    std::vector<std::unique_ptr<TestObject>> objects;
    for (std::int32_t id = 0; id < 3000; ++id) {
        objects.push_back(std::make_unique<TestObject>(id, net::TYPE_BULLET_MG));
        const auto start = Clock::now();
        client.addObject(*objects.back());
        ASSERT_LT(Clock::now() - start, std::chrono::seconds(1));
    }
    EXPECT_TRUE(loopback::eventually([&] { return !client.isConnected(); }, 20000));
    const auto start = Clock::now();
    client.disconnect();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
}

}  // namespace
