// The client against a scripted server on a real loopback socket, and one that
// misbehaves on purpose, which cannot crash, hang or exhaust it; what it does with each
// server message; the pose record the receiving thread writes; host names looked up
// with a deadline, dotted addresses not looked up at all.

#include "net/net_client.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <future>
#include <limits>
#include <thread>
#include <tuple>

#include "config/settings.h"
#include "loopback.h"
#include "net/host_lookup.h"
#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"
#include "net/shared_pose.h"
#include "support/captured_errors.h"
#include "test_object.h"

namespace {

using loopback::eventually;
using Bytes = std::vector<std::uint8_t>;
const float kNaN = std::numeric_limits<float>::quiet_NaN();

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
        return loopback::splitMessages(bytes, &net::clientMessageLength).value();
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
    server.send(net::encodeServerFull());
    server.send(net::encodeClientNumber(9));
    ASSERT_TRUE(eventually([&] { return !client.isReceiving(); }));
    EXPECT_EQ(boxes.texts(),
              (std::vector<std::string>{"Server full", "server full...disabling multiplayer"}));
    EXPECT_EQ(client.getClientNumber(), -1);
    EXPECT_EQ(server.read(1), Bytes{net::MSG_GOODBYE});
    EXPECT_TRUE(server.waitForClose());
    client.disconnect();  // the owner's later disconnect is harmless
}

// Three threads write: the sending thread's passes over 50 objects, the receiving
// side's events and the main thread's data. (Poses written while they are sent are the
// SharedPose test's.)
TEST_F(NetClientTest, MessagesFromThreeThreadsNeverInterleave) {
    std::deque<TestObject> objects;
    for (int i = 0; i < 50; ++i) client.addObject(objects.emplace_back(i, net::TYPE_BULLET_MG));
    const std::size_t start = passes;
    std::thread events([&] {
        for (int i = 0; i < 400; ++i)
            client.sendEvent(net::MSG_HIT, {i, 0x82}, {0x010000 | i, 0x81}, {1, 0x80});
    });
    for (int i = 0; i < 400; ++i) client.sendData(net::MSG_WEAPON, 1, "\x07\0\0\0", 4);
    events.join();
    EXPECT_TRUE(eventually([&] { return passes > start + 5; }));
    client.disconnect();
    int seen[256] = {};
    for (const auto& m : messagesToClose()) ++seen[m.type()];
    EXPECT_EQ(std::make_pair(seen[net::MSG_HIT], seen[net::MSG_WEAPON]), std::make_pair(400, 400));
    EXPECT_GE(seen[net::MSG_UPDATE], 5 * 50);
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

// The address of the settings is used as it is, with no reverse lookup that an address
// without a DNS entry would fail; a host name is resolved, and one that is not fails
// quietly. (A closed port, and the match going on without a server, are the game's
// end-to-end run alone.)
TEST(NetClientConnect, UsesTheSettingsAddressOrHostNameAndFailsQuietly) {
    testing_support::CapturedErrors boxes;
    loopback::Listener listener;
    for (const char* address : {"127.0.0.1", "localhost"}) {
        Settings::setServerIp(address);
        Settings::setServerPort(listener.port());
        net::NetClient client;
        ASSERT_EQ(client.connect(), 0) << address;
        loopback::Peer server(listener.accept());
        client.disconnect();
        EXPECT_EQ(server.read(1), Bytes{net::MSG_GOODBYE});
    }
    net::NetClient client;
    EXPECT_EQ(client.connect("no-such-host.invalid", 24500), -1);
    EXPECT_FALSE(client.isReceiving());
    EXPECT_TRUE(boxes.texts().empty());
}

// An update moves an announced object unless its pose is not finite; announcing it
// again changes nothing. The World hears the type code the object was announced with,
// whatever the removal names; an update just behind the removal names nothing any more.
// Only a body of the announcement's length is taken.
TEST(Dispatch, UpdatesMoveAnnouncedObjectsUntilTheyAreRemovedAndClearedHandlersRest) {
    net::NetClient client;
    RemoteWorld world{client};
    const auto deliver = [&](const net::WireMessage& m) {
        net::NetClient::dispatch(&client, m.type(), m.body(), m.length);
    };
    const net::Pose pose = {100, 200, 3, 0, 0, 45}, moved = {1, 1, 1, 1, 1, 1};
    deliver(net::relay(2, net::encodeNew(net::TYPE_VOKA_RED, 0x0081, pose)));
    deliver(net::relay(2, net::encodeNew(net::TYPE_BULLET_MG, 0x0081, {})));
    deliver(net::relay(2, net::encodeNew(net::TYPE_BULLET_RAIL, 6, {kNaN})));
    EXPECT_EQ(world.poses()[0x020081], pose);
    deliver(net::relay(2, net::encodeUpdate(0x0081, moved)));
    deliver(net::relay(2, net::encodeUpdate(0x0081, {1, 2, 3, 0, -kNaN, 0})));
    EXPECT_EQ(world.poses()[0x020081], moved);
    const std::uint8_t body[40] = {};
    for (std::size_t length = 0; length < sizeof body; ++length)
        net::NetClient::dispatch(&client, net::TYPE_VOKA_RED, body, length);
    EXPECT_EQ(world.size(), 2u);
    deliver(net::relay(2, net::encodeRemove(0x0081, net::TYPE_BULLET_RAIL)));
    EXPECT_EQ(world.size() + client.remoteObjectCount(), 2u);
    deliver(net::relay(2, net::encodeUpdate(0x0081, moved)));

    // A cleared slot is not called; a handler that clears its own slot does not wait for
    // itself. (The events' fields reaching the World are the bots' match test.)
    client.setNewObjectHandler(nullptr, nullptr);
    deliver(net::relay(1, net::encodeNew(net::TYPE_VOKA_RED, 1, pose)));
    EXPECT_EQ(world.size(), 1u);
    static int calls = 0;
    client.setDataEventHandler(
        &client, [](void* self, std::uint8_t, std::int32_t, const std::uint8_t*, std::size_t) {
            ++calls;
            static_cast<net::NetClient*>(self)->setDataEventHandler(nullptr, nullptr);
        });
    deliver(net::encodeLevel(1));
    deliver(net::encodeLevel(1));
    EXPECT_EQ(calls, 1);
}

using Clock = std::chrono::steady_clock;

// With a World that removes what it holds and with one that refuses every removal: the
// floods name half the objects for removal with the wrong type code. (Garbage of every
// type byte is the fuzz target's.)
class HostileFlood : public NetClientTest, public testing::WithParamInterface<bool> {};

TEST_P(HostileFlood, FloodsLeaveTheClientBoundedAndInStep) {
    RemoteWorld world(client, /*refuseRemovals=*/GetParam());

    Bytes stream;
    for (std::int32_t n = 0; n < 20000; ++n) {
        const auto from = static_cast<std::uint8_t>(n % 100);
        append(stream, net::relay(from, net::encodeNew(0x80, n, {1, 2, 3, 4, 5, 6})));
        if (n % 4 == 0) append(stream, net::relay(from, net::encodeUpdate(n, {kNaN})));
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
    for (const auto& [id, pose] : world.poses()) EXPECT_TRUE(net::isFinitePose(pose)) << id;
}

INSTANTIATE_TEST_SUITE_P(Worlds, HostileFlood, testing::Bool());

TEST_F(NetClientTest, AServerThatStopsReadingCannotHangTheClient) {
    const int small = 4096;
    ::setsockopt(server.fd(), SOL_SOCKET, SO_RCVBUF, &small, sizeof small);

    // 3000 objects stream 81 kB per pass, 4 MB a second, into a peer that reads nothing.
    std::deque<TestObject> objects;
    for (std::int32_t id = 0; id < 3000; ++id) {
        const auto start = Clock::now();
        client.addObject(objects.emplace_back(id, net::TYPE_BULLET_MG));
        ASSERT_LT(Clock::now() - start, std::chrono::seconds(1));
    }
    EXPECT_TRUE(loopback::eventually([&] { return !client.isConnected(); }, 20000));
    const auto start = Clock::now();
    client.disconnect();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
}

TEST(SharedPose, ReaderNeverSeesHalfOfTwoRecordsNorAnOlderOne) {
    net::SharedPose shared;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (float f = 1; f <= 200000; ++f) shared.store({f, f, f, f, f, f});
        done = true;
    });
    float last = 0;
    for (int reads = 0; !done || reads < 10; ++reads) {
        const net::Pose pose = shared.load();
        for (float value : pose) ASSERT_EQ(value, pose[0]);
        ASSERT_GE(pose[0], last);
        last = pose[0];
    }
    writer.join();
    EXPECT_EQ(shared.load()[5], 200000.0f);
}

enum class NameServer { Answers, Fails, NeverAnswers };

TEST(ResolveWithin, AnswersOrGivesUpByTheDeadline) {
    // Host, its name server, the address found (0 for none). A dotted address is used
    // without asking the name server.
    const std::tuple<const char*, NameServer, std::uint32_t> cases[] = {
        {"10.1.2.3", NameServer::NeverAnswers, 0x0A010203},
        {"game.example", NameServer::Answers, 0xC0000207},
        {"game.example", NameServer::Fails, 0},
        {"game.example", NameServer::NeverAnswers, 0},
        {"", NameServer::Answers, 0}};
    for (const auto& [host, server, found] : cases) {
        std::promise<void> release;
        const auto nameServer = [server = server, gate = release.get_future().share()](
                                    const std::string&, in_addr& address) {
            if (server == NameServer::NeverAnswers) gate.wait();
            address.s_addr = htonl(0xC0000207);  // 192.0.2.7
            return server == NameServer::Answers;
        };
        // One that never answers is given up after a tenth of a second; the others answer
        // at once, with all the time a loaded machine may need.
        const std::chrono::milliseconds timeout(server == NameServer::NeverAnswers ? 100 : 10000);
        in_addr address{};
        EXPECT_EQ(net::resolveWithin(host, address, timeout, nameServer), found != 0) << host;
        release.set_value();
        EXPECT_TRUE(found == 0 || ntohl(address.s_addr) == found) << host;
    }
}

}  // namespace
