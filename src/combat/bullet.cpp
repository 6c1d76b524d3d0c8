#include "combat/bullet.h"

#include <cmath>

#include "combat/model_store.h"
#include "net/player_status.h"
#include "net/protocol/game_codes.h"
#include "platform/frame_clock.h"
#include "world/terrain.h"

namespace {

ShotPoint statusPoint(void (*get)(float*)) {
    float v[4];
    get(v);
    return {v[0], v[1], v[2]};
}

float finiteOrZero(float v) {
    return std::isfinite(v) ? v : 0.0f;
}

}  // namespace

ShotInput statusShotInput() {
    return {statusPoint(PlayerStatus::getMuzzle), statusPoint(PlayerStatus::getAim),
            statusPoint(PlayerStatus::getEye)};
}

Bullet::Bullet(std::uint8_t typeCode)
    : Bullet(typeCode, statusShotInput(),
             [](float x, float y) { return Terrain::instance().terrainHeight(x, y); }) {
    ModelStore::loadBulletTextures(textures);
}

Bullet::Bullet(std::uint8_t typeCode, const ShotInput& input, const GroundHeight& ground) {
    type = typeCode;
    const Shot shot = aimShot(input, ground);
    body.setPose(shot.state);
    sharedPose_.store(net::toWirePose(shot.state));
    rayStart_[0] = shot.rayStart.x;
    rayStart_[1] = shot.rayStart.y;
    rayStart_[2] = shot.rayStart.z;
    hasHit_ = !shot.usable;
    startEffect(kOwnEffectSize, shot.effectPoint);
}

Bullet::Bullet(std::uint8_t typeCode, const net::Pose& state) {
    type = typeCode;
    remote_ = true;
    net::Pose finite;
    for (std::size_t i = 0; i < finite.size(); ++i) finite[i] = finiteOrZero(state[i]);
    body.setPose(net::fromWirePose(finite));
    sharedPose_.store(finite);
    startEffect(kRemoteEffectSize, {finite[3], finite[4], finite[5]});
}

void Bullet::startEffect(float size, ShotPoint at) {
    ModelStore::copyExplosion(effect_);
    effect_.setSize(size);
    effect_.start(Pose{at.x, at.y, at.z});
    effect_.setGround(true);
}

int Bullet::update() {
    age_ += FrameClock::getFrameTime();
    effect_.update();
    return 0;
}

int Bullet::draw(Pose camera, const float* light) {
    if (type == TYPE_BULLET_MG) effect_.draw(camera, light);
    return 0;
}

bool Bullet::isExpired() const {
    if (type == TYPE_BULLET_MG) return age_ >= kMachineGunLife;
    if (type == TYPE_BULLET_RAIL) return age_ >= kRailGunLife;
    return false;
}

bool Bullet::inHitWindow() const {
    return isBulletType(type) && age_ < kHitWindow;
}

void Bullet::getRay(float record[6]) const {
    for (int i = 0; i < 6; ++i) record[i] = rayStart_[i];
}
