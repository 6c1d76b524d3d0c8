// The relay server's side of its clients: players join and leave, their bytes are cut
// into messages and handed to the hub, and time passes. Whatever the clients send, the
// hub sends only messages that a client's decoder reads, only to players who are there,
// and keeps within its limits of players and objects.
//
// Input: a script of steps, each one byte (its low three bits pick one of eight client
// slots, the next two what happens) and, for bytes sent or time passing, the byte after
// it (a count of bytes, or tenths of a second). The stream bytes follow a send step.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "fuzz_support.h"
#include "net/protocol/server_messages.h"
#include "net/protocol/stream_reassembler.h"
#include "server/relay_hub.h"

namespace {

constexpr int kSlots = 8;

// Where the hub's messages go: checked, then dropped.
class CheckedOutbox : public server::Outbox {
  public:
    std::array<bool, server::RelayHub::kMaxClientNumber + 1> present{};

    void sendTo(int clientNumber, const net::WireMessage& message) override {
        fuzz::require(clientNumber > 0 && clientNumber < static_cast<int>(present.size()) &&
                          present[static_cast<std::size_t>(clientNumber)],
                      "messages go to players who are there");
        fuzz::require(net::decodeServerMessage(message.bytes.data(), message.length).has_value(),
                      "every message sent decodes");
    }
};

// One client connection: its number (or -1) and the partial message its bytes left.
struct Slot {
    int number = -1;
    std::unique_ptr<net::StreamReassembler> input;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    server::HubOptions options;
    options.maxPlayers = 4;  // small limits, so that scripts reach them
    options.maxObjectsPerClient = 8;
    options.maxTakenItems = 8;
    options.itemRespawnMs = 1000;
    CheckedOutbox outbox;
    server::RelayHub hub(options, outbox);
    std::array<Slot, kSlots> slots;
    std::int64_t nowMs = 0;

    const auto leave = [&](Slot& slot) {
        if (slot.number < 0) return;
        outbox.present[static_cast<std::size_t>(slot.number)] = false;
        hub.leave(slot.number);
        slot = Slot{};
    };
    std::size_t at = 0;
    const auto next = [&]() -> std::uint8_t { return at < size ? data[at++] : 0; };
    while (at < size) {
        const std::uint8_t step = next();
        Slot& slot = slots[step % kSlots];
        switch ((step >> 3) & 3) {
            case 0:  // connects
                if (slot.number >= 0) break;
                slot.number = hub.join();
                if (slot.number < 0) break;  // refused: the server is full
                outbox.present[static_cast<std::size_t>(slot.number)] = true;
                slot.input = std::make_unique<net::StreamReassembler>(&net::clientMessageLength);
                hub.welcome(slot.number);
                break;
            case 1:  // hangs up
                leave(slot);
                break;
            case 2: {  // sends bytes
                const std::size_t count = std::min<std::size_t>(next(), size - at);
                if (slot.number >= 0) {
                    bool stays = true;
                    const bool inStep =
                        slot.input->feed(data + at, count, [&](const net::WireMessage& message) {
                            stays = hub.receive(slot.number, message, nowMs) ==
                                    server::RelayHub::Verdict::Keep;
                            return stays;
                        });
                    if (!stays || !inStep) leave(slot);
                }
                at += count;
                break;
            }
            default:  // time passes
                nowMs += 100 * next();
                hub.tick(nowMs);
                break;
        }
        fuzz::require(hub.playerCount() <= options.maxPlayers, "no more players than allowed");
        if (slot.number >= 0)
            fuzz::require(hub.liveObjectCount(slot.number) <= options.maxObjectsPerClient,
                          "no more objects than allowed");
    }
    return 0;
}
