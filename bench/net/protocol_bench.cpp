#include <benchmark/benchmark.h>

#include <vector>

#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"
#include "net/protocol/stream_reassembler.h"
#include "server/relay_hub.h"

namespace {

const net::Pose kPose = {812.5f, 433.25f, 12.0f, 0.0f, 3.5f, 271.0f};

void EncodeUpdate(benchmark::State& state) {
    std::int32_t id = 0x00010000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(net::encodeUpdate(id++, kPose));
    }
}
BENCHMARK(EncodeUpdate);

void DecodeRelayedUpdate(benchmark::State& state) {
    const net::WireMessage message = net::relay(3, net::encodeUpdate(0x0081, kPose));
    for (auto _ : state) {
        benchmark::DoNotOptimize(net::decodeServerMessage(message.bytes.data(), message.length));
    }
}
BENCHMARK(DecodeRelayedUpdate);

// A server stream of updates and events cut into socket-sized chunks.
void ReassembleServerStream(benchmark::State& state) {
    std::vector<std::uint8_t> stream;
    for (int i = 0; i < 4096; ++i) {
        const net::WireMessage m = i % 8 == 0 ? net::relay(2, net::encodeFrags(i, i % 50))
                                              : net::relay(2, net::encodeUpdate(i, kPose));
        stream.insert(stream.end(), m.bytes.begin(), m.bytes.begin() + m.length);
    }
    const auto chunk = static_cast<std::size_t>(state.range(0));
    std::size_t messages = 0;
    for (auto _ : state) {
        net::StreamReassembler reassembler(&net::serverMessageLength);
        for (std::size_t at = 0; at < stream.size(); at += chunk) {
            reassembler.feed(stream.data() + at, std::min(chunk, stream.size() - at),
                             [&](const net::WireMessage& m) {
                                 benchmark::DoNotOptimize(m.bytes[0]);
                                 ++messages;
                                 return true;
                             });
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(messages));
    state.SetBytesProcessed(static_cast<std::int64_t>(stream.size() * state.iterations()));
}
BENCHMARK(ReassembleServerStream)->Arg(1)->Arg(64)->Arg(4096);

struct NullOutbox : server::Outbox {
    std::size_t sent = 0;
    void sendTo(int, const net::WireMessage& message) override {
        benchmark::DoNotOptimize(message.bytes[1]);
        ++sent;
    }
};

// One update from one of 32 players, relayed to the other 31.
void HubRelaysAnUpdate(benchmark::State& state) {
    NullOutbox outbox;
    server::HubOptions options;
    options.maxPlayers = 32;
    server::RelayHub hub(options, outbox);
    for (int i = 0; i < 32; ++i) hub.join();
    hub.receive(5, net::encodeNew(0x80, 1, kPose), 0);
    const net::WireMessage update = net::encodeUpdate(1, kPose);
    for (auto _ : state) {
        hub.receive(5, update, 0);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(outbox.sent));
}
BENCHMARK(HubRelaysAnUpdate);

}  // namespace
