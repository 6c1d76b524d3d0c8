#include "combat/shot_state.h"

#include <cmath>

#include "net/protocol/game_codes.h"

namespace {

float finiteOrZero(float v) {
    return std::isfinite(v) ? v : 0.0f;
}

}  // namespace

ShotState::ShotState(std::uint8_t typeCode, const ShotInput& input, const GroundHeight& ground)
    : NetEntity(typeCode) {
    const Shot shot = aimShot(input, ground);
    state_ = shot.state;
    netPose().store(net::toWirePose(shot.state));
    rayStart_ = shot.rayStart;
    effectPoint_ = shot.effectPoint;
    hasHit_ = !shot.usable;
}

ShotState::ShotState(std::uint8_t typeCode, const net::Pose& state) : NetEntity(typeCode) {
    remote_ = true;
    net::Pose finite;
    for (std::size_t i = 0; i < finite.size(); ++i) finite[i] = finiteOrZero(state[i]);
    state_ = net::fromWirePose(finite);
    netPose().store(finite);
    effectPoint_ = {finite[3], finite[4], finite[5]};
}

bool ShotState::isExpired() const {
    if (type == TYPE_BULLET_MG) return age_ >= kMachineGunLife;
    if (type == TYPE_BULLET_RAIL) return age_ >= kRailGunLife;
    return false;
}

bool ShotState::inHitWindow() const {
    return isBulletType(type) && age_ < kHitWindow;
}
