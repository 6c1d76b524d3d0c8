#pragma once

#include <functional>

#include "render/body.h"

// Where a shot goes, without OpenGL: the hit-scan of a shot is a ray from the camera
// along the aim, marched onto the ground. World coordinates, z up.

// The ground height at a world position (x, y).
using GroundHeight = std::function<float(float x, float y)>;

struct ShotPoint {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// The ray is sampled every 2 units while t < 1000; the first sample that is not above
// the ground is the impact, which may be the start itself (t = 0). Without one the last
// sample (t = 998) is used: a shot at the sky ends 998 units out.
struct RayMarch {
    static constexpr float kStep = 2.0f;
    static constexpr float kRange = 1000.0f;
};

struct RayHit {
    float t = 0.0f;
    ShotPoint point;
};
RayHit marchRay(ShotPoint start, ShotPoint direction, const GroundHeight& ground);

// What the player status holds at the moment of firing: the muzzle point, the camera's
// unit view direction and the camera position.
struct ShotInput {
    ShotPoint muzzle;
    ShotPoint aim;
    ShotPoint eye;
};

// An own shot: its state (muzzle point, then impact point), the start of its hit-test
// segment (the camera position) and the point 2 units before the impact along the aim
// where its impact effect shows. `usable` is false when the input was not
// finite (or led out of the finite numbers): then every point is one finite stand-in
// (the muzzle, else the eye, else the origin) so that no NaN reaches drawing or hit
// tests, and the shot must hit nobody.
struct Shot {
    Pose state;
    ShotPoint rayStart;
    ShotPoint effectPoint;
    bool usable = true;
};
Shot aimShot(const ShotInput& input, const GroundHeight& ground);

bool isFinite(ShotPoint p);
