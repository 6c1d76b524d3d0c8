#pragma once

#include <cstdint>
#include <memory>

#include "render/scene_object.h"

// The weapon on a Voka's turret: the machine gun (weapon 2, "weapon_mg") or the rail gun
// (weapon 7, "weapon_railgun"), its type code being its number. The model store builds
// one prototype of each; every Voka carries copies of both and draws the selected one
// inside its own turret transform, in the weapon's model space (y up).
//
// The machine gun's barrel cluster (object 2 of the model) spins while the fire button is
// held, at 450 degrees a second, and runs down within a second after it is let go.
class Weapon : public SceneObject {
  public:
    static constexpr float kSpinDegreesPerSecond = 450.0f;
    static constexpr int kBarrelObject = 2;

    // An empty weapon, the target of a copy from the model store.
    Weapon() = default;
    // Loading thread: reads the three levels of detail of weapon 2 or 7 and prepares them
    // (shadow neighbours included). Any other number loads nothing and draws nothing.
    explicit Weapon(std::int32_t number);

    // Draws every object of the full-detail model; the machine gun's barrels turned by
    // the spin angle about their axis. The camera and light are not used.
    int draw(Pose camera, const float* light) override;
    // Advances the barrel spin by the frame time with the fire button as last set. The
    // rail gun does nothing. Returns 0.
    int update() override;
    // Main thread: material textures, buffers and display lists.
    int initGL() override;

    // Whether the fire button is held, as the caller reads the input this frame.
    void setFireButton(bool held) { fireHeld_ = held; }
    // Draws the shadow volumes of the middle-detail model from `light`, the light
    // position (x, y, z, 1) in the weapon's model space.
    void castShadows(const float* light);

    std::int32_t number() const { return type; }
    float getSpinAngle() const { return spinAngle_; }
    float getSpinFactor() const { return spinFactor_; }

  private:
    float spinAngle_ = 0.0f;   // degrees
    float spinFactor_ = 0.0f;  // 1 while firing, running down to 0 in a second after
    bool fireHeld_ = false;
};

// The model base path of a weapon number ("./models/weapon_mg" or
// "./models/weapon_railgun"), or nullptr for any other number.
const char* weaponModelBase(std::int32_t number);

// Build the weapon prototypes of the model store.
std::unique_ptr<SceneObject> makeMachineGunPrototype();
std::unique_ptr<SceneObject> makeRailGunPrototype();
