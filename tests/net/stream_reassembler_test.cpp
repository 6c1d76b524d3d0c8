#include "net/protocol/stream_reassembler.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"
#include "test_object.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Every kind of server message, including one of the undefined 0x4C-0x7F range.
std::vector<Bytes> sampleServerMessages() {
    const net::Pose pose = {1, 2, 3, 4, 5, 6};
    Bytes undefined(12, 0x4C);
    undefined[0] = 0x7F;
    return {
        bytesOf(net::encodeClientNumber(2)),
        bytesOf(net::encodeLevel(1)),
        bytesOf(net::relay(3, net::encodeNew(0x80, 0x0001, pose))),
        bytesOf(net::relay(3, net::encodeUpdate(0x0001, pose))),
        bytesOf(net::relay(3, net::encodeName(0x0001, "Rob"))),
        bytesOf(net::relay(
            3, net::encodeEvent(net::MSG_HIT, {0x0002, 0x82}, {0x020001, 0x81}, {0x0001, 0x80}))),
        bytesOf(net::relay(3, net::encodeRemove(0x0002, 0x82))),
        bytesOf(net::encodeItemState(0x030001, 0x000104, 0)),
        bytesOf(net::encodeServerFull()),
        undefined,
        bytesOf(net::relay(3, net::encodeUpdate(0x0001, pose))),
    };
}

std::vector<Bytes> reassemble(const Bytes& stream, const std::vector<std::size_t>& cuts) {
    net::StreamReassembler reassembler(&net::serverMessageLength);
    std::vector<Bytes> messages;
    std::size_t at = 0;
    for (std::size_t size : cuts) {
        reassembler.feed(stream.data() + at, size, [&](const net::WireMessage& m) {
            messages.push_back(bytesOf(m));
            return true;
        });
        at += size;
    }
    return messages;
}

TEST(StreamReassembler, SameMessagesWholeByteByByteAndInRandomChunks) {
    const std::vector<Bytes> sent = sampleServerMessages();
    Bytes stream;
    for (const Bytes& m : sent) stream.insert(stream.end(), m.begin(), m.end());
    EXPECT_EQ(reassemble(stream, {stream.size()}), sent);
    EXPECT_EQ(reassemble(stream, std::vector<std::size_t>(stream.size(), 1)), sent);
    std::mt19937 random(17);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::size_t> cuts;
        for (std::size_t left = stream.size(); left > 0;) {
            cuts.push_back(std::min<std::size_t>(left, 1 + random() % 40));
            left -= cuts.back();
        }
        ASSERT_EQ(reassemble(stream, cuts), sent) << "round " << round;
    }
}

TEST(StreamReassembler, UndefinedClientTypeStopsTheStreamForGood) {
    Bytes stream = bytesOf(net::encodeUpdate(1, {}));
    stream.push_back(0x05);
    stream.push_back(net::MSG_GOODBYE);
    net::StreamReassembler reassembler(&net::clientMessageLength);
    int seen = 0;
    const auto count = [&](const net::WireMessage&) { return ++seen > 0; };
    EXPECT_FALSE(reassembler.feed(stream.data(), stream.size(), count));
    EXPECT_TRUE(reassembler.failed());
    EXPECT_EQ(reassembler.undefinedType(), 0x05);
    EXPECT_FALSE(reassembler.feed(&stream.back(), 1, count));  // and for good
    EXPECT_EQ(seen, 1);
}

}  // namespace
