// What the network does to the World (the four handlers, on the receiving thread) and
// what the World tells the network (the announcements and the respawn, main thread).
#include <cstdint>

#include "combat/bullet.h"
#include "combat/model_store.h"
#include "combat/voka.h"
#include "net/match/combat_rules.h"
#include "net/match/player_names.h"
#include "net/match/world.h"
#include "net/player_status.h"
#include "net/protocol/client_messages.h"
#include "net/protocol/message_types.h"
#include "world/item.h"
#include "world/level_registry.h"

namespace {

// The one-byte values of the data messages (level, taken state, frags, weapon) are
// signed.
std::int32_t signedByte(std::uint8_t byte) {
    return static_cast<std::int8_t>(byte);
}

template <typename Object>
Object* find(std::unordered_map<std::int32_t, std::unique_ptr<Object>>& table, std::int32_t id) {
    const auto found = table.find(id);
    return found == table.end() ? nullptr : found->second.get();
}

}  // namespace

std::int32_t World::onNewObject(std::int32_t id, std::uint8_t typeCode, const net::Pose& state) {
    std::lock_guard<std::mutex> guard(worldLock_);
    if (isVokaType(typeCode)) {
        auto voka = std::make_unique<Voka>();
        if (ModelStore::copyVoka(*voka, typeCode) != 0) return -1;
        voka->id = id;
        voka->netPose().store(state);
        voka->adoptPose();
        voka->buildCollisionModel();
        // Kept only while the client counts it, so the tables never outgrow its cap.
        if (!netClient_->registerRemote(*voka)) return -1;
        players_.emplace(id, std::move(voka));
        return 0;
    }
    if (isBulletType(typeCode)) {
        auto shot = std::make_unique<Bullet>(typeCode, state);
        shot->id = id;
        if (!netClient_->registerRemote(*shot)) return -1;
        if (typeCode == TYPE_BULLET_RAIL) addRailBeams(beams_, id, shot->body.getPose());
        remoteProjectiles_.emplace(id, std::move(shot));
        return 0;
    }
    return -1;
}

std::int32_t World::onRemoveObject(std::int32_t id, std::uint8_t typeCode) {
    std::lock_guard<std::mutex> guard(worldLock_);
    bool removed = false;
    if (!isBulletType(typeCode) && players_.erase(id) != 0) {
        explosionsDue_.erase(id);
        removed = true;
    }
    if (!isVokaType(typeCode)) {
        const auto found = remoteProjectiles_.find(id);
        if (found != remoteProjectiles_.end()) {
            if (found->second->netType() == TYPE_BULLET_RAIL) removeRailBeams(beams_, id);
            remoteProjectiles_.erase(found);
            removed = true;
        }
    }
    // An object that is gone must be reported gone (0), or the client would keep a
    // pointer to it; only a type code that names no table at all counts as refused when
    // it removed nothing.
    return removed ? 0 : -1;
}

std::int32_t World::onCombatEvent(std::uint8_t type, std::int32_t id1, std::int32_t id2,
                                  std::int32_t id3, std::uint8_t /*type1*/,
                                  std::uint8_t /*type2*/) {
    if (type == net::MSG_KILL) {
        // id1 the victim, id3 its shooter.
        std::lock_guard<std::mutex> guard(worldLock_);
        if (players_.count(id1) != 0) explosionsDue_.insert(id1);
        if (ownVoka_ && isOwnFrag(id3, ownRef_.id)) {
            PlayerStatus::addFrag();
            sendFrags();
        }
        return 0;
    }
    if (type != net::MSG_HIT) return -1;
    // id1 the projectile, id2 the Voka it hit, id3 the shooter. Every hit report flashes.
    flashDue_ = true;
    std::lock_guard<std::mutex> guard(worldLock_);
    const Bullet* shot = find(remoteProjectiles_, id1);
    const bool onOwnVoka = ownVoka_ && ownRef_.id != -1 && id2 == ownRef_.id;
    // Read and written under the lock, as the pick-ups do, so no change is lost.
    const HitVerdict verdict =
        judgeHit(shot != nullptr ? shot->netType() : -1, onOwnVoka, !ownKilled_,
                 {PlayerStatus::getHealth(), PlayerStatus::getArmor()});
    if (verdict.outcome == HitOutcome::Unharmed) return 0;
    PlayerStatus::setHealth(verdict.after.health);
    PlayerStatus::setArmor(verdict.after.armor);
    if (verdict.outcome == HitOutcome::Killed) {
        netClient_->sendEvent(net::MSG_KILL, ownRef_, shot->ref(), {id3, 0});
        ownKilled_ = true;
    }
    return 0;
}

void World::onDataEvent(std::uint8_t type, std::int32_t id, const std::uint8_t* payload,
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
        if (Item* item = find(items_, id)) item->setTaken(value);
        return;
    }
    Voka* voka = find(players_, id);
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
            voka->resetDestroyed();
            explosionsDue_.erase(id);
            break;
        case net::MSG_WEAPON:
            voka->setCurrentWeapon(value);
            break;
        default:
            break;
    }
}

void World::sendFrags() {
    netClient_->send(net::encodeFrags(ownRef_.id, PlayerStatus::getFrags()));
}

void World::sendInfoRequest() {
    netClient_->send(net::encodeInfoRequest(ownRef_.id));
}

void World::announceOwnVoka() {
    if (!ownVoka_) return;
    netClient_->addObject(*ownVoka_);
    announced_ = true;
    announceState();
}

void World::announceState() {
    if (!ownVoka_) return;
    netClient_->send(net::encodeName(ownRef_.id, ownName_.c_str()));
    netClient_->send(net::encodeWeapon(ownRef_.id, PlayerStatus::getWeapon()));
    sendFrags();
}

void World::respawn() {
    dead_ = false;
    if (!ownVoka_) return;
    placeAtStart(*ownVoka_);
    ownVoka_->resetDestroyed();
    ownKilled_ = false;
    ownVoka_->publishPose();
    netClient_->send(net::encodeRespawn(ownRef_.id));
}
