#pragma once

#include <cstdint>
#include <functional>

#include "render/body.h"

// The Voka's arcade driving model, as plain functions over its Body and its camera record
// (`look`), so that the match, a computer player and the tests all drive the same way.
//
// Roles of the body's rotations: rotX is the steering (front-wheel) angle, kept within
// -50 to 50; rotY the pitch, taken from the terrain slope; rotZ the heading (0 faces +x).
// The camera record holds the smoothed terrain pitch in rotX, the look pitch in rotY and
// the look yaw in rotZ. Degrees, world units, seconds. The speed is |vx| + |vy|, not the
// Euclidean length. Every rate is per second: `s` is the caller's step (the match passes
// frame time × 0.5).
// Turns of the own Voka's look (its turret and the camera), in degrees: yaw about the
// up axis, left positive; pitch, up positive.
struct LookTurn {
    float yaw = 0.0f;
    float pitch = 0.0f;
};

namespace driving {

// The ground height at a world position (x, y); the match passes the terrain's.
using GroundHeight = std::function<float(float x, float y)>;

inline constexpr float kMaxAccelerateSpeed = 160.0f;
inline constexpr float kRate = 150.0f;  // speed and degrees gained per unit of step
inline constexpr float kMaxSteering = 50.0f;
inline constexpr float kLookLimit = 90.0f;
// Integer speed below which the Voka never leaves the ground.
inline constexpr std::int32_t kTakeOffSpeed = 80;
// Look yaw added to the camera while the Voka explodes, to show the wreck from the side.
inline constexpr float kDestroyedLookYaw = 50.0f;

// Re-points the horizontal velocity along the heading, keeping |vx| + |vy|. The shares
// are the squared cosine and sine, so the direction is exact only on the axes and the
// diagonals; on the axes themselves (cosine or sine exactly 0 or ±1) nothing changes.
void redirect(Body& body);

// Below speed 160 the speed grows by 150·s (so it may pass 160 by one step).
void accelerate(Body& body, float s);
// Takes 150·s from the x share of the speed only: heading along y it barely slows.
void decelerate(Body& body, float s);
// Turns the heading by 150·s; the steering angle follows up to ±50 (passing it by at
// most one step).
void steerLeft(Body& body, float s);
void steerRight(Body& body, float s);
// Brings the steering angle back towards 0 by 150·s, snapping to 0 within ±1.6.
void centreSteering(Body& body, float s);

// Mouse look: adds to the look yaw and pitch, each then held within -90 to 90.
void look(Pose& look, float yaw, float pitch);

// |vx| + |vy| truncated toward zero (0 when not finite, held within the 32-bit range):
// what the head-up display shows in km/h.
std::int32_t speed(const Body& body);

// What the camera follows: the body's pose, after its heading is wrapped once toward
// (-360, 360), and the camera record, with the look yaw raised while destroyed.
void getCameraPose(Body& body, const Pose& look, bool destroyed, Pose& pose, Pose& lookOut);

// One frame of driving, dt in seconds: gravity and integration; on the ground (less than
// 0.5 above it, or slower than 80) the body sits on the ground with its pitch following
// the slope 11.525 units ahead, and the camera's smoothed pitch turns toward the slope
// by at most 50 degrees a second; in the air gravity pulls a second time, much harder.
void step(Body& body, Pose& look, float dt, const GroundHeight& ground);

}  // namespace driving
