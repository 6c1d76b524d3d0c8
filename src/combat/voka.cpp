#include "combat/voka.h"

#include <cmath>

#include "combat/model_store.h"
#include "combat/voka_geometry.h"
#include "combat/voka_state.h"
#include "fx/sound_manager.h"
#include "platform/clock.h"
#include "platform/frame_clock.h"
#include "platform/message_box.h"

namespace {

// The hit swing rises to this many steps (one an update) and falls back.
constexpr std::int32_t kSwingTop = 80;
// Downward force on each wreck piece of mass 1.
constexpr float kDebrisWeight = 25.0f;

const char* modelBase(std::int32_t typeCode) {
    switch (typeCode) {
        case TYPE_VOKA_RED:
            return "./models/voka_red";
        case TYPE_VOKA_GREEN:
            return "./models/voka";
        default:
            return nullptr;
    }
}

}  // namespace

Voka::Voka() {
    body.setMass(VokaState::kMass);
}

Voka::Voka(std::int32_t typeCode, const Pose& start) : Voka() {
    type = static_cast<std::uint8_t>(typeCode);
    body.setPose(start);
    const char* base = modelBase(typeCode);
    if (base == nullptr) {
        showError("wrong voka type");
        return;
    }
    loadLevelsOfDetail(base);
    prepareModels(true);
}

int Voka::initGL() {
    return initMeshes();
}

void Voka::createExplosion() {
    ModelStore::copyExplosion(explosion_);
}

void Voka::createWeapons() {
    ModelStore::copyWeaponMg(machineGun_);
    ModelStore::copyWeaponRail(railGun_);
}

Weapon* Voka::selectedWeapon() {
    switch (currentWeapon_) {
        case WEAPON_MG:
            return &machineGun_;
        case WEAPON_RAIL:
            return &railGun_;
        default:
            return nullptr;
    }
}

int Voka::update() {
    return update(platform::clockSeconds());
}

int Voka::update(float nowSeconds) {
    if (Weapon* weapon = selectedWeapon()) {
        weapon->body.setPose(body.getPose());
        weapon->setFireButton(fireHeld_);
        weapon->update();
    }
    if (destroyed_) {
        updateWreck(nowSeconds);
        return 0;
    }
    spinWheels();
    swing();
    return 0;
}

void Voka::updateRemote() {
    updateRemote(platform::clockSeconds());
}

void Voka::updateRemote(float nowSeconds) {
    if (destroyed_) updateWreck(nowSeconds);
    spinWheels();
}

void Voka::spinWheels() {
    // 64 bits: a speed near the 32-bit limit cannot overflow the difference.
    wheelAngle_ = static_cast<std::int32_t>((std::int64_t{wheelAngle_} - speed()) % 360);
}

void Voka::swing() {
    if (swingState_ == SwingState::Rising && ++swingCount_ >= kSwingTop) {
        swingState_ = SwingState::Falling;
    } else if (swingState_ == SwingState::Falling && --swingCount_ <= 0) {
        swingState_ = SwingState::Idle;
    }
}

void Voka::updateWreck(float nowSeconds) {
    for (Body& piece : debris_) piece.integrate(FrameClock::getFrameTime());
    explosion_.update(nowSeconds);
    if (explosion_.isFinished()) explosionDone_ = true;
}

int Voka::animate(std::int32_t kind) {
    return animate(kind, platform::clockSeconds());
}

int Voka::animate(std::int32_t kind, float nowSeconds) {
    switch (kind) {
        case 0:
            if (swingState_ == SwingState::Idle) swingState_ = SwingState::Rising;
            return 0;
        case 1: {
            const Pose pose = body.getPose();
            const int pieces = static_cast<int>(modelAt(pose.x, pose.y).objects.size());
            debris_.assign(static_cast<std::size_t>(pieces), Body{});
            for (int i = 0; i < pieces; ++i) {
                Body& piece = debris_[static_cast<std::size_t>(i)];
                piece.setPose(pose);
                piece.setMass(1.0f);
                piece.addForce(0.0f, 0.0f, -kDebrisWeight);
                float velocity[3];
                voka_geometry::debrisVelocity(i, pieces, velocity);
                piece.setVelocity(velocity[0], velocity[1], velocity[2]);
            }
            explosion_.start(pose, nowSeconds);
            SoundManager::play(Sample::Explode, false, SoundManager::kMaxVolume, false);
            destroyed_ = true;
            return 0;
        }
        default:
            showError("unknown animation typ in voka");
            return -1;
    }
}

std::unique_ptr<SceneObject> makeRedVokaPrototype() {
    return std::make_unique<Voka>(TYPE_VOKA_RED, Pose{});
}

std::unique_ptr<SceneObject> makeGreenVokaPrototype() {
    return std::make_unique<Voka>(TYPE_VOKA_GREEN, Pose{});
}
