// What the client does with the bytes a server sends: the reassembler cuts them into
// messages as the socket delivers them, and the dispatch hands each to a World that
// creates and removes remote objects. Every message cut is one the decoder reads, the
// stream never holds more than one partial message, and the client's table of remote
// objects is exactly the World's.
//
// Input: one byte that picks how the stream is cut into reads, then the stream.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "net/net_client.h"
#include "net/protocol/server_messages.h"
#include "net/protocol/stream_reassembler.h"
#include "test_object.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::countMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned cut = data[0];
    const std::uint8_t* stream = data + 1;
    const std::size_t length = size - 1;

    net::NetClient client;
    RemoteWorld world(client);
    client.setDataEventHandler(nullptr, [](void*, std::uint8_t, std::int32_t,
                                           const std::uint8_t* payload, std::size_t bytes) {
        volatile std::uint8_t sum = 0;
        for (std::size_t i = 0; i < bytes; ++i) sum = static_cast<std::uint8_t>(sum + payload[i]);
    });
    net::StreamReassembler reassembler(&net::serverMessageLength);
    std::size_t delivered = 0;
    // "Server full" disconnects, which forgets every remote object; a real client receives
    // nothing after that, so neither does this one.
    bool disconnected = false;
    for (std::size_t at = 0, read = 0; at < length; ++read) {
        const std::size_t chunk = std::min<std::size_t>(length - at, 1 + (cut * (read + 1)) % 61);
        const bool inStep =
            reassembler.feed(stream + at, chunk, [&](const net::WireMessage& message) {
                delivered += message.length;
                fuzz::require(
                    net::decodeServerMessage(message.bytes.data(), message.length).has_value(),
                    "every message cut from the stream decodes");
                if (!disconnected)
                    net::NetClient::dispatch(&client, message.type(), message.body(),
                                             message.length);
                disconnected = disconnected || message.type() == net::MSG_SERVER_FULL;
                return true;
            });
        fuzz::require(inStep, "a server stream never falls out of step");
        at += chunk;
    }
    fuzz::require(length - delivered < net::kMaxMessageLength, "at most one partial message");
    fuzz::require(client.remoteObjectCount() == (disconnected ? 0 : world.size()),
                  "the remote table is the World's");
    return 0;
}
