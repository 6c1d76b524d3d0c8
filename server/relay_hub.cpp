#include "server/relay_hub.h"

#include <algorithm>

#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"

namespace server {

using net::WireMessage;

RelayHub::RelayHub(const HubOptions& options, Outbox& outbox) : options_(options), outbox_(outbox) {
    options_.maxPlayers = std::clamp(options_.maxPlayers, 1, kMaxClientNumber);
    players_.resize(static_cast<std::size_t>(options_.maxPlayers) + 1);
}

RelayHub::Player* RelayHub::player(int clientNumber) {
    if (clientNumber < 1 || clientNumber > options_.maxPlayers) return nullptr;
    Player& found = players_[static_cast<std::size_t>(clientNumber)];
    return found.present ? &found : nullptr;
}

int RelayHub::join() {
    for (int number = 1; number <= options_.maxPlayers; ++number) {
        Player& slot = players_[static_cast<std::size_t>(number)];
        if (slot.present) continue;
        slot = Player{};
        slot.present = true;
        return number;
    }
    return -1;
}

void RelayHub::welcome(int joiner) {
    if (player(joiner) == nullptr) return;
    outbox_.sendTo(joiner, net::encodeClientNumber(joiner));
    outbox_.sendTo(joiner, net::encodeLevel(options_.level));
    for (int number = 1; number <= options_.maxPlayers; ++number) {
        const Player& other = players_[static_cast<std::size_t>(number)];
        if (number == joiner || !other.present) continue;
        for (const auto& entry : other.objects) outbox_.sendTo(joiner, entry.second);
        for (const auto* last : {&other.name, &other.weapon, &other.frags}) {
            if (*last) outbox_.sendTo(joiner, **last);
        }
    }
    for (const auto& entry : takenItems_) outbox_.sendTo(joiner, entry.second.taken);
}

RelayHub::Verdict RelayHub::receive(int clientNumber, const WireMessage& message,
                                    std::int64_t nowMs) {
    Player* sender = player(clientNumber);
    const auto decoded = net::decodeClientMessage(message);
    if (sender == nullptr || !decoded) return Verdict::Cut;
    if (decoded->type == net::MSG_GOODBYE) return Verdict::Goodbye;

    const WireMessage relayed = net::relay(static_cast<std::uint8_t>(clientNumber), message);
    switch (decoded->type) {
        case net::MSG_UPDATE: {
            const auto known = sender->objects.find(decoded->serial);
            if (known != sender->objects.end()) {
                std::copy(relayed.bytes.begin() + 4, relayed.bytes.begin() + relayed.length,
                          known->second.bytes.begin() + 4);
            }
            break;
        }
        case net::MSG_REMOVE:
            sender->objects.erase(decoded->serial);
            break;
        case net::MSG_NAME:
            sender->name = relayed;
            break;
        case net::MSG_WEAPON:
            sender->weapon = relayed;
            break;
        case net::MSG_FRAGS:
            sender->frags = relayed;
            break;
        case net::MSG_ITEM_TAKEN:
            if (takenItems_.count(decoded->itemId) == 0 &&
                takenItems_.size() < options_.maxTakenItems) {
                const std::int32_t senderId = (clientNumber << 16) | decoded->serial;
                takenItems_[decoded->itemId] = {relayed,
                                                net::encodeItemState(senderId, decoded->itemId, 0),
                                                nowMs + options_.itemRespawnMs};
            }
            break;
        default:
            if (net::isNewObjectType(decoded->type)) {
                if (sender->objects.count(decoded->serial) == 0 &&
                    sender->objects.size() >= options_.maxObjectsPerClient) {
                    return Verdict::Cut;
                }
                sender->objects[decoded->serial] = relayed;
            }
            break;
    }
    sendToOthers(clientNumber, relayed);
    return Verdict::Keep;
}

void RelayHub::leave(int clientNumber) {
    Player* gone = player(clientNumber);
    if (gone == nullptr) return;
    const auto objects = std::move(gone->objects);
    *gone = Player{};
    for (const auto& [serial, announced] : objects) {
        const WireMessage remove = net::encodeRemove(serial, announced.type());
        sendToOthers(clientNumber, net::relay(static_cast<std::uint8_t>(clientNumber), remove));
    }
}

void RelayHub::tick(std::int64_t nowMs) {
    for (auto item = takenItems_.begin(); item != takenItems_.end();) {
        if (item->second.dueMs <= nowMs) {
            sendToAll(item->second.restore);
            item = takenItems_.erase(item);
        } else {
            ++item;
        }
    }
}

std::optional<std::int64_t> RelayHub::nextDeadline() const {
    std::optional<std::int64_t> next;
    for (const auto& entry : takenItems_) {
        if (!next || entry.second.dueMs < *next) next = entry.second.dueMs;
    }
    return next;
}

int RelayHub::playerCount() const {
    return static_cast<int>(
        std::count_if(players_.begin(), players_.end(), [](const Player& p) { return p.present; }));
}

std::size_t RelayHub::liveObjectCount(int clientNumber) const {
    if (clientNumber < 1 || clientNumber > options_.maxPlayers) return 0;
    return players_[static_cast<std::size_t>(clientNumber)].objects.size();
}

void RelayHub::sendToOthers(int sender, const WireMessage& message) {
    for (int number = 1; number <= options_.maxPlayers; ++number) {
        if (number != sender && players_[static_cast<std::size_t>(number)].present) {
            outbox_.sendTo(number, message);
        }
    }
}

void RelayHub::sendToAll(const WireMessage& message) {
    sendToOthers(0, message);
}

}  // namespace server
