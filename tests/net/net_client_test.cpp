// The client against a scripted server on a real loopback socket.

#include "net/net_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <thread>

#include "config/settings.h"
#include "loopback.h"
#include "net/protocol/server_messages.h"
#include "support/captured_errors.h"
#include "test_object.h"

namespace {

using loopback::eventually;
using Bytes = std::vector<std::uint8_t>;

class NetClientTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(client.connect("127.0.0.1", listener.port()), 0);
        server = loopback::Peer(listener.accept());
    }
    // What the client sent until it closed the connection (after a disconnect).
    std::vector<net::WireMessage> messagesToClose() {
        Bytes bytes;
        EXPECT_TRUE(server.waitForClose(5000, &bytes));
        const auto messages = loopback::splitMessages(bytes, &net::clientMessageLength);
        EXPECT_TRUE(messages);
        return messages.value_or(std::vector<net::WireMessage>{});
    }
    void TearDown() override { hold = false; }

    // The sending thread's waits between two passes: real sleeps, counted, any but 20 ms
    // noted; while `hold` is set it waits there.
    std::atomic<std::size_t> passes{0};
    std::atomic<bool> hold{false}, parked{false}, notTwenty{false};
    loopback::Listener listener;
    net::NetClient client{[this](std::uint32_t ms) {
        notTwenty = notTwenty || ms != 20;
        ++passes;
        for (; hold; parked = true) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        parked = false;
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }};
    loopback::Peer server;
};

// An object is announced, then streamed once every pass of 20 ms; once removed it is
// not streamed any more, and only the goodbye follows its removal.
TEST_F(NetClientTest, StreamsRegisteredObjectsOncePerPassOfTwentyMilliseconds) {
    const net::Pose pose{5, 6, 7, 0, 0, 30};
    TestObject voka(0x00020001, net::TYPE_VOKA_GREEN, pose);
    client.addObject(voka);
    Bytes expected = bytesOf(net::encodeNew(0x81, 0x00020001, pose));
    for (int i = 0; i < 3; ++i) append(expected, net::encodeUpdate(0x00020001, pose));
    EXPECT_EQ(server.read(expected.size()), expected);
    hold = true;  // between two passes while the object is removed
    ASSERT_TRUE(eventually([&] { return parked.load(); }));
    client.removeObject(voka);
    const std::size_t removed = passes;
    hold = false;
    ASSERT_TRUE(eventually([&] { return passes > removed + 1; }));  // a whole pass since
    client.disconnect();
    const auto rest = messagesToClose();
    const net::WireMessage removeMessage = net::encodeRemove(0x00020001, 0x81);
    const auto removal = std::find(rest.begin(), rest.end(), removeMessage);
    EXPECT_EQ(std::vector(removal, rest.end()), (std::vector{removeMessage, net::encodeGoodbye()}));
    EXPECT_EQ(std::count(rest.begin(), removal, net::encodeUpdate(0x00020001, pose)),
              removal - rest.begin());
    EXPECT_FALSE(notTwenty);
}

TEST_F(NetClientTest, ServerFullShowsBothBoxesAndReadsNoFurther) {
    testing_support::CapturedErrors boxes;
    Bytes full = {net::MSG_SERVER_FULL};
    append(full, net::encodeClientNumber(9));
    server.send(full);
    ASSERT_TRUE(eventually([&] { return !client.isReceiving(); }));
    EXPECT_EQ(boxes.texts(),
              (std::vector<std::string>{"Server full", "server full...disabling multiplayer"}));
    EXPECT_EQ(client.getClientNumber(), -1);
    EXPECT_EQ(server.read(1), Bytes{net::MSG_GOODBYE});
    EXPECT_TRUE(server.waitForClose());
    client.disconnect();  // the owner's later disconnect is harmless
}

// Three threads write: the sending thread's passes over 50 objects whose poses change
// all the time, the receiving side's events and the main thread's data.
TEST_F(NetClientTest, MessagesFromThreeThreadsNeverInterleave) {
    std::vector<std::unique_ptr<TestObject>> objects;
    for (int i = 0; i < 50; ++i) {
        objects.push_back(std::make_unique<TestObject>(i, net::TYPE_BULLET_MG));
        client.addObject(*objects.back());
    }
    const std::size_t start = passes;
    std::atomic<bool> go{true};
    std::thread mover([&] {
        for (float f = 0; go; f += 1)
            for (auto& object : objects) object->netPose().store({f, f, f, f, f, f});
    });
    std::thread events([&] {
        for (int i = 0; i < 400; ++i)
            client.sendEvent(net::MSG_HIT, {i, 0x82}, {0x010000 | i, 0x81}, {1, 0x80});
    });
    for (int i = 0; i < 400; ++i) client.sendData(net::MSG_WEAPON, 1, "\x07\0\0\0", 4);
    events.join();
    EXPECT_TRUE(eventually([&] { return passes > start + 5; }));
    go = false;
    mover.join();
    client.disconnect();
    int hits = 0, weapons = 0, updates = 0;
    for (const auto& m : messagesToClose()) {
        hits += m.type() == net::MSG_HIT;
        weapons += m.type() == net::MSG_WEAPON;
        updates += m.type() == net::MSG_UPDATE;
    }
    EXPECT_EQ(std::make_pair(hits, weapons), std::make_pair(400, 400));
    EXPECT_GE(updates, 5 * 50);
}

// Once a slot is cleared nothing it named runs any more: the clearing waits for a call
// under way, so the World may then free what that handler reaches.
TEST_F(NetClientTest, ClearingAHandlerWaitsForTheCallUnderWay) {
    struct Call {
        std::promise<void> entered, release;
        std::atomic<bool> cleared{false};
        bool clearedWhileRunning = true;
    } call;
    client.setDataEventHandler(
        &call, [](void* context, std::uint8_t, std::int32_t, const std::uint8_t*, std::size_t) {
            auto& self = *static_cast<Call*>(context);
            self.entered.set_value();
            self.release.get_future().wait();
            self.clearedWhileRunning = self.cleared.load();
        });
    server.send(net::encodeLevel(2));
    call.entered.get_future().wait();
    std::atomic<bool> clearing{false};
    std::thread world([&] {
        clearing = true;
        client.setDataEventHandler(nullptr, nullptr);
        call.cleared = true;
    });
    ASSERT_TRUE(eventually([&] { return clearing.load(); }));
    call.release.set_value();
    world.join();
    EXPECT_FALSE(call.clearedWhileRunning);
}

// After disconnect no handler runs and no pose is written: the objects can go at once
// (the sanitizer builds catch a late write).
TEST_F(NetClientTest, DisconnectEndsEveryWriteToRemoteObjects) {
    auto world = std::make_unique<RemoteWorld>(client);
    server.send(net::relay(1, net::encodeNew(net::TYPE_VOKA_RED, 1, {})));
    std::atomic<bool> writing{true};
    std::thread peer([&] {
        for (float f = 1; writing && server.send(net::relay(1, net::encodeUpdate(1, {f})));) f += 1;
    });
    ASSERT_TRUE(eventually([&] {
        const auto pose = world->poseOf(0x010001);
        return pose && (*pose)[0] > 0;
    }));
    client.disconnect();
    EXPECT_EQ(client.remoteObjectCount(), 0u);
    world.reset();
    writing = false;
    peer.join();
}

// The address of the settings is used as it is, with no reverse lookup that an address
// without a DNS entry would fail; a host name is resolved.
TEST(NetClientConnect, UsesTheSettingsAddressOrHostNameAndFailsQuietly) {
    testing_support::CapturedErrors boxes;
    std::uint16_t closedPort = 0;
    {
        loopback::Listener listener;
        closedPort = listener.port();
        for (const char* address : {"127.0.0.1", "localhost"}) {
            Settings::setServerIp(address);
            Settings::setServerPort(listener.port());
            net::NetClient client;
            ASSERT_EQ(client.connect(), 0) << address;
            loopback::Peer server(listener.accept());
            client.disconnect();
            EXPECT_EQ(server.read(1), Bytes{net::MSG_GOODBYE});
        }
    }
    net::NetClient client;
    EXPECT_EQ(client.connect("127.0.0.1", closedPort), -1);
    EXPECT_EQ(client.connect("no-such-host.invalid", 24500), -1);
    EXPECT_FALSE(client.isReceiving());
    TestObject voka(1, net::TYPE_VOKA_RED);
    client.addObject(voka);  // the game goes on without a server
    client.removeObject(voka);
    client.disconnect();
    EXPECT_TRUE(boxes.texts().empty());
}

}  // namespace
