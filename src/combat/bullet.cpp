#include "combat/bullet.h"

#include "combat/model_store.h"
#include "net/protocol/game_codes.h"

Bullet::Bullet(const ShotState& shot) {
    type = shot.type;
    id = shot.id;
    body.setPose(shot.getState());
    ModelStore::copyExplosion(effect_);
    effect_.setSize(shot.isRemote() ? kRemoteEffectSize : kOwnEffectSize);
    const ShotPoint at = shot.getEffectPoint();
    effect_.start(Pose{at.x, at.y, at.z});
    effect_.setGround(true);
}

int Bullet::update() {
    effect_.update();
    return 0;
}

int Bullet::draw(Pose camera, const float* light) {
    if (type == TYPE_BULLET_MG) effect_.draw(camera, light);
    return 0;
}
