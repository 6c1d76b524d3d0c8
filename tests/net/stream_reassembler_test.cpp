#include "net/protocol/stream_reassembler.h"

#include <gtest/gtest.h>

#include <vector>

#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"
#include "test_object.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Every kind of server message, one of the undefined 0x4C-0x7F range among them, comes
// out the same whole and fed byte by byte. (Random cuts are the fuzz target's.)
TEST(StreamReassembler, SameMessagesWholeAndByteByByte) {
    const net::Pose pose = {1, 2, 3, 4, 5, 6};
    Bytes undefined(12, 0x4C);
    undefined[0] = 0x7F;
    const std::vector<Bytes> sent = {bytesOf(net::encodeClientNumber(2)),
                                     bytesOf(net::relay(3, net::encodeNew(0x80, 0x0001, pose))),
                                     bytesOf(net::relay(3, net::encodeUpdate(0x0001, pose))),
                                     bytesOf(net::relay(3, net::encodeRemove(0x0002, 0x82))),
                                     bytesOf(net::encodeServerFull()),
                                     undefined,
                                     bytesOf(net::relay(3, net::encodeUpdate(0x0001, pose)))};
    Bytes stream;
    for (const Bytes& m : sent) stream.insert(stream.end(), m.begin(), m.end());
    for (const std::size_t chunk : {stream.size(), std::size_t{1}}) {
        net::StreamReassembler reassembler(&net::serverMessageLength);
        std::vector<Bytes> messages;
        for (std::size_t at = 0; at < stream.size(); at += chunk)
            reassembler.feed(stream.data() + at, chunk, [&](const net::WireMessage& m) {
                messages.push_back(bytesOf(m));
                return true;
            });
        EXPECT_EQ(messages, sent) << chunk;
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
