// The relay server in this process, with several real TCP clients on loopback.

#include "server/relay_server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "loopback.h"
#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"

namespace {

using net::WireMessage;
using Bytes = std::vector<std::uint8_t>;

// Each case runs with the writes of a turn handed to the kernel together and with one
// send() per client.
class RelayServerTest : public testing::TestWithParam<bool> {
  protected:
    void start(server::ServerConfig config) {
        config.batchWrites = GetParam();
        config.bindAddress = "127.0.0.1";
        config.port = 0;
        relay = std::make_unique<server::RelayServer>(config, [this](const std::string& line) {
            std::lock_guard<std::mutex> guard(logLock);
            log.push_back(line);
        });
        std::string error;
        ASSERT_TRUE(relay->listen(error)) << error;
        loop = std::thread([this] { relay->run(); });
    }
    void TearDown() override { stopServer(); }
    void stopServer() {
        if (relay) relay->stop();
        if (loop.joinable()) loop.join();
        relay.reset();
    }

    // Connects and reads the welcome; the client's number is returned through `number`.
    loopback::Peer join(int& number, int receiveBuffer = 0) {
        loopback::Peer peer = loopback::Peer::connectTo(relay->port(), receiveBuffer);
        const auto numberMessage = peer.readMessage(&net::serverMessageLength);
        const auto level = peer.readMessage(&net::serverMessageLength);
        number = -1;
        if (numberMessage && numberMessage->type() == net::MSG_CLIENT_NUMBER && level &&
            level->type() == net::MSG_LEVEL) {
            number = numberMessage->bytes[1];
        }
        return peer;
    }
    bool logHas(const std::string& part) {
        std::lock_guard<std::mutex> guard(logLock);
        for (const auto& line : log) {
            if (line.find(part) != std::string::npos) return true;
        }
        return false;
    }
    std::vector<WireMessage> messagesFrom(loopback::Peer& peer, int quietMs = 100) {
        const auto split =
            loopback::splitMessages(peer.readUntilQuiet(quietMs), &net::serverMessageLength);
        EXPECT_TRUE(split);
        return split.value_or(std::vector<WireMessage>{});
    }

    std::unique_ptr<server::RelayServer> relay;
    std::thread loop;
    std::mutex logLock;
    std::vector<std::string> log;
};

const net::Pose kPose = {400, 500, 6, 0, 0, 270};

TEST_P(RelayServerTest, RelaysByteExactInBothDirectionsWithoutEcho) {
    start({});
    int a = 0, b = 0;
    loopback::Peer first = join(a);
    loopback::Peer second = join(b);
    ASSERT_EQ(a, 1);
    ASSERT_EQ(b, 2);
    EXPECT_TRUE(logHas("client 1 joined from 127.0.0.1:"));

    first.send(net::encodeUpdate(0x0080, kPose));
    second.send(net::encodeEvent(net::MSG_HIT, {0x0003, 0x82}, {0x010000, 0x80}, {0x0000, 0x81}));
    const Bytes toSecond = second.read(28);
    const WireMessage update = net::relay(1, net::encodeUpdate(0x0080, kPose));
    EXPECT_EQ(toSecond, Bytes(update.bytes.begin(), update.bytes.begin() + 28));
    EXPECT_EQ(toSecond[1], 1);
    const Bytes toFirst = first.read(12);
    EXPECT_EQ(toFirst,
              (Bytes{0x44, 2, 0x00, 0x03, 0x01, 0x00, 0x00, 0x82, 0x80, 0x00, 0x00, 0x00}));
    EXPECT_TRUE(first.readUntilQuiet(100).empty());
    EXPECT_TRUE(second.readUntilQuiet(100).empty());
}

TEST_P(RelayServerTest, BeyondThePlayerLimitTheServerSaysFullAndCloses) {
    server::ServerConfig config;
    config.hub.maxPlayers = 2;
    start(config);
    int a = 0, b = 0;
    loopback::Peer first = join(a);
    loopback::Peer second = join(b);
    loopback::Peer third = loopback::Peer::connectTo(relay->port());
    EXPECT_EQ(third.read(1), Bytes{net::MSG_SERVER_FULL});
    EXPECT_TRUE(third.waitForClose());
    EXPECT_TRUE(loopback::eventually([&] { return logHas("server full"); }));
}

TEST_P(RelayServerTest, ObjectsOfAClientThatGoesAreRemovedForTheOthers) {
    start({});
    int a = 0, b = 0, c = 0;
    loopback::Peer leaving = join(a);
    loopback::Peer dropping = join(b);
    loopback::Peer staying = join(c);
    leaving.send(net::encodeNew(0x80, 0x0000, kPose));
    dropping.send(net::encodeNew(0x81, 0x0000, kPose));
    dropping.send(net::encodeNew(0x83, 0x0001, kPose));
    ASSERT_EQ(messagesFrom(staying).size(), 3u);

    leaving.send(net::encodeGoodbye());
    EXPECT_TRUE(leaving.waitForClose());
    dropping.close();  // gone without a goodbye
    std::vector<WireMessage> removals;
    ASSERT_TRUE(loopback::eventually([&] {
        for (const auto& m : messagesFrom(staying, 20)) removals.push_back(m);
        return removals.size() >= 3;
    }));
    EXPECT_EQ(removals.size(), 3u);
    const auto contains = [&](const WireMessage& wanted) {
        return std::find(removals.begin(), removals.end(), wanted) != removals.end();
    };
    EXPECT_TRUE(contains(net::relay(1, net::encodeRemove(0, 0x80))));
    EXPECT_TRUE(contains(net::relay(2, net::encodeRemove(0, 0x81))));
    EXPECT_TRUE(contains(net::relay(2, net::encodeRemove(1, 0x83))));
    EXPECT_TRUE(logHas("client 1 left: goodbye"));
    // Closed with unread bytes, the socket resets: either way the server notices.
    EXPECT_TRUE(loopback::eventually([&] { return logHas("client 2 left: connection"); }));
}

TEST_P(RelayServerTest, LateJoinerSeesTheMatchAndItemsComeBack) {
    server::ServerConfig config;
    config.hub.itemRespawnMs = 300;
    start(config);
    int a = 0;
    loopback::Peer early = join(a);
    early.send(net::encodeNew(0x80, 0x0005, kPose));
    early.send(net::encodeUpdate(0x0005, {1, 1, 1, 0, 0, 0}));
    early.send(net::encodeName(0x0005, "Early"));
    early.send(net::encodeWeapon(0x0005, 7));
    early.send(net::encodeFrags(0x0005, 2));
    early.send(net::encodeEvent(net::MSG_ITEM_TAKEN, {5, 0x80}, {0x000101, 0x89}, {5, 0x80}));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));

    int b = 0;
    loopback::Peer late = join(b);
    const auto missed = messagesFrom(late);
    ASSERT_EQ(missed.size(), 5u);
    EXPECT_EQ(missed[0], net::relay(1, net::encodeNew(0x80, 0x0005, {1, 1, 1, 0, 0, 0})));
    EXPECT_EQ(missed[1].type(), net::MSG_NAME);
    EXPECT_EQ(missed[2].type(), net::MSG_WEAPON);
    EXPECT_EQ(missed[3].type(), net::MSG_FRAGS);
    EXPECT_EQ(missed[4].type(), net::MSG_ITEM_TAKEN);

    const WireMessage back = net::encodeItemState(0x010005, 0x000101, 0);
    const auto toEarly = early.readMessage(&net::serverMessageLength, 2000);
    const auto toLate = late.readMessage(&net::serverMessageLength, 2000);
    ASSERT_TRUE(toEarly && toLate);
    EXPECT_EQ(*toEarly, back);
    EXPECT_EQ(*toLate, back);
}

TEST_P(RelayServerTest, AStalledReaderIsDroppedWithoutDelayingTheOthers) {
    server::ServerConfig config;
    config.maxQueuedBytes = 64 * 1024;
    start(config);
    int a = 0, b = 0, s = 0;
    loopback::Peer sender = join(a);
    loopback::Peer reader = join(b);
    loopback::Peer stalled = join(s, 4096);  // never reads again

    // 20 bursts of 1000 updates, 50 ms apart: 540 kB for each of the others, which the
    // reader keeps up with and the stalled client cannot take.
    constexpr int kBursts = 20;
    constexpr int kPerBurst = 1000;
    std::thread writer([&] {
        for (int burst = 0; burst < kBursts; ++burst) {
            Bytes bytes;
            for (int i = 0; i < kPerBurst; ++i) {
                const WireMessage m = net::encodeUpdate(i, kPose);
                bytes.insert(bytes.end(), m.bytes.begin(), m.bytes.begin() + m.length);
            }
            sender.send(bytes);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    const std::size_t expected = std::size_t{kBursts} * kPerBurst * 28;
    std::size_t received = 0;
    while (received < expected) {
        const Bytes chunk = reader.read(expected - received, 2000);
        if (chunk.empty()) break;
        received += chunk.size();
    }
    writer.join();
    EXPECT_EQ(received, expected);
    EXPECT_TRUE(loopback::eventually([&] { return logHas("client 3 left: dropped"); }));
}

TEST_P(RelayServerTest, GarbageCutsOnlyItsSender) {
    start({});
    int a = 0, b = 0, g = 0;
    loopback::Peer first = join(a);
    loopback::Peer second = join(b);
    loopback::Peer garbage = join(g);
    garbage.send(net::encodeNew(0x82, 0x0009, kPose));
    garbage.send(Bytes{0x05, 0xFF, 0xFF});
    EXPECT_TRUE(garbage.waitForClose());
    EXPECT_TRUE(loopback::eventually(
        [&] { return logHas("client 3 left: cut: undefined type byte 0x05"); }));
    // The others heard the announcement, then its withdrawal, and still talk.
    const auto heard = messagesFrom(first);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[1], net::relay(3, net::encodeRemove(9, 0x82)));
    messagesFrom(second);
    first.send(net::encodeUpdate(1, kPose));
    EXPECT_EQ(second.read(28).size(), 28u);
}

TEST_P(RelayServerTest, AnnouncementFloodCutsTheSender) {
    start({});
    int a = 0, b = 0;
    loopback::Peer flooder = join(a);
    loopback::Peer other = join(b);
    Bytes flood;
    for (std::int32_t serial = 0; serial < 1000; ++serial) {
        const WireMessage m = net::encodeNew(0x82, serial, kPose);
        flood.insert(flood.end(), m.bytes.begin(), m.bytes.begin() + m.length);
    }
    flooder.send(flood);
    EXPECT_TRUE(flooder.waitForClose());
    EXPECT_TRUE(loopback::eventually(
        [&] { return logHas("client 1 left: cut: more than 256 live objects"); }));
    // The other client saw at most the cap announced, and every one of them withdrawn.
    const auto heard = messagesFrom(other);
    std::size_t announced = 0, removed = 0;
    for (const auto& m : heard) {
        announced += m.type() == 0x82;
        removed += m.type() == net::MSG_REMOVE;
    }
    EXPECT_EQ(announced, 256u);
    EXPECT_EQ(removed, 256u);
}

// Three senders stream numbered updates, cut into chunks of random size, while two others
// read: one at once, one in small sips through a small socket buffer so that its writes
// come back short and wait for room. Each reader must get every sender's updates whole,
// byte-exact and in the order sent, including the last ones, after which nothing more
// arrives to push them out.
TEST_P(RelayServerTest, EveryReaderGetsEverySendersUpdatesWholeAndInOrder) {
    for (const int flushDelayUs : {0, 2000}) {
        SCOPED_TRACE("flush delay " + std::to_string(flushDelayUs) + " us");
        server::ServerConfig config;
        config.flushDelayUs = flushDelayUs;
        config.maxQueuedBytes = 4 * 1024 * 1024;
        config.kernelSendBuffer = 4096;  // many short writes, and queues that wait for room
        start(config);
        constexpr int kSenders = 3;
        constexpr int kUpdates = 2000;
        std::vector<loopback::Peer> senders;
        std::vector<int> numbers(kSenders);
        for (int i = 0; i < kSenders; ++i) senders.push_back(join(numbers[i]));
        int fastNumber = 0, slowNumber = 0;
        loopback::Peer fast = join(fastNumber);
        loopback::Peer slow = join(slowNumber, 4096);

        std::vector<std::thread> writers;
        for (int i = 0; i < kSenders; ++i) {
            writers.emplace_back([&, i] {
                std::mt19937 random(static_cast<unsigned>(i + 1));
                Bytes stream;
                for (int n = 0; n < kUpdates; ++n) {
                    const WireMessage m = net::encodeUpdate(
                        i, {static_cast<float>(n), static_cast<float>(i), 1, 2, 3, 4});
                    stream.insert(stream.end(), m.bytes.begin(), m.bytes.begin() + m.length);
                }
                for (std::size_t at = 0; at < stream.size();) {
                    const std::size_t size =
                        std::min<std::size_t>(random() % 200 + 1, stream.size() - at);
                    senders[static_cast<std::size_t>(i)].send(stream.data() + at, size);
                    at += size;
                    if (random() % 8 == 0)
                        std::this_thread::sleep_for(std::chrono::microseconds(300));
                }
            });
        }
        const std::size_t expected = std::size_t{kSenders} * kUpdates * 28;
        Bytes toSlow;
        std::thread sipper([&] {
            while (toSlow.size() < expected) {
                const Bytes sip = slow.read(std::min<std::size_t>(512, expected - toSlow.size()));
                if (sip.empty()) break;
                toSlow.insert(toSlow.end(), sip.begin(), sip.end());
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        Bytes toFast;
        while (toFast.size() < expected) {
            const Bytes chunk = fast.read(expected - toFast.size());
            if (chunk.empty()) break;
            toFast.insert(toFast.end(), chunk.begin(), chunk.end());
        }
        for (auto& writer : writers) writer.join();
        sipper.join();

        for (const Bytes* received : {&toFast, &toSlow}) {
            ASSERT_EQ(received->size(), expected);
            const auto messages = loopback::splitMessages(*received, &net::serverMessageLength);
            ASSERT_TRUE(messages);
            std::vector<int> next(kSenders, 0);
            for (const WireMessage& m : *messages) {
                const auto sender = std::find(numbers.begin(), numbers.end(), m.bytes[1]);
                ASSERT_NE(sender, numbers.end());
                const int i = static_cast<int>(sender - numbers.begin());
                const WireMessage sent =
                    net::encodeUpdate(i, {static_cast<float>(next[static_cast<std::size_t>(i)]),
                                          static_cast<float>(i), 1, 2, 3, 4});
                ASSERT_EQ(m, net::relay(m.bytes[1], sent));
                ++next[static_cast<std::size_t>(i)];
            }
        }
        EXPECT_TRUE(fast.readUntilQuiet(50).empty());
        stopServer();
    }
}

INSTANTIATE_TEST_SUITE_P(Writes, RelayServerTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& param) {
                             return param.param ? "Batched" : "SendEach";
                         });

}  // namespace
