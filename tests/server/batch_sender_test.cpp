#include "server/batch_sender.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <numeric>
#include <vector>

#include "loopback.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct SocketPair {
    loopback::Peer writer, reader;
    SocketPair() {
        int fds[2] = {-1, -1};
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds);
        writer = loopback::Peer(fds[0]);
        reader = loopback::Peer(fds[1]);
    }
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
    while (::send(pairs[2].writer.fd(), filler, sizeof filler, MSG_DONTWAIT | MSG_NOSIGNAL) > 0) {
    }
    for (std::uint64_t tag : {7, 8, 9})
        sender.add(pairs[tag - 7].writer.fd(), payloads[5].data(), payloads[5].size(), tag);
    EXPECT_EQ(sendAll(), (std::map<std::uint64_t, ssize_t>{{7, 36}, {8, -EPIPE}, {9, -EAGAIN}}));
    EXPECT_EQ(pairs[0].reader.read(36), payloads[5]);
}

INSTANTIATE_TEST_SUITE_P(Writes, BatchSenderTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& param) {
                             return param.param ? "Ring" : "SendEach";
                         });

}  // namespace
