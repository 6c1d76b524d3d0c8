// The client against a scripted server on a real loopback socket.

#include "net/net_client.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "config/settings.h"
#include "loopback.h"
#include "net/protocol/server_messages.h"
#include "support/captured_errors.h"
#include "test_object.h"

namespace {

using loopback::eventually;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

// Paces the sending thread: while held, each of its waits between two passes blocks
// until the test allows a pass, and the interval that it asked for is noted. Released,
// the waits are real sleeps again.
class PassGate {
  public:
    net::SendThread::PassWait wait() {
        return [this](std::uint32_t ms) {
            std::unique_lock<std::mutex> guard(lock_);
            if (!held_) {
                guard.unlock();
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
                return;
            }
            asked_.push_back(ms);
            changed_.notify_all();
            changed_.wait(guard, [&] { return !held_ || allowed_ > 0; });
            if (held_) --allowed_;
        };
    }
    // Waits until the thread is parked in a held wait for the `count`th time.
    bool parked(std::size_t count) {
        std::unique_lock<std::mutex> guard(lock_);
        return changed_.wait_for(guard, std::chrono::seconds(5),
                                 [&] { return asked_.size() >= count; });
    }
    void hold() { set(true, 0); }
    void allow(int passes) { set(true, passes); }
    void release() { set(false, 0); }
    std::vector<std::uint32_t> asked() {
        std::lock_guard<std::mutex> guard(lock_);
        return asked_;
    }

  private:
    void set(bool held, int moreAllowed) {
        std::lock_guard<std::mutex> guard(lock_);
        held_ = held;
        allowed_ = held ? allowed_ + moreAllowed : 0;
        changed_.notify_all();
    }

    std::mutex lock_;  // guards the fields below
    std::condition_variable changed_;
    bool held_ = false;
    int allowed_ = 0;
    std::vector<std::uint32_t> asked_;
};

class NetClientTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(listener.port(), 0);
        ASSERT_EQ(client.connect("127.0.0.1", listener.port()), 0);
        server = loopback::Peer(listener.accept());
        ASSERT_TRUE(server.valid());
    }
    void TearDown() override { passes.release(); }

    // What the client sent until it closed the connection (after a disconnect).
    std::vector<net::WireMessage> messagesToClose() {
        bool closed = false;
        const auto messages =
            loopback::splitMessages(server.readToClose(closed), &net::clientMessageLength);
        EXPECT_TRUE(closed);
        EXPECT_TRUE(messages);
        return messages.value_or(std::vector<net::WireMessage>{});
    }

    PassGate passes;  // outlives the client, whose thread it paces
    loopback::Listener listener;
    net::NetClient client{passes.wait()};
    loopback::Peer server;
};

TEST_F(NetClientTest, LearnsItsNumberAndThenMakesIdentifiers) {
    EXPECT_EQ(client.makeId(), -1);
    server.send(net::encodeClientNumber(3));
    ASSERT_TRUE(eventually([&] { return client.getClientNumber() == 3; }));
    const std::int32_t first = client.makeId();
    const std::int32_t second = client.makeId();
    EXPECT_EQ(std::make_pair(first >> 16, second >> 16), std::make_pair(3, 3));
    EXPECT_NE(first, second);
}

TEST_F(NetClientTest, StreamsRegisteredObjectsOncePerPassOfTwentyMilliseconds) {
    passes.hold();
    ASSERT_TRUE(passes.parked(1));
    TestObject voka(0x00020001, net::TYPE_VOKA_GREEN, {5, 6, 7, 0, 0, 30});
    client.addObject(voka);
    passes.allow(3);
    ASSERT_TRUE(passes.parked(4));
    Bytes expected = bytesOf(net::encodeNew(0x81, 0x00020001, {5, 6, 7, 0, 0, 30}));
    for (int i = 0; i < 3; ++i)
        append(expected, net::encodeUpdate(0x00020001, {5, 6, 7, 0, 0, 30}));
    EXPECT_EQ(server.read(expected.size()), expected);
    EXPECT_EQ(passes.asked(), (std::vector<std::uint32_t>(4, 20)));

    // Not streamed once removed: only the goodbye follows.
    voka.netPose().store({8, 8, 8, 0, 0, 0});
    client.removeObject(voka);
    passes.release();
    client.disconnect();
    EXPECT_EQ(messagesToClose(), (std::vector<net::WireMessage>{net::encodeRemove(0x00020001, 0x81),
                                                                net::encodeGoodbye()}));
}

TEST_F(NetClientTest, NothingFollowsTheGoodbye) {
    TestObject voka(7, net::TYPE_VOKA_RED);
    client.addObject(voka);
    EXPECT_EQ(server.read(27 * 2).size(), 27u * 2);  // announced and streamed
    client.disconnect();
    const auto messages = messagesToClose();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), net::encodeGoodbye());
}

TEST_F(NetClientTest, ServerFullShowsBothBoxesAndReadsNoFurther) {
    testing_support::CapturedErrors boxes;
    Bytes full = {net::MSG_SERVER_FULL};
    append(full, net::encodeClientNumber(9));
    server.send(full);
    ASSERT_TRUE(eventually([&] { return !client.isReceiving(); }));
    EXPECT_EQ(boxes.lines(),
              (std::vector<std::string>{"error: Server full",
                                        "error: server full...disabling multiplayer"}));
    EXPECT_EQ(client.getClientNumber(), -1);
    EXPECT_EQ(server.read(1), Bytes{net::MSG_GOODBYE});
    EXPECT_TRUE(server.waitForClose());
    client.disconnect();  // the owner's later disconnect is harmless
}

TEST_F(NetClientTest, ServerClosingEndsTheReceivingThreadQuietly) {
    testing_support::CapturedErrors boxes;
    server.close();
    ASSERT_TRUE(eventually([&] { return !client.isReceiving(); }));
    TestObject shot(1, net::TYPE_BULLET_MG);
    client.addObject(shot);  // sends into a closed connection: ignored
    client.removeObject(shot);
    client.disconnect();
    EXPECT_TRUE(boxes.lines().empty());
}

TEST_F(NetClientTest, DisconnectReturnsWithinASecondAgainstASilentServer) {
    TestObject voka(1, net::TYPE_VOKA_RED);
    client.addObject(voka);
    const auto start = Clock::now();
    client.disconnect();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    EXPECT_FALSE(client.isReceiving());
}

TEST_F(NetClientTest, MessagesFromThreeThreadsNeverInterleave) {
    std::vector<std::unique_ptr<TestObject>> objects;
    for (int i = 0; i < 50; ++i) {
        objects.push_back(std::make_unique<TestObject>(i, net::TYPE_BULLET_MG));
        client.addObject(*objects.back());
    }
    passes.hold();
    ASSERT_TRUE(passes.parked(1));
    std::atomic<bool> go{true};
    std::thread mover([&] {
        for (float f = 0; go; f += 1) {
            for (auto& object : objects) object->netPose().store({f, f, f, f, f, f});
        }
    });
    std::thread events([&] {
        for (int i = 0; i < 400; ++i) {
            client.sendEvent(net::MSG_HIT, {i, 0x82}, {0x010000 | i, 0x81}, {1, 0x80});
        }
    });
    passes.allow(20);  // twenty passes of all 50 objects while the poses change
    for (int i = 0; i < 400; ++i) client.sendData(net::MSG_WEAPON, 1, "\x07\0\0\0", 4);
    events.join();
    ASSERT_TRUE(passes.parked(21));
    go = false;
    mover.join();
    passes.release();
    client.disconnect();
    int hits = 0;
    int weapons = 0;
    int updates = 0;
    for (const auto& m : messagesToClose()) {
        hits += m.type() == net::MSG_HIT;
        weapons += m.type() == net::MSG_WEAPON;
        if (m.type() == net::MSG_UPDATE) {
            ++updates;
            // Each update carries one whole pose: six equal floats, never half of two.
            const net::Pose pose = net::readPose(&m.bytes[3]);
            for (float value : pose) EXPECT_EQ(value, pose[0]);
        }
    }
    EXPECT_EQ(hits, 400);
    EXPECT_EQ(weapons, 400);
    EXPECT_GE(updates, 20 * 50);
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
    EXPECT_TRUE(boxes.lines().empty());
}

}  // namespace
