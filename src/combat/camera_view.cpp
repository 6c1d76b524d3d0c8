#include "combat/camera_view.h"

#include <cmath>

#include "combat/voka_geometry.h"

namespace camera_view {
namespace {

constexpr float kRadiansPerDegree = 0.017453292f;

// The look pitch turns about the horizontal axis across the look direction.
void rotateLookPitch(Matrix4& m, float pitch, float lookYaw) {
    const float yaw = -lookYaw * kRadiansPerDegree;
    m.rotate(pitch, std::sin(yaw), std::cos(yaw), 0.0f);
}

// out = m × p minus the eye, with the w that m yields.
void direction(const Matrix4& m, const float* p, const float* eye, float* out) {
    m.transform(p, out);
    for (int i = 0; i < 3; ++i) out[i] -= eye[i];
}

}  // namespace

Matrix4 view(const Pose& vehicle, const Pose& look, const float offset[3]) {
    Matrix4 m;
    m.rotate(-90.0f, 1.0f, 0.0f, 0.0f).rotate(90.0f, 0.0f, 0.0f, 1.0f);
    m.rotate(-look.rotZ, 0.0f, 0.0f, 1.0f);
    rotateLookPitch(m, look.rotY, look.rotZ);
    m.translate(-offset[0], -offset[1], 0.0f).translate(0.0f, 0.0f, -offset[2]);
    m.rotate(voka_geometry::lean(vehicle), 1.0f, 0.0f, 0.0f).rotate(look.rotX, 0.0f, 1.0f, 0.0f);
    m.translate(0.0f, 0.0f, offset[2])
        .rotate(-vehicle.rotZ, 0.0f, 0.0f, 1.0f)
        .translate(0.0f, 0.0f, -offset[2]);
    m.translate(-vehicle.x, -vehicle.y, -vehicle.z);
    return m;
}

Matrix4 eyeToWorld(const Pose& vehicle, const Pose& look, const float offset[3]) {
    Matrix4 m;
    m.translate(vehicle.x, vehicle.y, vehicle.z);
    m.translate(0.0f, 0.0f, offset[2])
        .rotate(vehicle.rotZ, 0.0f, 0.0f, 1.0f)
        .translate(0.0f, 0.0f, -offset[2]);
    m.rotate(-look.rotX, 0.0f, 1.0f, 0.0f).rotate(-voka_geometry::lean(vehicle), 1.0f, 0.0f, 0.0f);
    m.translate(0.0f, 0.0f, offset[2]).translate(offset[0], offset[1], 0.0f);
    rotateLookPitch(m, -look.rotY, look.rotZ);
    m.rotate(look.rotZ, 0.0f, 0.0f, 1.0f);
    return m;
}

Frame frame(const Pose& vehicle, const Pose& look, const float offset[3]) {
    const Matrix4 m = eyeToWorld(vehicle, look, offset);
    Frame f{};
    const float origin[4] = {0, 0, 0, 1};
    m.transform(origin, f.eye);
    const float ahead[4] = {1, 0, 0, 1}, muzzle[4] = {10, 1, -0.007f, 1}, up[4] = {0, 0, 1, 1},
                right[4] = {0, -1, 0, 1};
    direction(m, ahead, f.eye, f.aim);
    m.transform(muzzle, f.muzzle);
    direction(m, up, f.eye, f.up);
    direction(m, right, f.eye, f.side);

    f.pose.x = f.eye[0];
    f.pose.y = f.eye[1];
    f.pose.z = f.eye[2];
    f.pose.rotY = look.rotY + vehicle.rotY;
    float yaw = look.rotZ + vehicle.rotZ;
    if (yaw < 0.0f) yaw += 360.0f;
    if (yaw > 360.0f) yaw -= 360.0f;
    f.pose.rotZ = yaw;
    return f;
}

}  // namespace camera_view
