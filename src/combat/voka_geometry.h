#pragma once

#include "render/body.h"
#include "render/matrix4.h"

// Where the parts of a Voka stand, as plain matrices that the drawing, the hit tests and
// a computer player share. The model is stored y up with its nose toward -z, in units of
// 1/25 of the world's; the drawing transform scales it by 25, turns it upright and then
// by the pose: heading (rotZ) about the world's z, pitch (rotY) and the lean into a curve
// about the car's own lateral and forward axes.
namespace voka_geometry {

inline constexpr float kScale = 25.0f;

// The body leans into a curve by a tenth of the steering angle (rotX, up to 50 degrees),
// so 5 degrees at full lock. Rolling it by the whole steering angle laid the car half into
// the ground on its outer wheels and tipped the driver's horizon by 50 degrees. The pose
// still carries the steering angle itself, on the wire too; only the drawn body, its hit
// box and the camera that rides on it take the smaller lean.
inline constexpr float kLeanPerSteeringDegree = 0.1f;
inline float lean(const Pose& pose) {
    return pose.rotX * kLeanPerSteeringDegree;
}

// Mesh objects with a role of their own; every other object is body.
inline constexpr int kFrontWheels = 3;
inline constexpr int kRearWheels = 4;
// Model-space points on the axles that the wheel sets spin about (along x).
inline constexpr float kFrontWheelPivot[3] = {0.0f, 0.097f, -0.461f};
inline constexpr float kRearWheelPivot[3] = {0.0f, 0.1f, 0.0f};
// The post beside the windscreen that the weapon turns on, and the weapon's muzzle at
// rest, both in model space.
inline constexpr float kTurretPivot[3] = {-0.158f, 0.4f, -0.3f};
inline constexpr float kMuzzle[4] = {-0.164f, 0.496f, -0.533f, 1.0f};

// Model to world for a Voka at `pose`.
Matrix4 modelTransform(const Pose& pose);
// World to model: the exact inverse of modelTransform, for the hit tests.
Matrix4 worldToModel(const Pose& pose);

// The weapon's turn in model space for the look yaw ψ (about the model's up axis) and
// pitch θ (about the horizontal axis across the look direction), both in degrees, about
// the turret's post; and its inverse.
Matrix4 turret(float yaw, float pitch);
Matrix4 turretInverse(float yaw, float pitch);

// A wheel set's spin by `degrees` about the x axis through `pivot`; wheel(pivot, -a) is
// the inverse of wheel(pivot, a).
Matrix4 wheel(const float pivot[3], float degrees);

// The world point that shots leave from: the turret's muzzle of a Voka at `pose` with the
// weapon turned by the look yaw and pitch. w is 1.
void muzzlePoint(const Pose& pose, float yaw, float pitch, float out[4]);

// The launch velocity of wreck piece `piece` of `pieces` (world units a second): spread
// from -20.5 to 20.5 along x by the piece's place about the middle one, the rest of the
// 20.5 along y, and 20.7 up. A single piece flies straight along y.
void debrisVelocity(int piece, int pieces, float out[3]);

}  // namespace voka_geometry
