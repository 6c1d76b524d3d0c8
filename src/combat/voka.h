#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "combat/collision_model.h"
#include "combat/driving.h"
#include "combat/explosion.h"
#include "combat/weapon.h"
#include "net/net_object.h"
#include "net/protocol/game_codes.h"
#include "net/shared_pose.h"
#include "render/matrix4.h"
#include "render/scene_object.h"

// The players' armed car, red (type 128) or green (129). The model store reads one
// prototype of each; every Voka of a match, the own and the other players', is a copy
// with an explosion and both weapons of its own (ModelStore::copyVoka).
//
// Mesh objects 3 and 4 of the model are the front and rear wheel sets, spinning about
// their axles; every other object is body. The selected weapon stands on the turret
// beside the windscreen and, on the own Voka, turns with the mouse look. A Voka hit by a
// shot swings (a shadow wobble of its rear wheels); a destroyed one is drawn as its
// explosion and a wreck of pieces, one a mesh object, flying apart.
//
// Driving, frame steps and drawing run on the main thread; the network reaches the Voka
// through NetObject and its shared pose.
class Voka : public SceneObject, public net::NetObject {
  public:
    static constexpr float kMass = 145.0f;
    // Radius of the sphere (world units) that the view frustum tests.
    static constexpr float kCullRadius = 10.0f;
    // Reach of an item pick-up, in model units (50 world units).
    static constexpr float kPickUpRadius = 2.0f;
    static constexpr std::size_t kMaxNameLength = 50;

    // An empty Voka, the target of a copy.
    Voka();
    // Loading thread: the prototype of type 128 ("./models/voka_red") or 129
    // ("./models/voka"), three levels of detail each, prepared for drawing and shadows.
    // Any other type shows "wrong voka type", reads nothing and draws nothing.
    Voka(std::int32_t typeCode, const Pose& start);

    // See voka_draw.cpp. `light` is the shadow-casting light (x, y, z, 1) in world
    // coordinates; without one (nullptr) no shadows are cast.
    int draw(Pose camera, const float* light) override;
    // The own Voka's frame: weapon, look reset, wheels, driving, hit swing; or, destroyed,
    // the wreck and the explosion. `nowSeconds` is the game clock the explosion runs by.
    int update() override;
    int update(float nowSeconds);
    // Main thread: textures, buffers and display lists of the three models.
    int initGL() override;
    // Another player's Voka, whose pose comes from the network: the wreck and the
    // explosion once destroyed, and the wheels.
    void updateRemote();
    void updateRemote(float nowSeconds);

    // 0 starts the hit swing (unless one runs), 1 explodes the Voka. Any other kind
    // shows "unknown animation typ in voka" and returns -1.
    int animate(std::int32_t kind);
    int animate(std::int32_t kind, float nowSeconds);

    // Driving (combat/driving.h); `s` is the caller's step.
    void accelerate(float s) { driving::accelerate(body, s); }
    void decelerate(float s) { driving::decelerate(body, s); }
    void steerLeft(float s) { driving::steerLeft(body, s); }
    void steerRight(float s) { driving::steerRight(body, s); }
    void centreSteering(float s) { driving::centreSteering(body, s); }
    void look(float yaw, float pitch) { driving::look(lookPose_, yaw, pitch); }
    void redirect() { driving::redirect(body); }
    std::int32_t speed() const { return driving::speed(body); }
    void getCameraPose(Pose& pose, Pose& look) {
        driving::getCameraPose(body, lookPose_, destroyed_, pose, look);
    }
    // Where the ground is; the terrain's by default.
    void setGround(driving::GroundHeight ground) { ground_ = std::move(ground); }

    // Hit tests against the box of a Voka, made where it stood at its last draw (at the
    // origin, unscaled, before the first). Without buildCollisionModel nothing hits.
    void buildCollisionModel() { collisionModel_ = vokaCollisionBox(); }
    // Moves the box to where the Voka stands now, as its next draw would, so that hit
    // tests made before that draw see the Voka's present place. A wreck keeps the box
    // where it was destroyed, as its draws do.
    void placeHitBox();
    // Whether the segment between the world points p1 and p2 (x, y, z, 1) crosses it.
    bool rayHit(const float* p1, const float* p2) const;
    // Whether the world point is within 50 units of it.
    bool sphereHit(float x, float y, float z) const;

    // The explosion and both weapons of a copy, copied from the model store.
    void createExplosion();
    void createWeapons();

    // The mouse buttons as the input reads them this frame: fire spins the machine gun,
    // the right button holds the look straight ahead.
    void setFireButton(bool held) { fireHeld_ = held; }
    void setRightButton(bool held) { rightHeld_ = held; }

    void setPlayerName(std::string_view name) { playerName_ = name.substr(0, kMaxNameLength); }
    std::string getPlayerName() const { return playerName_; }
    void setFrags(std::int32_t frags) { frags_ = frags; }
    std::int32_t getFrags() const { return frags_; }
    void addFrag() { ++frags_; }
    bool isDestroyed() const { return destroyed_; }
    bool isExplosionDone() const { return explosionDone_; }
    // Respawn: back to driving.
    void resetDestroyed() { destroyed_ = explosionDone_ = false; }
    void setCurrentWeapon(std::int32_t number) { currentWeapon_ = number; }
    std::int32_t getCurrentWeapon() const { return currentWeapon_; }
    void setLocalDriven(bool local) { localDriven_ = local; }

    // The camera record: smoothed terrain pitch (rotX), look pitch (rotY), look yaw
    // (rotZ), degrees.
    const Pose& getLookPose() const { return lookPose_; }
    std::int32_t getSwingState() const { return swingState_; }
    std::int32_t getSwingCount() const { return swingCount_; }
    std::int32_t getWheelAngle() const { return wheelAngle_; }
    const std::vector<Body>& getDebris() const { return debris_; }
    const Explosion& getExplosion() const { return explosion_; }
    // The inverse of the drawing transform of the last draw.
    const Matrix4& getWorldToModel() const { return worldToModel_; }

    // The network's view: the scene identifier and type code, and the shared pose.
    std::int32_t netId() const override { return id; }
    std::uint8_t netType() const override { return type; }
    net::SharedPose& netPose() override { return netPose_; }
    // The own Voka: makes the body's pose the one the sending thread reads.
    void publishPose();
    // Another player's Voka: takes the pose the receiving thread stored. A pose that is
    // not finite is ignored (false).
    bool adoptPose();

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

    Pose lookPose_;
    std::int32_t swingState_ = SwingState::Idle;
    std::int32_t swingCount_ = 0;
    std::int32_t wheelAngle_ = 0;
    std::vector<Body> debris_;
    bool destroyed_ = false;
    bool explosionDone_ = false;
    bool localDriven_ = false;
    Explosion explosion_{false};
    Matrix4 worldToModel_;
    std::optional<CollisionModel> collisionModel_;
    std::string playerName_;
    Weapon railGun_;
    Weapon machineGun_;
    std::int32_t currentWeapon_ = WEAPON_MG;
    std::int32_t frags_ = 0;

    driving::GroundHeight ground_;
    bool fireHeld_ = false;
    bool rightHeld_ = false;
    net::SharedPose netPose_;
};

// Build the two Voka prototypes of the model store.
std::unique_ptr<SceneObject> makeRedVokaPrototype();
std::unique_ptr<SceneObject> makeGreenVokaPrototype();
