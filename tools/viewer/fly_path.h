#pragma once

#include "render/body.h"
#include "world/heightmap.h"

// The viewer's camera flight: one lap round the middle of the map, over hills and
// through valleys, low enough to see the ground fog and high enough to see the far
// patches. Poses count as the match's camera does: position in world units, pitch as
// the rotation about y (negative looks down), heading as the rotation about z (0 along
// +x, 0 to 360); the rotation about x stays 0.
namespace fly_path {

constexpr float kLapSeconds = 60.0f;
constexpr float kCentre = 800.0f;
constexpr float kRadius = 520.0f;
// Height above the highest ground a little around and ahead of the camera.
constexpr float kClearance = 40.0f;
constexpr float kPitch = -14.0f;

// Where the camera is `seconds` into the flight (any value; the lap repeats).
Pose at(float seconds, const Heightmap& ground);

}  // namespace fly_path
