// What the network does to the match (the four handlers, on the receiving thread) and
// what the match tells the network (the announcements and the respawn, main thread).
#include <cstdint>

#include "net/match/combat_rules.h"
#include "net/match/match_core.h"
#include "net/match/player_names.h"
#include "net/protocol/client_messages.h"
#include "net/protocol/message_types.h"
#include "world/level_registry.h"

namespace {

// The one-byte values of the data messages (level, taken state, frags, weapon) are
// signed.
std::int32_t signedByte(std::uint8_t byte) {
    return static_cast<std::int8_t>(byte);
}

template <typename Table>
auto* find(Table& table, std::int32_t id) {
    const auto found = table.find(id);
    return found == table.end() ? nullptr : found->second.get();
}

}  // namespace

std::int32_t MatchCore::onNewObject(std::int32_t id, std::uint8_t typeCode,
                                    const net::Pose& state) {
    if (!canShow(typeCode)) return -1;
    std::lock_guard<std::mutex> guard(worldLock_);
    if (isVokaType(typeCode)) {
        auto voka = std::make_unique<VokaState>(typeCode);
        voka->id = id;
        voka->instance = nextInstance();
        voka->netPose().store(state);
        voka->adoptPose();
        // Kept only while the client counts it, so the tables never outgrow its cap.
        if (!netClient_->registerRemote(*voka)) return -1;
        players_.emplace(id, std::move(voka));
        return 0;
    }
    if (isBulletType(typeCode)) {
        auto shot = std::make_unique<ShotState>(typeCode, state);
        shot->id = id;
        shot->instance = nextInstance();
        if (!netClient_->registerRemote(*shot)) return -1;
        remoteProjectiles_.emplace(id, std::move(shot));
        return 0;
    }
    return -1;
}

std::int32_t MatchCore::onRemoveObject(std::int32_t id, std::uint8_t typeCode) {
    std::lock_guard<std::mutex> guard(worldLock_);
    bool removed = false;
    if (!isBulletType(typeCode)) removed = players_.erase(id) != 0;
    if (!isVokaType(typeCode)) removed = remoteProjectiles_.erase(id) != 0 || removed;
    // An object that is gone must be reported gone (0), or the client would keep a
    // pointer to it; only a type code that names no table at all counts as refused when
    // it removed nothing.
    return removed ? 0 : -1;
}

std::int32_t MatchCore::onCombatEvent(std::uint8_t type, std::int32_t id1, std::int32_t id2,
                                      std::int32_t id3, std::uint8_t /*type1*/,
                                      std::uint8_t /*type2*/) {
    if (type == net::MSG_KILL) {
        // id1 the victim, id3 its shooter. Only a player that is known and not down yet
        // can die, so a kill reported twice, or one naming nobody, credits nothing.
        std::lock_guard<std::mutex> guard(worldLock_);
        VokaState* victim = find(players_, id1);
        if (victim == nullptr || victim->isDestroyed()) return 0;
        victim->setDestroyed(true);
        if (ownVoka_ && isOwnFrag(id3, ownRef_.id)) {
            player_.addFrag();
            sendFrags();
        }
        return 0;
    }
    if (type != net::MSG_HIT) return -1;
    // id1 the projectile, id2 the Voka it hit, id3 the shooter. Every hit report flashes.
    flashDue_ = true;
    std::lock_guard<std::mutex> guard(worldLock_);
    const ShotState* shot = find(remoteProjectiles_, id1);
    const bool onOwnVoka = ownVoka_ && ownRef_.id != -1 && id2 == ownRef_.id;
    // Read and written under the lock, as the pick-ups do, so no change is lost.
    const HitVerdict verdict = judgeHit(shot != nullptr ? shot->netType() : -1, onOwnVoka,
                                        !ownKilled_, {player_.getHealth(), player_.getArmor()});
    if (verdict.outcome == HitOutcome::Unharmed) return 0;
    player_.setHealth(verdict.after.health);
    player_.setArmor(verdict.after.armor);
    if (verdict.outcome == HitOutcome::Killed) {
        netClient_->sendEvent(net::MSG_KILL, ownRef_, shot->ref(), {id3, 0});
        ownKilled_ = true;
    }
    return 0;
}

void MatchCore::onDataEvent(std::uint8_t type, std::int32_t id, const std::uint8_t* payload,
                            std::size_t length) {
    if (payload == nullptr || length == 0) return;
    const std::int32_t value = signedByte(payload[0]);
    if (type == net::MSG_LEVEL) {
        LevelRegistry::instance().setCurrentLevel(value);
        return;
    }
    std::lock_guard<std::mutex> guard(worldLock_);
    if (type == net::MSG_INFO_REQUEST) {
        if (!ownVoka_) return;
        netClient_->send(net::encodeName(ownRef_.id, ownName_.c_str()));
        sendFrags();
        return;
    }
    if (type == net::MSG_ITEM_TAKEN) {
        const auto item = items_.find(id);
        if (item != items_.end()) item->second.taken = value;
        return;
    }
    VokaState* voka = find(players_, id);
    if (voka == nullptr) return;
    switch (type) {
        case net::MSG_NAME: {
            std::string name = voka->getPlayerName();
            if (adoptName(name, announcedName(payload, length), services_.console))
                voka->setPlayerName(name);
            break;
        }
        case net::MSG_FRAGS:
            voka->setFrags(value);
            break;
        case net::MSG_RESPAWN:
            voka->setDestroyed(false);
            break;
        case net::MSG_WEAPON:
            voka->setCurrentWeapon(value);
            break;
        default:
            break;
    }
}

void MatchCore::sendFrags() {
    netClient_->send(net::encodeFrags(ownRef_.id, player_.getFrags()));
}

void MatchCore::sendInfoRequest() {
    netClient_->send(net::encodeInfoRequest(ownRef_.id));
}

void MatchCore::announceOwnVoka() {
    if (!ownVoka_) return;
    netClient_->addObject(*ownVoka_);
    announced_ = true;
    announceState();
}

void MatchCore::announceState() {
    if (!ownVoka_) return;
    netClient_->send(net::encodeName(ownRef_.id, ownName_.c_str()));
    netClient_->send(net::encodeWeapon(ownRef_.id, player_.getWeapon()));
    sendFrags();
}

void MatchCore::respawn() {
    dead_ = false;
    if (!ownVoka_) return;
    placeAtStart(*ownVoka_);
    ownVoka_->setDestroyed(false);
    ownKilled_ = false;
    ownVoka_->publishPose();
    netClient_->send(net::encodeRespawn(ownRef_.id));
}
