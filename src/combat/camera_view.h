#pragma once

#include "render/body.h"
#include "render/matrix4.h"

// The match camera's geometry, as plain matrices: the camera rides on the vehicle at an
// offset (forward, lateral, up) in the vehicle's frame, follows its heading, roll and
// body pitch, and turns with the mouse-look yaw and pitch. The match multiplies the view
// onto OpenGL's modelview matrix; a computer player can compute the same frame without a
// window.
//
// `vehicle` is the vehicle's pose (rotX the roll about its forward axis, rotY its pitch,
// which only adds to the camera's pitch, rotZ the heading); `look` is its camera record
// (rotX the smoothed body pitch, rotY the look pitch, rotZ the look yaw; the position is
// not used). Degrees, world units, z up; heading 0 faces +x.
namespace camera_view {

// World to eye: world axes to OpenGL's (y up, looking down -z), then the look, the
// offset, the roll and body pitch, the heading about the raised eye point, the position.
Matrix4 view(const Pose& vehicle, const Pose& look, const float offset[3]);

// Eye to world, in the camera's own axes (x ahead, y left, z up): the inverse of view()
// without its change of axes.
Matrix4 eyeToWorld(const Pose& vehicle, const Pose& look, const float offset[3]);

// What the camera publishes each frame. Vectors are (x, y, z, w) in world coordinates.
struct Frame {
    // Position of the eye; rotY = look pitch + vehicle pitch; rotZ = look yaw + heading,
    // brought once toward 0 to 360 (so a sum of 760 stays 400); rotX 0.
    Pose pose;
    float eye[4];
    float aim[4];     // the unit view direction
    float muzzle[4];  // a point ahead of the eye, until the vehicle's turret overrides it
    float up[4];
    float side[4];  // unit vector to the right
};

Frame frame(const Pose& vehicle, const Pose& look, const float offset[3]);

}  // namespace camera_view
