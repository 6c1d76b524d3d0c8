#include "combat/driving.h"

#include <algorithm>
#include <cmath>

namespace driving {
namespace {

constexpr float kRadiansPerDegree = 0.017453292f;
constexpr float kDegreesPerRadian = 1.0f / kRadiansPerDegree;
constexpr float kGravity = 9.81f;
// In the air the body falls much faster than the gravity force alone would make it.
constexpr float kAirFall = 150.0f;
// The body rests on the ground unless it is at least this far above it.
constexpr float kGroundSlack = 0.5f;
// How far ahead the ground is probed for the pitch (world units).
constexpr float kProbeDistance = 11.525f;
// Degrees a second the camera's smoothed pitch turns toward the slope.
constexpr float kPitchFollowRate = 100.0f * 0.5f;
constexpr float kCentreSnap = 1.6f;

float horizontalSpeed(const Body& body) {
    const float* v = body.getVelocity();
    return std::fabs(v[0]) + std::fabs(v[1]);
}

void setHorizontal(Body& body, float vx, float vy) {
    body.setVelocity(vx, vy, body.getVelocity()[2]);
}

bool inOpenUnit(float value) {
    return value > 0.0f && value < 1.0f;
}

}  // namespace

void redirect(Body& body) {
    const float v = horizontalSpeed(body);
    const float heading = body.getPose().rotZ * kRadiansPerDegree;
    const float c = std::cos(heading);
    const float s = std::sin(heading);
    // Outside the four open quadrants (on an axis) the velocity is left as it is.
    if (!inOpenUnit(std::fabs(c)) || !inOpenUnit(std::fabs(s))) return;
    setHorizontal(body, std::copysign(c * c * v, c), std::copysign(s * s * v, s));
}

void accelerate(Body& body, float s) {
    if (!(horizontalSpeed(body) < kMaxAccelerateSpeed)) return;
    setHorizontal(body, std::fabs(body.getVelocity()[0]) + kRate * s, body.getVelocity()[1]);
    redirect(body);
}

void decelerate(Body& body, float s) {
    if (!(horizontalSpeed(body) > 0.0f)) return;
    setHorizontal(body, std::max(0.0f, std::fabs(body.getVelocity()[0]) - kRate * s),
                  body.getVelocity()[1]);
    redirect(body);
}

namespace {

// Turns the heading by `turn` degrees and the steering angle with it while the angle is
// on the near side of its limit in that direction.
void steer(Body& body, float turn) {
    Pose pose = body.getPose();
    if (turn > 0.0f ? pose.rotX < kMaxSteering : pose.rotX > -kMaxSteering) pose.rotX += turn;
    pose.rotZ += turn;
    body.setPose(pose);
    redirect(body);
}

}  // namespace

void steerLeft(Body& body, float s) {
    steer(body, kRate * s);
}

void steerRight(Body& body, float s) {
    steer(body, -kRate * s);
}

void centreSteering(Body& body, float s) {
    Pose pose = body.getPose();
    if (pose.rotX > kCentreSnap) {
        pose.rotX -= kRate * s;
    } else if (pose.rotX < -kCentreSnap) {
        pose.rotX += kRate * s;
    } else {
        pose.rotX = 0.0f;
    }
    body.setPose(pose);
}

void look(Pose& look, float yaw, float pitch) {
    look.rotZ = std::clamp(look.rotZ + yaw, -kLookLimit, kLookLimit);
    look.rotY = std::clamp(look.rotY + pitch, -kLookLimit, kLookLimit);
}

std::int32_t speed(const Body& body) {
    const float v = horizontalSpeed(body);
    // The largest float below 2^31 converts safely; NaN fails the comparison.
    constexpr float kLimit = 2147483520.0f;
    if (!(v < kLimit)) return v > 0.0f ? static_cast<std::int32_t>(kLimit) : 0;
    return static_cast<std::int32_t>(v);
}

void getCameraPose(Body& body, const Pose& look, bool destroyed, Pose& pose, Pose& lookOut) {
    Pose wrapped = body.getPose();
    if (wrapped.rotZ < -360.0f) {
        wrapped.rotZ += 360.0f;
    } else if (wrapped.rotZ > 360.0f) {
        wrapped.rotZ -= 360.0f;
    }
    body.setPose(wrapped);
    pose = wrapped;
    lookOut = look;
    if (destroyed) lookOut.rotZ += kDestroyedLookYaw;
}

void step(Body& body, Pose& look, float dt, const GroundHeight& ground) {
    body.setForce(0.0f, 0.0f, -kGravity);
    body.integrate(dt);
    Pose pose = body.getPose();
    const float* v = body.getVelocity();
    const float height = ground(pose.x, pose.y);
    if (pose.z - kGroundSlack < height || speed(body) < kTakeOffSpeed) {
        pose.z = height;
        body.setVelocity(v[0], v[1], 0.0f);
        const float heading = pose.rotZ * kRadiansPerDegree;
        const float ahead = ground(pose.x + std::cos(heading) * kProbeDistance,
                                   pose.y + std::sin(heading) * kProbeDistance);
        const float slope = std::atan((ahead - pose.z) / kProbeDistance) * kDegreesPerRadian;
        const float turn = std::max(0.0f, dt * kPitchFollowRate);
        look.rotX = std::clamp(slope, look.rotX - turn, look.rotX + turn);
        pose.rotY = slope;
        body.setPose(pose);
    } else {
        body.setVelocity(v[0], v[1], v[2] - kAirFall * dt);
    }
}

}  // namespace driving
