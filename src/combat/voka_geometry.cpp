#include "combat/voka_geometry.h"

#include <cmath>

namespace voka_geometry {
namespace {

constexpr float kRadiansPerDegree = 0.017453292f;
constexpr float kDebrisSpeed = 20.5f;
constexpr float kDebrisRise = 20.7f;

// The look pitch tilts the weapon about the horizontal axis across the look yaw.
void rotateAboutLookAxis(Matrix4& m, float degrees, float yaw) {
    const float a = -yaw * kRadiansPerDegree;
    m.rotate(degrees, std::cos(a), 0.0f, std::sin(a));
}

void toPivot(Matrix4& m, const float pivot[3]) {
    m.translate(pivot[0], pivot[1], pivot[2]);
}

void fromPivot(Matrix4& m, const float pivot[3]) {
    m.translate(-pivot[0], -pivot[1], -pivot[2]);
}

}  // namespace

Matrix4 modelTransform(const Pose& pose) {
    Matrix4 m;
    m.translate(pose.x, pose.y, pose.z).scale(kScale, kScale, kScale);
    m.rotate(pose.rotZ, 0.0f, 0.0f, 1.0f)
        .rotate(-pose.rotY, 0.0f, 1.0f, 0.0f)
        .rotate(-lean(pose), 1.0f, 0.0f, 0.0f);
    // Upright: the model's y to the world's z, its nose (-z) to +x.
    m.rotate(-90.0f, 0.0f, 0.0f, 1.0f).rotate(90.0f, 1.0f, 0.0f, 0.0f);
    return m;
}

Matrix4 worldToModel(const Pose& pose) {
    Matrix4 m;
    m.rotate(-90.0f, 1.0f, 0.0f, 0.0f).rotate(90.0f, 0.0f, 0.0f, 1.0f);
    m.rotate(lean(pose), 1.0f, 0.0f, 0.0f)
        .rotate(pose.rotY, 0.0f, 1.0f, 0.0f)
        .rotate(-pose.rotZ, 0.0f, 0.0f, 1.0f);
    m.scale(1.0f / kScale, 1.0f / kScale, 1.0f / kScale).translate(-pose.x, -pose.y, -pose.z);
    return m;
}

Matrix4 turret(float yaw, float pitch) {
    Matrix4 m;
    toPivot(m, kTurretPivot);
    rotateAboutLookAxis(m, pitch, yaw);
    m.rotate(yaw, 0.0f, 1.0f, 0.0f);
    fromPivot(m, kTurretPivot);
    return m;
}

Matrix4 turretInverse(float yaw, float pitch) {
    Matrix4 m;
    toPivot(m, kTurretPivot);
    m.rotate(-yaw, 0.0f, 1.0f, 0.0f);
    rotateAboutLookAxis(m, -pitch, yaw);
    fromPivot(m, kTurretPivot);
    return m;
}

Matrix4 wheel(const float pivot[3], float degrees) {
    Matrix4 m;
    toPivot(m, pivot);
    m.rotate(degrees, 1.0f, 0.0f, 0.0f);
    fromPivot(m, pivot);
    return m;
}

void muzzlePoint(const Pose& pose, float yaw, float pitch, float out[4]) {
    (modelTransform(pose) * turret(yaw, pitch)).transform(kMuzzle, out);
}

void debrisVelocity(int piece, int pieces, float out[3]) {
    const int half = pieces / 2;
    const float share =
        half == 0 ? 0.0f : static_cast<float>(piece - half) / static_cast<float>(half);
    out[0] = share * kDebrisSpeed;
    out[1] = std::sqrt(std::fmax(0.0f, kDebrisSpeed * kDebrisSpeed - out[0] * out[0]));
    out[2] = kDebrisRise;
}

}  // namespace voka_geometry
