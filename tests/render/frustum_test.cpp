#include "render/frustum.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The frustum of a symmetric perspective projection as gluPerspective builds it, from
// the cotangent f of half the vertical field of view, for a camera at the origin.
Frustum frustumOf(float f, float zNear, float zFar) {
    float p[16] = {};
    p[0] = f;
    p[5] = f;
    p[10] = (zFar + zNear) / (zNear - zFar);
    p[11] = -1.0f;
    p[14] = 2.0f * zFar * zNear / (zNear - zFar);
    float m[16] = {};
    for (int i = 0; i < 16; i += 5) m[i] = 1.0f;
    Frustum frustum;
    frustum.extract(p, m);
    return frustum;
}

TEST(Frustum, SphereTouchingAPlaneFromOutsideIsNotVisibleOverlappingIs) {
    const Frustum frustum = frustumOf(1.0f, 1.0f, 3.0f);  // every plane value exact in floats
    // The near plane is z = -1, facing -z; a unit sphere at the origin touches it.
    EXPECT_FALSE(frustum.sphereVisible(0.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_TRUE(frustum.sphereVisible(0.0f, 0.0f, -0.25f, 1.0f));
    // The far plane z = -3, from beyond.
    EXPECT_FALSE(frustum.sphereVisible(0.0f, 0.0f, -5.0f, 2.0f));
    EXPECT_TRUE(frustum.sphereVisible(0.0f, 0.0f, -4.5f, 2.0f));
    // Beside the 45° right plane by 1/√2 ≈ 0.707.
    EXPECT_TRUE(frustum.sphereVisible(3.0f, 0.0f, -2.0f, 0.75f));
    EXPECT_FALSE(frustum.sphereVisible(3.0f, 0.0f, -2.0f, 0.7f));
    EXPECT_FALSE(frustum.sphereVisible(0.0f, 3.0f, -2.0f, 0.7f));
    EXPECT_FALSE(frustum.sphereVisible(0.0f, 0.0f, 50.0f, 7.0f));  // behind the camera
}

}  // namespace
