#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "combat/driving.h"
#include "combat/explosion.h"
#include "combat/weapon.h"
#include "net/protocol/game_codes.h"
#include "render/matrix4.h"
#include "render/scene_object.h"

// The players' armed car, red (type 128) or green (129), as the game draws it. The model
// store reads one prototype of each; every Voka the match shows, the own and the other
// players', is a copy with an explosion and both weapons of its own
// (ModelStore::copyVoka), standing where the match's rules put it (VokaState).
//
// Mesh objects 3 and 4 of the model are the front and rear wheel sets, spinning about
// their axles; every other object is body. The selected weapon stands on the turret
// beside the windscreen and, on the own Voka, turns with the mouse look. A Voka hit by a
// shot swings (a shadow wobble of its rear wheels); a destroyed one is drawn as its
// explosion and a wreck of pieces, one a mesh object, flying apart.
//
// Everything here runs on the main thread.
class Voka : public SceneObject {
  public:
    // Radius of the sphere (world units) that the view frustum tests.
    static constexpr float kCullRadius = 10.0f;

    // An empty Voka, the target of a copy.
    Voka();
    // Loading thread: the prototype of type 128 ("./models/voka_red") or 129
    // ("./models/voka"), three levels of detail each, prepared for drawing and shadows.
    // Any other type shows "wrong voka type", reads nothing and draws nothing.
    Voka(std::int32_t typeCode, const Pose& start);

    // See voka_draw.cpp. `light` is the shadow-casting light (x, y, z, 1) in world
    // coordinates; without one (nullptr) no shadows are cast.
    int draw(Pose camera, const float* light) override;
    // The own Voka's frame: the weapon, and the wheels and the hit swing, or, destroyed,
    // the wreck and the explosion. `nowSeconds` is the game clock the explosion runs by.
    int update() override;
    int update(float nowSeconds);
    // Main thread: textures, buffers and display lists of the three models.
    int initGL() override;
    // Another player's Voka: the wreck and the explosion once destroyed, and the wheels.
    void updateRemote();
    void updateRemote(float nowSeconds);

    // 0 starts the hit swing (unless one runs), 1 explodes the Voka. Any other kind
    // shows "unknown animation typ in voka" and returns -1.
    int animate(std::int32_t kind);
    int animate(std::int32_t kind, float nowSeconds);

    // The speed the wheels turn at (combat/driving.h).
    std::int32_t speed() const { return driving::speed(body); }

    // The explosion and both weapons of a copy, copied from the model store.
    void createExplosion();
    void createWeapons();

    // The fire button as the input reads it this frame: it spins the machine gun.
    void setFireButton(bool held) { fireHeld_ = held; }

    bool isDestroyed() const { return destroyed_; }
    bool isExplosionDone() const { return explosionDone_; }
    // Respawn: back to driving.
    void resetDestroyed() { destroyed_ = explosionDone_ = false; }
    void setCurrentWeapon(std::int32_t number) { currentWeapon_ = number; }
    std::int32_t getCurrentWeapon() const { return currentWeapon_; }
    void setLocalDriven(bool local) { localDriven_ = local; }

    std::int32_t getSwingState() const { return swingState_; }
    std::int32_t getSwingCount() const { return swingCount_; }
    std::int32_t getWheelAngle() const { return wheelAngle_; }
    const std::vector<Body>& getDebris() const { return debris_; }
    const Explosion& getExplosion() const { return explosion_; }
    // The inverse of the drawing transform of the last draw.
    const Matrix4& getWorldToModel() const { return worldToModel_; }

  private:
    struct SwingState {
        static constexpr std::int32_t Idle = 0;
        static constexpr std::int32_t Rising = 1;
        static constexpr std::int32_t Falling = 2;
    };

    void spinWheels();
    void swing();
    // The wreck's frame: pieces flying, explosion running.
    void updateWreck(float nowSeconds);
    Weapon* selectedWeapon();

    void drawIntact(Model3ds& model, const Pose& camera, const float* light, bool visible);
    void drawWheels(Model3ds& model, int object, const float* bodyLight, bool visible);
    void drawWeapon(const Pose& camera, const float* light, const float* shadowLight,
                    const Matrix4* turret, bool visible);
    void drawWreck(Model3ds& model, const Pose& camera, const float* light, bool visible);

    std::int32_t swingState_ = SwingState::Idle;
    std::int32_t swingCount_ = 0;
    std::int32_t wheelAngle_ = 0;
    std::vector<Body> debris_;
    bool destroyed_ = false;
    bool explosionDone_ = false;
    bool localDriven_ = false;
    Explosion explosion_{false};
    Matrix4 worldToModel_;
    Weapon railGun_;
    Weapon machineGun_;
    std::int32_t currentWeapon_ = WEAPON_MG;
    bool fireHeld_ = false;
};

// Build the two Voka prototypes of the model store.
std::unique_ptr<SceneObject> makeRedVokaPrototype();
std::unique_ptr<SceneObject> makeGreenVokaPrototype();
