#include "server/batch_sender.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <numeric>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct SocketPair {
    int writer = -1;
    int reader = -1;
    SocketPair() {
        int fds[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds) == 0)
            writer = fds[0], reader = fds[1];
    }
    ~SocketPair() {
        for (int fd : {writer, reader})
            if (fd >= 0) ::close(fd);
    }
    SocketPair(const SocketPair&) = delete;
    SocketPair& operator=(const SocketPair&) = delete;
    Bytes drain() const {
        Bytes bytes;
        std::uint8_t chunk[65536];
        ssize_t got;
        while ((got = ::recv(reader, chunk, sizeof chunk, MSG_DONTWAIT)) > 0)
            bytes.insert(bytes.end(), chunk, chunk + got);
        return bytes;
    }
    void fill() const {
        static const std::uint8_t filler[4096] = {};
        while (::send(writer, filler, sizeof filler, MSG_DONTWAIT | MSG_NOSIGNAL) > 0) {
        }
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

TEST_P(BatchSenderTest, EverySocketGetsItsOwnBytes) {
    // More writes than the ring takes at once, each of a different length and content.
    constexpr std::size_t kSockets = 300;
    std::vector<SocketPair> pairs(kSockets);
    std::vector<Bytes> payloads(kSockets);
    for (std::size_t i = 0; i < kSockets; ++i) {
        ASSERT_GE(pairs[i].writer, 0);
        payloads[i].resize(1 + i * 7);
        std::iota(payloads[i].begin(), payloads[i].end(), static_cast<std::uint8_t>(i));
        sender.add(pairs[i].writer, payloads[i].data(), payloads[i].size(), 1000 + i);
    }
    const auto results = sendAll();
    ASSERT_EQ(results.size(), kSockets);
    for (std::size_t i = 0; i < kSockets; ++i) {
        EXPECT_EQ(results.at(1000 + i), static_cast<ssize_t>(payloads[i].size()));
        EXPECT_EQ(pairs[i].drain(), payloads[i]) << "socket " << i;
    }
    // The next batch starts clean, and a closed or full socket fails at once without
    // spoiling the write beside it.
    ::close(pairs[1].reader);
    pairs[1].reader = -1;
    pairs[2].fill();
    for (std::uint64_t tag : {7, 8, 9})
        sender.add(pairs[tag - 7].writer, payloads[5].data(), payloads[5].size(), tag);
    EXPECT_EQ(sendAll(), (std::map<std::uint64_t, ssize_t>{{7, 36}, {8, -EPIPE}, {9, -EAGAIN}}));
    EXPECT_EQ(pairs[0].drain(), payloads[5]);
}

INSTANTIATE_TEST_SUITE_P(Writes, BatchSenderTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& param) {
                             return param.param ? "Ring" : "SendEach";
                         });

}  // namespace
