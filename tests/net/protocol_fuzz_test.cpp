// Random and mutated byte streams through the reassembler, both decoders and the
// client's dispatch: nothing may crash, read out of bounds or lose step.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "net/net_client.h"
#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"
#include "net/protocol/stream_reassembler.h"
#include "support/captured_errors.h"
#include "test_object.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes validServerStream() {
    const net::Pose pose = {10, 20, 30, 0, 0, 90};
    Bytes stream;
    const auto add = [&](const net::WireMessage& m) { append(stream, m); };
    add(net::encodeClientNumber(4));
    add(net::encodeLevel(2));
    for (std::int32_t serial = 0; serial < 6; ++serial) {
        add(net::relay(1,
                       net::encodeNew(static_cast<std::uint8_t>(0x80 + serial % 4), serial, pose)));
        add(net::relay(1, net::encodeUpdate(serial, pose)));
        add(net::relay(1, net::encodeName(serial, "Fuzz")));
        add(net::relay(1, net::encodeEvent(net::MSG_KILL, {serial, 0x80}, {0x040000, 0x82},
                                           {0x010001, 0x81})));
        add(net::relay(1, net::encodeRemove(serial, 0x82)));
    }
    return stream;
}

// One to eight random edits: a byte changed (its top bit always), dropped or inserted.
Bytes mutate(Bytes bytes, std::mt19937& random) {
    for (auto edits = 1 + random() % 8; edits > 0 && !bytes.empty(); --edits) {
        const auto at = bytes.begin() + static_cast<std::ptrdiff_t>(random() % bytes.size());
        const auto kind = random() % 3;
        if (kind == 0) {
            *at ^= static_cast<std::uint8_t>(random() | 0x80);
        } else if (kind == 1) {
            bytes.erase(at);
        } else {
            bytes.insert(at, static_cast<std::uint8_t>(random()));
        }
    }
    return bytes;
}

void onData(void*, std::uint8_t, std::int32_t, const std::uint8_t* payload, std::size_t length) {
    volatile std::uint8_t sum = 0;
    for (std::size_t i = 0; i < length; ++i) sum = static_cast<std::uint8_t>(sum + payload[i]);
}

TEST(ProtocolFuzz, ServerStreamsNeverBreakTheClient) {
    testing_support::CapturedErrors boxes;
    std::mt19937 random(2026);
    const Bytes valid = validServerStream();
    for (int round = 0; round < 3000; ++round) {
        Bytes stream;
        if (round % 3 == 0) {
            stream.resize(random() % 600);
            for (auto& b : stream) b = static_cast<std::uint8_t>(random());
        } else {
            stream = mutate(valid, random);
        }
        net::NetClient client;
        RemoteWorld world(client);
        client.setDataEventHandler(nullptr, &onData);

        net::StreamReassembler reassembler(&net::serverMessageLength);
        std::size_t delivered = 0;
        // "Server full" disconnects, which forgets every remote object; a real client
        // receives nothing after that, so neither does this one.
        bool disconnected = false;
        for (std::size_t at = 0; at < stream.size();) {
            const std::size_t size = std::min<std::size_t>(stream.size() - at, 1 + random() % 64);
            ASSERT_TRUE(reassembler.feed(stream.data() + at, size, [&](const net::WireMessage& m) {
                delivered += m.length;
                EXPECT_TRUE(net::decodeServerMessage(m.bytes.data(), m.length));
                if (!disconnected) net::NetClient::dispatch(&client, m.type(), m.body(), m.length);
                disconnected = disconnected || m.type() == net::MSG_SERVER_FULL;
                return true;
            }));
            at += size;
        }
        // Every byte is either in a delivered message or in the one partial message.
        EXPECT_LT(stream.size() - delivered, net::kMaxMessageLength);
        // Whatever the World holds, the client can still reach it to remove it.
        EXPECT_EQ(client.remoteObjectCount(), disconnected ? 0 : world.size());
    }
}

TEST(ProtocolFuzz, ClientStreamsEitherDecodeOrStopAtTheBadByte) {
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        Bytes stream(random() % 400);
        for (auto& b : stream) b = static_cast<std::uint8_t>(random() % 3 == 0 ? 0x00 : random());
        net::StreamReassembler reassembler(&net::clientMessageLength);
        const bool inStep =
            reassembler.feed(stream.data(), stream.size(), [](const net::WireMessage& m) {
                const auto decoded = net::decodeClientMessage(m);
                EXPECT_TRUE(decoded);
                if (decoded && decoded->type != net::MSG_GOODBYE) {
                    EXPECT_EQ(net::relay(1, m).length, m.length + 1);
                }
                return true;
            });
        EXPECT_EQ(inStep, !reassembler.failed());
    }
}

TEST(ProtocolFuzz, ShortOrOverlongBodiesAreRefusedByDispatch) {
    net::NetClient client;
    RemoteWorld world(client);
    const std::uint8_t body[40] = {};
    for (std::size_t length = 0; length < sizeof body; ++length) {
        net::NetClient::dispatch(&client, 0x80, body, length);
    }
    EXPECT_EQ(world.size(), 1u);  // only the 28-byte one
}

}  // namespace
