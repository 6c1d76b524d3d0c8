#include "combat/weapon.h"

#include <GL/gl.h>

#include <algorithm>

#include "net/protocol/game_codes.h"
#include "platform/frame_clock.h"

namespace {

// The axis the machine gun's barrels turn about: parallel to z through this point of
// the model.
constexpr float kBarrelAxis[3] = {-0.158f, 0.395f, -0.437f};

}  // namespace

const char* weaponModelBase(std::int32_t number) {
    switch (number) {
        case WEAPON_MG:
            return "./models/weapon_mg";
        case WEAPON_RAIL:
            return "./models/weapon_railgun";
        default:
            return nullptr;
    }
}

Weapon::Weapon(std::int32_t number) {
    type = static_cast<std::uint8_t>(number);
    const char* base = weaponModelBase(number);
    if (base == nullptr) return;
    loadLevelsOfDetail(base);
    prepareModels(true);
}

int Weapon::initGL() {
    return initMeshes();
}

int Weapon::update() {
    if (type != WEAPON_MG) return 0;
    const float dt = FrameClock::getFrameTime();
    if (fireHeld_) {
        spinAngle_ += dt * kSpinDegreesPerSecond;
        spinFactor_ = 1.0f;
        if (spinAngle_ >= 360.0f) spinAngle_ -= 360.0f;
    } else if (spinFactor_ > 0.0f) {
        // Held at 0: a last frame longer than what is left of the run-down would
        // otherwise turn the barrels back.
        spinFactor_ = std::max(0.0f, spinFactor_ - dt);
        spinAngle_ += dt * spinFactor_ * kSpinDegreesPerSecond;
    }
    return 0;
}

int Weapon::draw(Pose /*camera*/, const float* /*light*/) {
    if (!isWeaponNumber(type)) return 0;
    const Model3ds& model = *models[0];
    for (int i = 0; i < static_cast<int>(model.objects.size()); ++i) {
        if (type != WEAPON_MG || i != kBarrelObject) {
            drawObject(model, i);
            continue;
        }
        glPushMatrix();
        glTranslatef(kBarrelAxis[0], kBarrelAxis[1], kBarrelAxis[2]);
        glRotatef(spinAngle_, 0.0f, 0.0f, 1.0f);
        glTranslatef(-kBarrelAxis[0], -kBarrelAxis[1], -kBarrelAxis[2]);
        drawObject(model, i);
        glPopMatrix();
    }
    return 0;
}

void Weapon::castShadows(const float* light) {
    if (isWeaponNumber(type)) SceneObject::castShadows(*models[1], light);
}

std::unique_ptr<SceneObject> makeMachineGunPrototype() {
    return std::make_unique<Weapon>(WEAPON_MG);
}

std::unique_ptr<SceneObject> makeRailGunPrototype() {
    return std::make_unique<Weapon>(WEAPON_RAIL);
}
