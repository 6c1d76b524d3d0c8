#include "render/frustum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// A symmetric perspective projection as gluPerspective builds it, column-major, from
// the cotangent f of half the vertical field of view.
void projection(float f, float aspect, float zNear, float zFar, float out[16]) {
    for (int i = 0; i < 16; ++i) out[i] = 0.0f;
    out[0] = f / aspect;
    out[5] = f;
    out[10] = (zFar + zNear) / (zNear - zFar);
    out[11] = -1.0f;
    out[14] = 2.0f * zFar * zNear / (zNear - zFar);
}

void perspective(float fovYDegrees, float aspect, float zNear, float zFar, float out[16]) {
    projection(1.0f / std::tan(fovYDegrees * 3.14159265f / 360.0f), aspect, zNear, zFar, out);
}

void identity(float out[16]) {
    for (int i = 0; i < 16; ++i) out[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

void expectPlane(const Frustum& frustum, int index, float a, float b, float c, float d) {
    const float* p = frustum.plane(index);
    EXPECT_NEAR(p[0], a, 1e-5f) << "plane " << index;
    EXPECT_NEAR(p[1], b, 1e-5f) << "plane " << index;
    EXPECT_NEAR(p[2], c, 1e-5f) << "plane " << index;
    EXPECT_NEAR(p[3], d, 1e-5f * std::max(1.0f, std::abs(d))) << "plane " << index;
}

TEST(Frustum, SixPlanesOfAKnownProjection) {
    float p[16];
    float m[16];
    perspective(90.0f, 1.0f, 1.0f, 100.0f, p);
    identity(m);
    Frustum frustum;
    frustum.extract(p, m);
    const float h = std::sqrt(0.5f);
    expectPlane(frustum, Frustum::Right, -h, 0.0f, -h, 0.0f);
    expectPlane(frustum, Frustum::Left, h, 0.0f, -h, 0.0f);
    expectPlane(frustum, Frustum::Bottom, 0.0f, h, -h, 0.0f);
    expectPlane(frustum, Frustum::Top, 0.0f, -h, -h, 0.0f);
    expectPlane(frustum, Frustum::Far, 0.0f, 0.0f, 1.0f, 100.0f);
    expectPlane(frustum, Frustum::Near, 0.0f, 0.0f, -1.0f, -1.0f);
}

// The shortcut product must agree with the full P × M for a perspective projection and
// any rigid camera transform.
TEST(Frustum, AgreesWithTheFullClipMatrix) {
    float p[16];
    perspective(60.0f, 4.0f / 3.0f, 0.01f, 10000.0f, p);
    // Rotation of 30° about z, then 70° about x, then a translation.
    const float ca = std::cos(0.5235988f), sa = std::sin(0.5235988f);
    const float cb = std::cos(1.2217305f), sb = std::sin(1.2217305f);
    const float m[16] = {ca, sa * cb, sa * sb, 0, -sa,  ca * cb, ca * sb, 0,
                         0,  -sb,     cb,      0, -120, 35,      -800,    1};
    float k[16];
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            k[4 * column + row] = 0.0f;
            for (int i = 0; i < 4; ++i) k[4 * column + row] += p[4 * i + row] * m[4 * column + i];
        }
    Frustum frustum;
    frustum.extract(p, m);
    const int rows[6] = {0, 0, 1, 1, 2, 2};
    const float signs[6] = {-1.0f, 1.0f, 1.0f, -1.0f, -1.0f, 1.0f};
    for (int plane = 0; plane < 6; ++plane) {
        float expected[4];
        for (int c = 0; c < 4; ++c)
            expected[c] = k[4 * c + 3] + signs[plane] * k[4 * c + rows[plane]];
        const float length = std::hypot(expected[0], expected[1], expected[2]);
        expectPlane(frustum, plane, expected[0] / length, expected[1] / length,
                    expected[2] / length, expected[3] / length);
    }
}

TEST(Frustum, SphereTouchingAPlaneFromOutsideIsNotVisibleOverlappingIs) {
    float p[16];
    float m[16];
    projection(1.0f, 1.0f, 1.0f, 3.0f, p);  // every plane value exact in floats
    identity(m);
    Frustum frustum;
    frustum.extract(p, m);
    // The near plane is z = -1, facing -z; a unit sphere at the origin touches it.
    EXPECT_FALSE(frustum.sphereVisible(0.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_TRUE(frustum.sphereVisible(0.0f, 0.0f, -0.25f, 1.0f));
    // The far plane z = -3, from beyond.
    EXPECT_FALSE(frustum.sphereVisible(0.0f, 0.0f, -5.0f, 2.0f));
    EXPECT_TRUE(frustum.sphereVisible(0.0f, 0.0f, -4.5f, 2.0f));
    EXPECT_TRUE(frustum.sphereVisible(0.0f, 0.0f, -2.0f, 0.0f));
    // Beside the 45° right plane by 1/√2 ≈ 0.707.
    EXPECT_TRUE(frustum.sphereVisible(3.0f, 0.0f, -2.0f, 0.75f));
    EXPECT_FALSE(frustum.sphereVisible(3.0f, 0.0f, -2.0f, 0.7f));
    EXPECT_FALSE(frustum.sphereVisible(-3.0f, 0.0f, -2.0f, 0.7f));
    EXPECT_FALSE(frustum.sphereVisible(0.0f, -3.0f, -2.0f, 0.7f));
    EXPECT_FALSE(frustum.sphereVisible(0.0f, 3.0f, -2.0f, 0.7f));
    EXPECT_FALSE(frustum.sphereVisible(0.0f, 0.0f, 50.0f, 7.0f));  // behind the camera
}

}  // namespace
