#pragma once

#include <cstdint>

#include "combat/explosion.h"
#include "combat/shot.h"
#include "net/net_object.h"
#include "render/scene_object.h"

// A shot of the machine gun (type 130) or the rail gun (131): a hit-scan from the muzzle
// to the point where the camera's aim meets the ground, decided at the moment of firing.
// Its state, the six floats the network carries, is the muzzle point and then the impact
// point. For its first 0.1 s the match tests the segment from the camera to the impact
// point against the other players; the shot then lives on as its impact effect (machine
// gun) or as the two beams the match keeps for it (rail gun), and is withdrawn after
// 1.1 s or 2.0 s. Other clients rebuild it from the six floats.
// What the player status says about a shot fired now: the muzzle, the aim and the eye.
ShotInput statusShotInput();

class Bullet : public SceneObject, public net::NetObject {
  public:
    static constexpr float kHitWindow = 0.1f;       // seconds
    static constexpr float kMachineGunLife = 1.1f;  // seconds
    static constexpr float kRailGunLife = 2.0f;     // seconds
    static constexpr float kOwnEffectSize = 0.08f;  // an 8-unit impact square
    static constexpr float kRemoteEffectSize = 0.06f;

    // Main thread, at the moment of firing: an own shot from the muzzle, aim and eye of
    // the player status, marched onto the current terrain, with the two bullet textures.
    explicit Bullet(std::uint8_t typeCode);
    // An own shot from given vectors over a given ground, without OpenGL. A shot from
    // input that is not finite is born having hit: it tests no player.
    Bullet(std::uint8_t typeCode, const ShotInput& input, const GroundHeight& ground);
    // Another client's shot from the six floats of its announcement; its impact effect
    // shows at the impact point. Coordinates that are not finite become 0.
    Bullet(std::uint8_t typeCode, const net::Pose& state);

    // Draws the impact effect of a machine-gun shot; a rail shot draws nothing itself.
    int draw(Pose camera, const float* light) override;
    // Ages the shot by the frame time and advances its impact effect (on the game
    // clock). Returns 0.
    int update() override;
    int initGL() override { return 0; }

    // A machine-gun shot from 1.1 s of age, a rail shot from 2.0 s; nothing else expires.
    bool isExpired() const;
    // A shot younger than 0.1 s.
    bool inHitWindow() const;
    bool hasHit() const { return hasHit_; }
    void markHit() { hasHit_ = true; }
    bool isRemote() const { return remote_; }
    float getAge() const { return age_; }
    // The start of the hit-test segment (the camera position when fired) in the first
    // three floats; the segment ends at the impact point of the state.
    void getRay(float record[6]) const;
    const Explosion& impactEffect() const { return effect_; }

    std::int32_t netId() const override { return id; }
    std::uint8_t netType() const override { return type; }
    net::SharedPose& netPose() override { return sharedPose_; }

  private:
    void startEffect(float size, ShotPoint at);

    float rayStart_[6] = {};
    float age_ = 0.0f;
    Explosion effect_{false};
    bool remote_ = false;
    bool hasHit_ = false;
    net::SharedPose sharedPose_;
};
