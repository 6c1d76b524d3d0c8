#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "combat/collision_model.h"
#include "combat/driving.h"
#include "net/net_object.h"
#include "net/protocol/game_codes.h"
#include "render/body.h"
#include "render/matrix4.h"

// A Voka as the match's rules know it, the own or another player's, without a model:
// where it stands and how it moves, its camera record, the hit box that shots are tested
// against, what its player announced (name, frags, weapon) and whether it is destroyed.
// The game draws a Voka (combat/voka.h) wherever one of these stands; a computer player
// needs nothing more.
//
// The thread that runs the match's frames drives and tests it; the network reaches it
// through NetObject and its shared pose.
class VokaState : public net::NetEntity {
  public:
    static constexpr float kMass = 145.0f;
    // Reach of an item pick-up, in model units (50 world units).
    static constexpr float kPickUpRadius = 2.0f;
    static constexpr std::size_t kMaxNameLength = 50;

    // A Voka of type 128 (red) or 129 (green) at the origin, at rest, its hit box there.
    explicit VokaState(std::uint8_t typeCode);

    // Driving (combat/driving.h); `s` is the caller's step.
    void accelerate(float s) { driving::accelerate(body, s); }
    void decelerate(float s) { driving::decelerate(body, s); }
    void steerLeft(float s) { driving::steerLeft(body, s); }
    void steerRight(float s) { driving::steerRight(body, s); }
    void centreSteering(float s) { driving::centreSteering(body, s); }
    void redirect() { driving::redirect(body); }
    std::int32_t speed() const { return driving::speed(body); }
    // One frame of the driving step over `ground`, dt in seconds.
    void step(float dt, const driving::GroundHeight& ground) {
        driving::step(body, look_, dt, ground);
    }

    // Mouse look: turns the look yaw and pitch (degrees).
    void look(float yaw, float pitch) { driving::look(look_, yaw, pitch); }
    // Holds the view straight ahead (the right mouse button): every angle of the camera
    // record back to 0.
    void lookStraightAhead() { look_ = Pose{}; }
    // The camera record: smoothed terrain pitch (rotX), look pitch (rotY), look yaw
    // (rotZ), degrees.
    const Pose& getLookPose() const { return look_; }
    // What the camera follows (combat/driving.h).
    void getCameraPose(Pose& pose, Pose& lookOut) {
        driving::getCameraPose(body, look_, destroyed_, pose, lookOut);
    }

    // Moves the hit box to where the Voka stands now. A wreck keeps the box where it was
    // destroyed.
    void placeHitBox();
    // Whether the segment between the world points p1 and p2 (x, y, z, 1) crosses the
    // box; before the first placeHitBox the box stands at the origin, unscaled.
    bool rayHit(const float* p1, const float* p2) const;
    // Whether the world point is within 50 units of the box.
    bool sphereHit(float x, float y, float z) const;

    void setPlayerName(std::string_view name) { playerName_ = name.substr(0, kMaxNameLength); }
    const std::string& getPlayerName() const { return playerName_; }
    void setFrags(std::int32_t frags) { frags_ = frags; }
    std::int32_t getFrags() const { return frags_; }
    void setCurrentWeapon(std::int32_t number) { currentWeapon_ = number; }
    std::int32_t getCurrentWeapon() const { return currentWeapon_; }
    bool isDestroyed() const { return destroyed_; }
    void setDestroyed(bool destroyed) { destroyed_ = destroyed; }

    // The own Voka: makes the body's pose the one the sending thread reads.
    void publishPose();
    // Another player's Voka: takes the pose the receiving thread stored. A pose that is
    // not finite is ignored (false).
    bool adoptPose();

    Body body;

  private:
    Pose look_;
    CollisionModel hitBox_;
    Matrix4 worldToModel_;
    std::string playerName_;
    std::int32_t frags_ = 0;
    std::int32_t currentWeapon_ = WEAPON_MG;
    bool destroyed_ = false;
};
