#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "net/protocol/wire_message.h"

namespace server {

// Where the hub's messages go: the socket layer, or a test.
class Outbox {
  public:
    virtual ~Outbox() = default;
    virtual void sendTo(int clientNumber, const net::WireMessage& message) = 0;
};

struct HubOptions {
    int maxPlayers = 16;                 // client numbers 1..maxPlayers
    int level = 1;                       // sent to every client with MSG_LEVEL
    std::int64_t itemRespawnMs = 30000;  // a taken item comes back after this long
    // Live objects one client may announce. A client holds its Voka and the shots in
    // flight (about ten); one that announces more than this is cut.
    std::size_t maxObjectsPerClient = 256;
    // Taken items tracked for their return; more are relayed but not brought back.
    std::size_t maxTakenItems = 4096;
};

// The relay's knowledge of the match, without sockets: who is connected, every live
// object with its last pose, the last name, weapon and frags of each player, and the
// items waiting to come back. It relays each client message to the other clients,
// tells a late joiner what it missed, and withdraws a departed client's objects.
class RelayHub {
  public:
    static constexpr int kMaxClientNumber = 127;  // the number travels as a signed byte

    RelayHub(const HubOptions& options, Outbox& outbox);

    // Numbers a new client: the lowest free number, or -1 when every number is taken
    // (the caller refuses the client with MSG_SERVER_FULL).
    int join();
    // Sends the newly numbered client MSG_CLIENT_NUMBER, MSG_LEVEL and what it missed:
    // MSG_NEW with the last pose of every live object, the last name, weapon and frags of
    // every player, and the items that are taken.
    void welcome(int clientNumber);
    enum class Verdict { Keep, Goodbye, Cut };
    // A whole message from a client, already checked against the client length table.
    Verdict receive(int clientNumber, const net::WireMessage& message, std::int64_t nowMs);
    // The client is gone: the others get MSG_REMOVE for each of its objects.
    void leave(int clientNumber);
    // Brings back the items whose time has come.
    void tick(std::int64_t nowMs);
    // When tick() next has work, or empty.
    std::optional<std::int64_t> nextDeadline() const;
    int playerCount() const;
    std::size_t liveObjectCount(int clientNumber) const;

  private:
    struct Player {
        bool present = false;
        // Serial -> the relayed MSG_NEW, its pose kept up to date by MSG_UPDATE.
        std::map<std::int32_t, net::WireMessage> objects;
        std::optional<net::WireMessage> name, weapon, frags;
    };
    struct TakenItem {
        net::WireMessage taken;    // as relayed, for late joiners
        net::WireMessage restore;  // MSG_ITEM_TAKEN with state 0
        std::int64_t dueMs = 0;
    };

    void sendToOthers(int sender, const net::WireMessage& message);
    void sendToAll(const net::WireMessage& message);
    Player* player(int clientNumber);

    HubOptions options_;
    Outbox& outbox_;
    std::vector<Player> players_;                   // index = client number, 0 unused
    std::map<std::int32_t, TakenItem> takenItems_;  // by item id
};

}  // namespace server
