#pragma once

#include <cstdint>
#include <vector>

// The corners of a glowing beam, computed without OpenGL so that tests and headless
// code can see what a beam draws. World coordinates (z up); texture coordinates into
// the circle texture, whose middle row (v = 0.5) is the bright core.

struct BeamMode {
    static constexpr std::int32_t Spot = 0;   // a square facing the camera at the start
    static constexpr std::int32_t Band = 1;   // a flat band from start to end, 1 then 4 wide
    static constexpr std::int32_t Helix = 2;  // a ribbon winding round the start-end line
};

struct BeamVec {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct BeamCorner {
    BeamVec p;
    float u = 0.0f;
    float v = 0.0f;
};

// Where the camera is and how it is turned: eye position, unit view direction, and the
// camera's z axis (up) and -y axis (side) in world space, as the camera leaves them in
// the player status each frame.
struct BeamCamera {
    BeamVec eye;
    BeamVec aim;
    BeamVec up;
    BeamVec side;
};

// The helix: radius 3 units, turning 0.1 radian per unit of length (one turn in about
// 63 units), a ribbon 0.3 wide on either side, one quad per whole unit of length.
// Longer beams than any shot across the arena are cut at kMaxHelixQuads.
struct HelixShape {
    static constexpr float kRadius = 3.0f;
    static constexpr float kRadiansPerUnit = 0.1f;
    static constexpr float kHalfWidth = 0.3f;
    static constexpr int kMaxHelixQuads = 4096;
};

// Four corners a quad, in drawing order, for a beam from `start` along `extent` (the
// end is start + extent). A mode other than the three, or any coordinate that is not a
// finite number, gives no quads.
std::vector<BeamCorner> beamQuads(std::int32_t mode, BeamVec start, BeamVec extent,
                                  const BeamCamera& camera);
