#pragma once

#include <cstdint>

#include "combat/shot.h"
#include "net/net_object.h"
#include "render/body.h"

// A shot of the machine gun (type 130) or the rail gun (131) as the match's rules know
// it: a hit-scan from the muzzle to the point where the camera's aim meets the ground,
// decided at the moment of firing. Its state, the six floats the network carries, is the
// muzzle point and then the impact point. For its first 0.1 s the match tests the
// segment from the camera to the impact point against the other players; the shot is
// withdrawn after 1.1 s (machine gun) or 2.0 s (rail gun). Other clients rebuild it from
// the six floats and keep it until it is withdrawn. The game draws what it leaves behind
// (combat/bullet.h).
class ShotState : public net::NetEntity {
  public:
    static constexpr float kHitWindow = 0.1f;       // seconds
    static constexpr float kMachineGunLife = 1.1f;  // seconds
    static constexpr float kRailGunLife = 2.0f;     // seconds

    // An own shot from the muzzle, aim and eye at the moment of firing, marched onto
    // `ground`. A shot from input that is not finite is born having hit: it tests no
    // player.
    ShotState(std::uint8_t typeCode, const ShotInput& input, const GroundHeight& ground);
    // Another client's shot from the six floats of its announcement. Coordinates that
    // are not finite become 0.
    ShotState(std::uint8_t typeCode, const net::Pose& state);

    // Ages the shot by dt seconds.
    void age(float dt) { age_ += dt; }
    float getAge() const { return age_; }
    // A machine-gun shot from 1.1 s of age, a rail shot from 2.0 s; nothing else expires.
    bool isExpired() const;
    // A shot younger than 0.1 s.
    bool inHitWindow() const;
    bool hasHit() const { return hasHit_; }
    void markHit() { hasHit_ = true; }
    bool isRemote() const { return remote_; }

    // Muzzle point (x, y, z), then impact point (rotX, rotY, rotZ).
    Pose getState() const { return state_; }
    // The start of the hit-test segment: the camera position when fired (own shots).
    ShotPoint getRayStart() const { return rayStart_; }
    // Where the impact shows: 2 units before the impact along the aim for an own shot,
    // at the impact itself for another client's.
    ShotPoint getEffectPoint() const { return effectPoint_; }

  private:
    Pose state_;
    ShotPoint rayStart_;
    ShotPoint effectPoint_;
    float age_ = 0.0f;
    bool remote_ = false;
    bool hasHit_ = false;
};
