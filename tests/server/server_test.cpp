// The relay server: its command line, its hub's rules without sockets, its batched
// writes, and the whole server on loopback sockets.
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <numeric>
#include <random>
#include <thread>

#include "loopback.h"
#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"
#include "server/batch_sender.h"
#include "server/relay_hub.h"
#include "server/relay_server.h"
#include "server/server_options.h"

namespace {

using net::WireMessage;
using Bytes = std::vector<std::uint8_t>;
using Messages = std::vector<WireMessage>;

class RelayServerTest : public testing::TestWithParam<bool> {
  protected:
    // `onLoopThread` runs on the server's thread before it serves.
    void start(server::ServerConfig config = {}, std::function<void()> onLoopThread = {}) {
        config.batchWrites = GetParam();
        config.bindAddress = "127.0.0.1";
        config.port = 0;
        relay = std::make_unique<server::RelayServer>(config, [this](const std::string& line) {
            std::lock_guard<std::mutex> guard(logLock);
            log += line + "\n";
        });
        std::string error;
        ASSERT_TRUE(relay->listen(error)) << error;
        loop = std::thread([this, onLoopThread] {
            if (onLoopThread) onLoopThread();
            served = relay->run();
        });
    }
    void TearDown() override { stopServer(); }
    void stopServer() {
        if (relay) relay->stop();
        if (loop.joinable()) loop.join();
        relay.reset();
    }

    // Connects, reads the welcome and checks it names client `number`.
    loopback::Peer join(int number, int receiveBuffer = 0) {
        loopback::Peer peer = loopback::Peer::connectTo(relay->port(), receiveBuffer);
        Bytes welcome = bytesOf(net::encodeClientNumber(number));
        append(welcome, net::encodeLevel(1));
        EXPECT_EQ(peer.read(24), welcome);
        return peer;
    }
    bool logHas(const std::string& part) {
        return loopback::eventually([&] {
            std::lock_guard<std::mutex> guard(logLock);
            return log.find(part) != std::string::npos;
        });
    }

    std::unique_ptr<server::RelayServer> relay;
    std::thread loop;
    std::atomic<bool> served{false};
    std::mutex logLock;
    std::string log;
};

const net::Pose kPose = {400, 500, 6, 0, 0, 270};

// Makes the kernel answer each system call with its error, for the calling thread only,
// as an older kernel or a sandbox does.
void refuseOnThisThread(std::initializer_list<std::pair<long, int>> calls) {
    std::vector<sock_filter> filter = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr))};
    for (const auto& [call, error] : calls) {
        filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<__u32>(call), 0, 1));
        filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | static_cast<__u32>(error)));
    }
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    const sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
    ASSERT_EQ(prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0), 0);
    ASSERT_EQ(prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program), 0) << std::strerror(errno);
}

// A client that has sent nothing for the idle time is closed when the server next looks
// (here when a newcomer knocks at the full server), and the newcomer takes its number;
// one that spoke within that time stays. The server's clock is the test's.
TEST_P(RelayServerTest, RelaysByteExactWithoutEchoTurnsAwayOneTooManyAndClosesTheSilent) {
    std::atomic<std::int64_t> clockMs{0};
    start({.hub = {.maxPlayers = 2}, .clockMs = [&clockMs] { return clockMs.load(); }});
    loopback::Peer first = join(1);
    loopback::Peer second = join(2);
    EXPECT_TRUE(logHas("client 1 joined from 127.0.0.1:"));
    loopback::Peer third = loopback::Peer::connectTo(relay->port());
    EXPECT_EQ(third.read(1), Bytes{net::MSG_SERVER_FULL});
    EXPECT_TRUE(third.waitForClose() && logHas("server full"));

    first.send(net::encodeUpdate(0x0080, kPose));
    second.send(net::encodeEvent(net::MSG_HIT, {0x0003, 0x82}, {0x010000, 0x80}, {0x0000, 0x81}));
    EXPECT_EQ(second.read(28), bytesOf(net::relay(1, net::encodeUpdate(0x0080, kPose))));
    EXPECT_EQ(first.read(12),
              (Bytes{0x44, 2, 0x00, 0x03, 0x01, 0x00, 0x00, 0x82, 0x80, 0x00, 0x00, 0x00}));
    EXPECT_TRUE(first.read(1, 100).empty() && second.read(1, 100).empty());
    first.close();
    EXPECT_TRUE(logHas("client 1 left"));
    loopback::Peer talker = join(1);  // its number is free again
    clockMs = 20000;
    talker.send(net::encodeInfoRequest(1));
    EXPECT_EQ(second.read(12).size(), 12u);  // relayed: the talker was heard at 20 s
    clockMs = 30000;
    loopback::Peer newcomer = join(2);
    EXPECT_TRUE(second.waitForClose() && logHas("client 2 left: silent for 30 s"));
    talker.send(net::encodeInfoRequest(1));
    EXPECT_EQ(newcomer.read(12).size(), 12u);
}

// A kernel before 5.11 has no epoll_pwait2: the server waits with epoll_wait instead.
// When waiting fails for good, it ends and says why instead of passing for a stop.
TEST_P(RelayServerTest, WaitsTheOlderWayWhereTheNewerIsMissingAndEndsOnAFailingWait) {
    start({}, [] { refuseOnThisThread({{SYS_epoll_pwait2, ENOSYS}}); });
    loopback::Peer first = join(1);
    loopback::Peer second = join(2);
    first.send(net::encodeUpdate(0x0080, kPose));
    EXPECT_EQ(second.read(28).size(), 28u);
    EXPECT_TRUE(logHas("no epoll_pwait2 here"));
    stopServer();
    EXPECT_TRUE(served);

    start({}, [] { refuseOnThisThread({{SYS_epoll_pwait2, ENOSYS}, {SYS_epoll_wait, EINVAL}}); });
    loop.join();
    EXPECT_FALSE(served);
    EXPECT_EQ(relay->failure(), std::string("waiting for events failed: ") + std::strerror(EINVAL));
}

// A client leaves with a goodbye, hangs up, or is cut for garbage: the others hear its
// live objects withdrawn and are served on. One that stalls is dropped without delaying
// the others.
TEST_P(RelayServerTest, ClientsThatGoOrStallAreRemovedForTheOthers) {
    start({.hub = {}, .maxQueuedBytes = 64 * 1024, .clockMs = {}});
    loopback::Peer leaving = join(1);
    loopback::Peer dropping = join(2);
    loopback::Peer garbage = join(3);
    loopback::Peer staying = join(4);
    leaving.send(net::encodeNew(0x80, 0x0000, kPose));
    leaving.send(net::encodeNew(0x82, 0x0001, kPose));
    leaving.send(net::encodeRemove(0x0001, 0x82));  // withdrawn already
    dropping.send(net::encodeNew(0x81, 0x0000, kPose));
    dropping.send(net::encodeNew(0x83, 0x0001, kPose));
    garbage.send(net::encodeNew(0x82, 0x0009, kPose));
    ASSERT_EQ(staying.read(5 * 28 + 12).size(), 5 * 28 + 12u);  // five new, one removal

    leaving.send(net::encodeGoodbye());
    EXPECT_TRUE(leaving.waitForClose());
    dropping.close();  // gone without a goodbye
    garbage.send(Bytes{0x05, 0xFF, 0xFF});
    EXPECT_TRUE(garbage.waitForClose());
    Messages removals = loopback::splitMessages(staying.read(4 * 12), &net::serverMessageLength)
                            .value_or(Messages{});
    // Only live objects, and the goodbye itself is never relayed.
    std::sort(removals.begin(), removals.end(),
              [](const WireMessage& a, const WireMessage& b) { return a.bytes < b.bytes; });
    EXPECT_EQ(removals, (Messages{net::relay(1, net::encodeRemove(0, 0x80)),
                                  net::relay(2, net::encodeRemove(0, 0x81)),
                                  net::relay(2, net::encodeRemove(1, 0x83)),
                                  net::relay(3, net::encodeRemove(9, 0x82))}));
    EXPECT_TRUE(logHas("client 3 left: cut: undefined type byte 0x05"));

    loopback::Peer sender = join(1);
    loopback::Peer stalled = join(2, 4096);  // never reads
    // 20 bursts of 1000 updates, 50 ms apart: 540 kB for each of the others, which the
    // staying client keeps up with and the stalled one cannot take.
    Bytes burst;
    for (int i = 0; i < 1000; ++i) append(burst, net::encodeUpdate(i, kPose));
    std::thread writer([&] {
        for (int i = 0; i < 20; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(50)))
            sender.send(burst);
    });
    EXPECT_EQ(staying.read(20 * burst.size(), 20000).size(), 20 * burst.size());
    writer.join();
    EXPECT_TRUE(logHas("client 2 left: dropped"));
}

// Three senders stream numbered updates, cut into chunks of random size, to two readers
// through small socket buffers, so that writes come back short: one reads at once while
// the other's queue waits for room until the first has all. Each reader must get every
// sender's updates whole, byte-exact and in the order sent, including the last ones,
// after which nothing more arrives to push them out.
TEST_P(RelayServerTest, EveryReaderGetsEverySendersUpdatesWholeAndInOrder) {
    constexpr int kSenders = 3, kUpdates = 2000;
    std::vector<Bytes> streams(kSenders);
    Bytes expectedFrom[kSenders];  // relayed, by client number - 1
    for (int i = 0; i < kSenders; ++i) {
        for (int n = 0; n < kUpdates; ++n) {
            const WireMessage m = net::encodeUpdate(n, {static_cast<float>(n), 1, 2, 3, 4, 5});
            append(streams[i], m);
            append(expectedFrom[i], net::relay(static_cast<std::uint8_t>(i + 1), m));
        }
    }
    const std::size_t expected = std::size_t{kSenders} * kUpdates * 28;
    // Both ways of flushing, too.
    start({.hub = {},
           .maxQueuedBytes = 4 * 1024 * 1024,
           .kernelSendBuffer = 4096,
           .flushDelayUs = GetParam() ? 2000 : 0,
           .clockMs = {}});
    std::vector<loopback::Peer> senders;
    for (int i = 0; i < kSenders; ++i) senders.push_back(join(i + 1));
    loopback::Peer readers[] = {join(kSenders + 1), join(kSenders + 2, 4096)};
    std::vector<std::thread> writers;
    for (int i = 0; i < kSenders; ++i) {
        writers.emplace_back([&, i] {
            std::mt19937 random(static_cast<unsigned>(i + 1));
            for (std::size_t at = 0, size = 0; at < streams[i].size(); at += size) {
                size = std::min<std::size_t>(random() % 200 + 1, streams[i].size() - at);
                senders[i].send(streams[i].data() + at, size);
                if (random() % 8 == 0) std::this_thread::sleep_for(std::chrono::microseconds(300));
            }
        });
    }
    const Bytes received[] = {readers[0].read(expected, 30000), readers[1].read(expected, 30000)};
    for (auto& writer : writers) writer.join();
    for (const Bytes& bytes : received) {
        ASSERT_EQ(bytes.size(), expected);
        Bytes from[kSenders];  // each sender's relayed messages, in the order they arrived
        for (std::size_t at = 0; at < expected; at += 28) {
            Bytes& to = from[(bytes[at + 1] - 1u) % kSenders];
            to.insert(to.end(), bytes.begin() + at, bytes.begin() + at + 28);
        }
        for (int i = 0; i < kSenders; ++i) EXPECT_EQ(from[i], expectedFrom[i]) << i;
    }
    EXPECT_TRUE(readers[0].read(1, 50).empty());
}

// Each suite runs with the writes of a turn handed to the kernel together and with one
// send() per client.
const auto writes = [](const auto& param) { return param.param ? "Batched" : "SendEach"; };
INSTANTIATE_TEST_SUITE_P(Writes, RelayServerTest, testing::Bool(), writes);

server::ParsedOptions parse(std::vector<const char*> args) {
    args.insert(args.begin(), "voka-server");
    return server::parseOptions(static_cast<int>(args.size()), args.data());
}

// Address, port, level, players, item respawn and idle time (ms), real-time priority, and
// the error.
std::string summary(const server::ParsedOptions& parsed) {
    const auto& c = parsed.config;
    return testing::PrintToString(std::tuple(c.bindAddress, c.port, c.hub.level, c.hub.maxPlayers,
                                             c.hub.itemRespawnMs, c.idleTimeoutMs,
                                             c.realTimePriority, parsed.error));
}

TEST(ServerOptions, DefaultsMatchTheShippedSettingsEveryOptionIsReadAndMistakesReported) {
    EXPECT_EQ(summary(parse({})), R"(("0.0.0.0", 24500, 1, 16, 30000, 30000, 0, ""))");
    EXPECT_EQ(summary(parse({"--port", "0", "--bind", "127.0.0.1", "--level", "3", "--max-players",
                             "32", "--item-respawn", "2.5", "--idle-timeout", "0",
                             "--realtime-priority", "1"})),
              R"(("127.0.0.1", 0, 3, 32, 2500, 0, 1, ""))");
    EXPECT_TRUE(parse({"--help"}).help);
    // Bad command lines are reported, not guessed.
    for (const auto& bad : {parse({"--port"}), parse({"--port", "65536"}), parse({"--level", "0"}),
                            parse({"--max-players", "128"}), parse({"--item-respawn", "nan"}),
                            parse({"--idle-timeout", "x"}), parse({"--realtime-priority", "100"}),
                            parse({"--frag-limit", "5"})})
        EXPECT_NE(bad.error, "");
}

using Verdict = server::RelayHub::Verdict;

struct RecordingOutbox : server::Outbox {
    std::vector<std::pair<int, WireMessage>> sent;
    void sendTo(int clientNumber, const WireMessage& message) override {
        sent.emplace_back(clientNumber, message);
    }
};

class RelayHubTest : public testing::Test {
  protected:
    int joinAndWelcome() {
        const int number = hub.join();
        if (number > 0) hub.welcome(number);
        return number;
    }

    server::HubOptions options{3, 4, 500, 5, 4096};
    RecordingOutbox outbox;
    server::RelayHub hub{options, outbox};
};

TEST_F(RelayHubTest, TakenItemComesBackAfterTheRespawnTime) {
    joinAndWelcome(), joinAndWelcome();
    const WireMessage taken =
        net::encodeEvent(net::MSG_ITEM_TAKEN, {0x0003, 0x80}, {0x000105, 0x85}, {0x0003, 0x80});
    hub.receive(2, taken, 1000);
    hub.receive(1, taken, 1400);  // taken again meanwhile: the return is not postponed
    EXPECT_EQ(hub.nextDeadline(), 1500);
    outbox.sent.clear();
    hub.tick(1499);
    hub.tick(1500);
    const WireMessage back = net::encodeItemState(0x020003, 0x000105, 0);
    EXPECT_EQ(outbox.sent, (std::vector<std::pair<int, WireMessage>>{{1, back}, {2, back}}));
    EXPECT_FALSE(hub.nextDeadline());
}

// The last pose (as a new object) and name, then the weapon, frags and taken item.
TEST_F(RelayHubTest, ALateJoinerHearsWhatItMissed) {
    joinAndWelcome();
    const WireMessage sent[] = {
        net::encodeNew(0x80, 0x0005, kPose),
        net::encodeUpdate(0x0005, {1, 1, 1, 0, 0, 0}),
        net::encodeName(0x0005, "Early"),
        net::encodeName(0x0005, "Earlier"),
        net::encodeWeapon(0x0005, 7),
        net::encodeFrags(0x0005, 2),
        net::encodeEvent(net::MSG_ITEM_TAKEN, {5, 0x80}, {0x000101, 0x89}, {5, 0x80})};
    for (const WireMessage& m : sent) hub.receive(1, m, 0);
    outbox.sent.clear();
    const int late = joinAndWelcome();
    std::vector<std::pair<int, WireMessage>> missed = {
        {late, net::encodeClientNumber(late)},
        {late, net::encodeLevel(options.level)},
        {late, net::relay(1, net::encodeNew(0x80, 5, {1, 1, 1, 0, 0, 0}))}};
    for (std::size_t i = 3; i < std::size(sent); ++i)
        missed.emplace_back(late, net::relay(1, sent[i]));
    EXPECT_EQ(outbox.sent, missed);  // and nothing to the others
}

TEST_F(RelayHubTest, TooManyObjectsBadShapesAndUnknownSendersAreCut) {
    joinAndWelcome();
    for (std::int32_t serial = 0; serial < 5; ++serial)
        ASSERT_EQ(hub.receive(1, net::encodeNew(0x82, serial, kPose), 0), Verdict::Keep);
    // Announcing a known object again replaces it.
    EXPECT_EQ(hub.receive(1, net::encodeNew(0x82, 4, kPose), 0), Verdict::Keep);
    EXPECT_EQ(hub.receive(1, net::encodeNew(0x82, 5, kPose), 0), Verdict::Cut);
    EXPECT_EQ(hub.liveObjectCount(1), 5u);
    // So are messages of the wrong shape and ones from numbers nobody holds.
    EXPECT_EQ(hub.receive(2, net::encodeGoodbye(), 0), Verdict::Cut);
    WireMessage bad = net::encodeUpdate(1, kPose);
    bad.length = 11;
    EXPECT_EQ(hub.receive(1, bad, 0), Verdict::Cut);
}

struct SocketPair {
    int fds[2] = {-1, -1};
    int made = ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds);
    loopback::Peer writer{fds[0]}, reader{fds[1]};
};

class BatchSenderTest : public testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        if (GetParam() && !sender.batched()) GTEST_SKIP() << "this kernel offers no io_uring";
    }
    std::map<std::uint64_t, ssize_t> sendAll() {
        std::map<std::uint64_t, ssize_t> results;
        sender.sendAll([&](std::uint64_t tag, ssize_t result) {
            EXPECT_TRUE(results.emplace(tag, result).second) << "reported twice: " << tag;
        });
        return results;
    }

    server::BatchSender sender{GetParam()};
};

// More writes than the ring takes at once, each of its own length and content; then a
// closed and a full socket fail at once without spoiling the write beside them.
TEST_P(BatchSenderTest, EverySocketGetsItsOwnBytes) {
    constexpr std::size_t kSockets = 300;
    std::vector<SocketPair> pairs(kSockets);
    std::vector<Bytes> payloads(kSockets);
    for (std::size_t i = 0; i < kSockets; ++i) {
        payloads[i].resize(1 + i * 7);
        std::iota(payloads[i].begin(), payloads[i].end(), static_cast<std::uint8_t>(i));
        sender.add(pairs[i].writer.fd(), payloads[i].data(), payloads[i].size(), 1000 + i);
    }
    const auto results = sendAll();
    for (std::size_t i = 0; i < kSockets; ++i) {
        EXPECT_EQ(results.at(1000 + i), static_cast<ssize_t>(payloads[i].size()));
        EXPECT_EQ(pairs[i].reader.read(payloads[i].size()), payloads[i]) << "socket " << i;
    }
    pairs[1].reader.close();
    static const std::uint8_t filler[4096] = {};
    while (::send(pairs[2].writer.fd(), filler, sizeof filler, MSG_DONTWAIT) > 0) continue;
    for (std::uint64_t tag : {7, 8, 9})
        sender.add(pairs[tag - 7].writer.fd(), payloads[5].data(), payloads[5].size(), tag);
    EXPECT_EQ(sendAll(), (std::map<std::uint64_t, ssize_t>{{7, 36}, {8, -EPIPE}, {9, -EAGAIN}}));
    EXPECT_EQ(pairs[0].reader.read(36), payloads[5]);
}

INSTANTIATE_TEST_SUITE_P(Writes, BatchSenderTest, testing::Bool(), writes);

}  // namespace
