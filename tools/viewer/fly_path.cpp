#include "fly_path.h"

#include <algorithm>
#include <cmath>

namespace fly_path {

namespace {

constexpr float kTwoPi = 6.2831853f;
constexpr float kDegrees = 57.29578f;

}  // namespace

Pose at(float seconds, const Heightmap& ground) {
    float lap = std::fmod(seconds / kLapSeconds, 1.0f);
    if (lap < 0.0f) lap += 1.0f;
    const float angle = lap * kTwoPi;
    // A circle with a slow wobble in and out, so the flight crosses valleys and ridges.
    const float radius = kRadius + 90.0f * std::sin(3.0f * angle);
    Pose pose;
    pose.x = kCentre + radius * std::cos(angle);
    pose.y = kCentre + radius * std::sin(angle);
    // Counter-clockwise: the heading is the tangent, a quarter turn past the angle.
    pose.rotZ = std::fmod(angle * kDegrees + 90.0f, 360.0f);
    const float headingX = std::cos(pose.rotZ / kDegrees);
    const float headingY = std::sin(pose.rotZ / kDegrees);
    float highest = ground.terrainHeight(pose.x, pose.y);
    for (float ahead = 10.0f; ahead <= 60.0f; ahead += 10.0f) {
        highest = std::max(
            highest, ground.terrainHeight(pose.x + headingX * ahead, pose.y + headingY * ahead));
    }
    pose.z = highest + kClearance;
    pose.rotY = kPitch;
    return pose;
}

}  // namespace fly_path
