#include "net/protocol/stream_reassembler.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A server stream of every kind of message, including the undefined 0x4C-0x7F range.
Bytes sampleServerStream() {
    const net::Pose pose = {1, 2, 3, 4, 5, 6};
    const net::WireMessage messages[] = {
        net::encodeClientNumber(2),
        net::encodeLevel(1),
        net::relay(3, net::encodeNew(0x80, 0x0001, pose)),
        net::relay(3, net::encodeUpdate(0x0001, pose)),
        net::relay(3, net::encodeName(0x0001, "Rob")),
        net::relay(
            3, net::encodeEvent(net::MSG_HIT, {0x0002, 0x82}, {0x020001, 0x81}, {0x0001, 0x80})),
        net::relay(3, net::encodeRemove(0x0002, 0x82)),
        net::encodeItemState(0x030001, 0x000104, 0),
    };
    Bytes stream;
    for (const auto& m : messages)
        stream.insert(stream.end(), m.bytes.begin(), m.bytes.begin() + m.length);
    Bytes undefined(12, 0x4C);
    undefined[0] = 0x7F;
    stream.insert(stream.end(), undefined.begin(), undefined.end());
    const auto last = net::relay(3, net::encodeUpdate(0x0001, pose));
    stream.insert(stream.end(), last.bytes.begin(), last.bytes.begin() + last.length);
    return stream;
}

std::vector<Bytes> reassemble(const Bytes& stream, const std::vector<std::size_t>& cuts,
                              net::StreamReassembler::LengthRule rule = &net::serverMessageLength) {
    net::StreamReassembler reassembler(rule);
    std::vector<Bytes> messages;
    std::size_t at = 0;
    for (std::size_t size : cuts) {
        reassembler.feed(stream.data() + at, size, [&](const net::WireMessage& m) {
            messages.emplace_back(m.bytes.begin(), m.bytes.begin() + m.length);
            return true;
        });
        at += size;
    }
    return messages;
}

TEST(StreamReassembler, SameMessagesWholeByteByByteAndInRandomChunks) {
    const Bytes stream = sampleServerStream();
    const auto whole = reassemble(stream, {stream.size()});
    ASSERT_EQ(whole.size(), 10u);
    EXPECT_EQ(whole[8].size(), 12u);
    EXPECT_EQ(whole[8][0], 0x7F);
    EXPECT_EQ(whole[9].size(), 28u);
    EXPECT_EQ(whole[9][0], 0x00);

    EXPECT_EQ(reassemble(stream, std::vector<std::size_t>(stream.size(), 1)), whole);

    std::mt19937 random(17);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::size_t> cuts;
        for (std::size_t left = stream.size(); left > 0;) {
            const std::size_t size = std::min<std::size_t>(left, 1 + random() % 40);
            cuts.push_back(size);
            left -= size;
        }
        ASSERT_EQ(reassemble(stream, cuts), whole) << "round " << round;
    }
}

TEST(StreamReassembler, SinkCanStopBeforeTheRestOfTheChunk) {
    const Bytes stream = {0x40, 0x45, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    net::StreamReassembler reassembler(&net::serverMessageLength);
    int seen = 0;
    reassembler.feed(stream.data(), stream.size(), [&](const net::WireMessage&) {
        ++seen;
        return false;
    });
    EXPECT_EQ(seen, 1);
}

TEST(StreamReassembler, UndefinedClientTypeStopsTheStreamForGood) {
    const net::WireMessage goodbye = net::encodeGoodbye();
    const net::WireMessage update = net::encodeUpdate(1, {});
    Bytes stream(update.bytes.begin(), update.bytes.begin() + update.length);
    stream.push_back(0x05);
    stream.push_back(goodbye.bytes[0]);
    net::StreamReassembler reassembler(&net::clientMessageLength);
    int seen = 0;
    EXPECT_FALSE(reassembler.feed(stream.data(), stream.size(), [&](const net::WireMessage&) {
        ++seen;
        return true;
    }));
    EXPECT_EQ(seen, 1);
    EXPECT_TRUE(reassembler.failed());
    EXPECT_EQ(reassembler.undefinedType(), 0x05);
    EXPECT_FALSE(reassembler.feed(goodbye.bytes.data(), 1, [&](const net::WireMessage&) {
        ++seen;
        return true;
    }));
    EXPECT_EQ(seen, 1);
}

TEST(StreamReassembler, HoldsAPartialMessageUntilItsLastByte) {
    const net::WireMessage update = net::relay(1, net::encodeUpdate(1, {}));
    net::StreamReassembler reassembler(&net::serverMessageLength);
    int seen = 0;
    auto count = [&](const net::WireMessage&) {
        ++seen;
        return true;
    };
    reassembler.feed(update.bytes.data(), 27, count);
    EXPECT_EQ(seen, 0);
    EXPECT_TRUE(reassembler.holdsPartial());
    reassembler.feed(update.bytes.data() + 27, 1, count);
    EXPECT_EQ(seen, 1);
    EXPECT_FALSE(reassembler.holdsPartial());
}

}  // namespace
