// The main thread's work of each frame: the arena walls, the own shots' hits and
// withdrawal, the pick-ups (collide), then the look, driving, firing and the objects'
// steps (update).
#include "net/match/arena.h"
#include "net/match/match_core.h"
#include "net/protocol/message_types.h"
#include "world/item_rules.h"

namespace {

// The driving step is the frame time scaled by this.
constexpr float kDrivingRate = 0.5f;

ShotPoint recordPoint(const PlayerRecord& player, void (PlayerRecord::*get)(float*) const) {
    float v[4];
    (player.*get)(v);
    return {v[0], v[1], v[2]};
}

}  // namespace

void MatchCore::collide() {
    if (!ownVoka_) return;
    {
        std::lock_guard<std::mutex> guard(worldLock_);
        collideArena();
        collideShots();
    }
    std::lock_guard<std::mutex> guard(worldLock_);
    collideItems();
}

void MatchCore::collideArena() {
    // A corner takes two corrections, each re-pointing the velocity along the mirrored
    // heading.
    while (const std::optional<Pose> corrected = arenaCorrection(ownVoka_->body.getPose())) {
        ownVoka_->body.setPose(*corrected);
        ownVoka_->redirect();
    }
}

void MatchCore::collideShots() {
    for (auto entry = ownProjectiles_.begin(); entry != ownProjectiles_.end();) {
        ShotState& shot = *entry->second;
        if (shot.isExpired()) {
            netClient_->removeObject(shot);
            entry = ownProjectiles_.erase(entry);
            continue;
        }
        if (shot.inHitWindow() && !shot.hasHit()) {
            // From the camera at the moment of firing to the impact point; a shot may
            // pass through several players, and each of them is told.
            const ShotPoint start = shot.getRayStart();
            const Pose state = shot.getState();
            const float from[4] = {start.x, start.y, start.z, 1.0f};
            const float to[4] = {state.rotX, state.rotY, state.rotZ, 1.0f};
            for (auto& [id, voka] : players_) {
                voka->placeHitBox();
                if (!voka->rayHit(from, to)) continue;
                netClient_->sendEvent(net::MSG_HIT, shot.ref(), voka->ref(), ownRef_);
                shot.markHit();
                play(Sample::Hit);
            }
        }
        ++entry;
    }
}

void MatchCore::collideItems() {
    ownVoka_->placeHitBox();
    // The values an item raises only grow, so an item refused earlier in the pass would
    // be refused again: one pass takes what scanning again after each take would.
    for (auto& [id, item] : items_) {
        if (item.taken != 0) continue;
        if (!ownVoka_->sphereHit(item.x, item.y, item.z)) continue;
        const PickUp pick =
            pickUp(item.type, {player_.getHealth(), player_.getArmor(), player_.getAmmo(WEAPON_MG),
                               player_.getAmmo(WEAPON_RAIL)});
        if (!pick.taken) continue;
        player_.setHealth(pick.values.health);
        player_.setArmor(pick.values.armor);
        player_.setAmmo(pick.values.ammoMg, WEAPON_MG);
        player_.setAmmo(pick.values.ammoRail, WEAPON_RAIL);
        play(pick.sample);
        netClient_->sendEvent(net::MSG_ITEM_TAKEN, ownRef_, {item.id, item.type}, ownRef_);
        item.taken = 1;
    }
}

void MatchCore::update(const DriverInput& input, float dt) {
    if (connected_ && !netClient_->isReceiving()) {
        // The server is gone: the match goes on alone. The receiving thread has ended,
        // so nothing waits for the world lock.
        connected_ = false;
        netClient_->disconnect();
        dropRemoteObjects();
    }
    if (ownVoka_) updateOwnVoka(input, dt);
    {
        std::lock_guard<std::mutex> guard(worldLock_);
        for (auto& [id, shot] : ownProjectiles_) shot->age(dt);
        for (auto& [id, shot] : remoteProjectiles_) shot->age(dt);
        for (auto& [id, voka] : players_) voka->adoptPose();
    }
    if (ownVoka_ && !dead_) player_.setSpeed(ownVoka_->speed());
}

void MatchCore::updateOwnVoka(const DriverInput& input, float dt) {
    VokaState& own = *ownVoka_;
    if (ownKilled_) own.setDestroyed(true);
    dead_ = own.isDestroyed();
    own.look(input.look.yaw, input.look.pitch);
    if (!dead_) {
        const Pose pose = own.body.getPose();
        if (pose.z <= groundHeight(pose.x, pose.y)) drive(own, input, dt);
        fireWeapon(input, dt);
    }
    own.setCurrentWeapon(player_.getWeapon());
    if (input.rightButton) own.lookStraightAhead();
    if (!own.isDestroyed()) own.step(dt, services_.ground);
    own.publishPose();
}

void MatchCore::drive(VokaState& own, const DriverInput& input, float dt) {
    const float s = dt * kDrivingRate;
    if (input.forward) {
        own.accelerate(s);
    } else {
        own.decelerate(s);
    }
    if (input.backward) own.decelerate(2.0f * s);
    if (input.left) own.steerLeft(s);
    if (input.right) own.steerRight(s);
    if (!input.left && !input.right) own.centreSteering(s);
}

void MatchCore::fireWeapon(const DriverInput& input, float dt) {
    const std::int32_t weapon = player_.getWeapon();
    const FireAction action =
        fireTimer_.step(weapon, input.fireButton, player_.getAmmo(weapon), dt);
    if (action == FireAction::Empty) play(Sample::NoAmmo);
    if (action != FireAction::Shot) return;
    const WeaponRule& rule = *weaponRule(weapon);
    play(rule.shotSample);
    fire(rule.projectileType);
    player_.setAmmo(-1, weapon);
}

void MatchCore::fire(std::uint8_t typeCode) {
    // What the camera wrote last frame: the muzzle, the unit view direction and the eye.
    const ShotInput aim{recordPoint(player_, &PlayerRecord::getMuzzle),
                        recordPoint(player_, &PlayerRecord::getAim),
                        recordPoint(player_, &PlayerRecord::getEye)};
    auto shot = std::make_unique<ShotState>(
        typeCode, aim, [this](float x, float y) { return groundHeight(x, y); });
    const std::int32_t id = netClient_->makeId();
    shot->id = id;
    shot->instance = nextInstance();
    std::lock_guard<std::mutex> guard(worldLock_);
    // Without a client number every shot is -1: the newest replaces the last, which is
    // withdrawn first so that the sending thread never reads a freed one.
    const auto previous = ownProjectiles_.find(id);
    if (previous != ownProjectiles_.end()) {
        netClient_->removeObject(*previous->second);
        ownProjectiles_.erase(previous);
    }
    netClient_->addObject(*shot);
    ownProjectiles_.emplace(id, std::move(shot));
}

void MatchCore::dropRemoteObjects() {
    std::lock_guard<std::mutex> guard(worldLock_);
    remoteProjectiles_.clear();
    players_.clear();
}
