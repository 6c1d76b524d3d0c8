// The main thread's work of each frame: the arena walls, the own shots' hits and
// withdrawal, the pick-ups (collide), then input, firing and every object's step
// (update).
#include "combat/bullet.h"
#include "combat/voka.h"
#include "net/match/arena.h"
#include "net/match/world.h"
#include "net/player_status.h"
#include "net/protocol/message_types.h"
#include "world/item.h"
#include "world/item_rules.h"

namespace {

// The driving step is the frame time scaled by this.
constexpr float kDrivingRate = 0.5f;

}  // namespace

void World::collide() {
    if (!ownVoka_) return;
    {
        std::lock_guard<std::mutex> guard(worldLock_);
        collideArena();
        collideShots();
    }
    std::lock_guard<std::mutex> guard(worldLock_);
    collideItems();
}

void World::collideArena() {
    // A corner takes two corrections, each re-pointing the velocity along the mirrored
    // heading.
    while (const std::optional<Pose> corrected = arenaCorrection(ownVoka_->body.getPose())) {
        ownVoka_->body.setPose(*corrected);
        ownVoka_->redirect();
    }
}

void World::collideShots() {
    for (auto entry = ownProjectiles_.begin(); entry != ownProjectiles_.end();) {
        Bullet& shot = *entry->second;
        if (shot.isExpired()) {
            withdrawShot(shot);
            entry = ownProjectiles_.erase(entry);
            continue;
        }
        if (shot.inHitWindow() && !shot.hasHit()) {
            // From the camera at the moment of firing to the impact point; a shot may
            // pass through several players, and each of them is told.
            float from[6];
            shot.getRay(from);
            from[3] = 1.0f;
            const Pose state = shot.body.getPose();
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

void World::withdrawShot(Bullet& shot) {
    netClient_->removeObject(shot);
    if (shot.netType() == TYPE_BULLET_RAIL) removeRailBeams(beams_, shot.netId());
}

void World::collideItems() {
    ownVoka_->placeHitBox();
    // The values an item raises only grow, so an item refused earlier in the pass would
    // be refused again: one pass takes what scanning again after each take would.
    for (auto& [id, item] : items_) {
        if (item->isTaken() != 0) continue;
        const Pose at = item->body.getPose();
        if (!ownVoka_->sphereHit(at.x, at.y, at.z)) continue;
        const PickUp pick =
            pickUp(item->getType(),
                   {PlayerStatus::getHealth(), PlayerStatus::getArmor(),
                    PlayerStatus::getAmmo(WEAPON_MG), PlayerStatus::getAmmo(WEAPON_RAIL)});
        if (!pick.taken) continue;
        PlayerStatus::setHealth(pick.values.health);
        PlayerStatus::setArmor(pick.values.armor);
        PlayerStatus::setAmmo(pick.values.ammoMg, WEAPON_MG);
        PlayerStatus::setAmmo(pick.values.ammoRail, WEAPON_RAIL);
        play(pick.sample);
        netClient_->sendEvent(net::MSG_ITEM_TAKEN, ownRef_, {item->id, item->type}, ownRef_);
        item->setTaken(1);
    }
}

void World::update(const WorldInput& input) {
    lastFrameTime_ = input.frameTime;
    if (connected_ && !netClient_->isReceiving()) {
        // The server is gone: the match goes on alone. The receiving thread has ended,
        // so nothing waits for the world lock.
        connected_ = false;
        netClient_->disconnect();
        dropRemoteObjects();
    }
    if (ownVoka_) updateOwnVoka(input);
    {
        std::lock_guard<std::mutex> guard(worldLock_);
        for (auto& [id, shot] : ownProjectiles_) shot->update();
        for (auto& [id, shot] : remoteProjectiles_) shot->update();
        for (auto& [id, item] : items_) item->update();
        // Started here rather than on the receiving thread: the explosion plays its
        // sound, and sound is the main thread's.
        for (const std::int32_t id : explosionsDue_) {
            const auto found = players_.find(id);
            if (found != players_.end() && !found->second->isDestroyed())
                found->second->animate(1, input.nowSeconds);
        }
        explosionsDue_.clear();
        for (auto& [id, voka] : players_) {
            voka->adoptPose();
            voka->updateRemote(input.nowSeconds);
        }
        beams_.updateAll();
        fence_.updateAll();
    }
    if (ownVoka_ && !dead_) PlayerStatus::setSpeed(ownVoka_->speed());
}

void World::updateOwnVoka(const WorldInput& input) {
    Voka& own = *ownVoka_;
    if (ownKilled_ && !own.isDestroyed()) own.animate(1, input.nowSeconds);
    if (own.isDestroyed()) dead_ = true;
    own.look(input.look.yaw, input.look.pitch);
    if (input.centreView) {
        const Pose look = own.getLookPose();
        const LookTurn back = centreViewTurn(look.rotZ, look.rotY);
        own.look(back.yaw, back.pitch);
    }
    own.setFireButton(input.fireButton);
    own.setRightButton(input.rightButton);
    if (!dead_) {
        const Pose pose = own.body.getPose();
        if (pose.z <= groundHeight(pose.x, pose.y)) drive(own, input);
        fireWeapon(input);
    }
    own.update(input.nowSeconds);
    own.publishPose();
}

void World::drive(Voka& own, const WorldInput& input) {
    const float s = input.frameTime * kDrivingRate;
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

void World::fireWeapon(const WorldInput& input) {
    const std::int32_t weapon = PlayerStatus::getWeapon();
    const FireAction action =
        fireTimer_.step(weapon, input.fireButton, PlayerStatus::getAmmo(weapon), input.frameTime);
    if (action == FireAction::Empty) play(Sample::NoAmmo);
    if (action != FireAction::Shot) return;
    const WeaponRule& rule = *weaponRule(weapon);
    play(rule.shotSample);
    fire(rule.projectileType);
    PlayerStatus::setAmmo(-1, weapon);
}

void World::fire(std::uint8_t typeCode) {
    auto shot = std::make_unique<Bullet>(typeCode, statusShotInput(),
                                         [this](float x, float y) { return groundHeight(x, y); });
    const std::int32_t id = netClient_->makeId();
    shot->id = id;
    std::lock_guard<std::mutex> guard(worldLock_);
    // Without a client number every shot is -1: the newest replaces the last, which is
    // withdrawn first so that the sending thread never reads a freed one.
    const auto previous = ownProjectiles_.find(id);
    if (previous != ownProjectiles_.end()) {
        withdrawShot(*previous->second);
        ownProjectiles_.erase(previous);
    }
    if (typeCode == TYPE_BULLET_RAIL) addRailBeams(beams_, id, shot->body.getPose());
    netClient_->addObject(*shot);
    ownProjectiles_.emplace(id, std::move(shot));
}

void World::dropRemoteObjects() {
    std::lock_guard<std::mutex> guard(worldLock_);
    for (const auto& [id, shot] : remoteProjectiles_)
        if (shot->netType() == TYPE_BULLET_RAIL) removeRailBeams(beams_, id);
    remoteProjectiles_.clear();
    players_.clear();
    explosionsDue_.clear();
}
