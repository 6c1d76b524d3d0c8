// The frustum reads the two matrices from OpenGL: the planes must come out in world
// coordinates for the camera that the modelview matrix holds.
#include <GL/gl.h>
#include <GL/glu.h>

#include "render/frustum.h"
#include "support/gl_fixture.h"

namespace {

using FrustumGl = testing_support::GlTest;

void look(double fovy, double zNear, double zFar) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fovy, 1.0, zNear, zFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

TEST_F(FrustumGl, ReadsProjectionAndModelviewFromOpenGl) {
    look(60.0, 0.01, 10000.0);
    // Standing at (800, 800, 100) in the z-up world, looking along +x.
    gluLookAt(800.0, 800.0, 100.0, 900.0, 800.0, 100.0, 0.0, 0.0, 1.0);
    Frustum frustum;
    frustum.extract();
    EXPECT_TRUE(frustum.sphereVisible(1000.0f, 800.0f, 100.0f, 1.0f));
    EXPECT_FALSE(frustum.sphereVisible(600.0f, 800.0f, 100.0f, 1.0f));    // behind
    EXPECT_FALSE(frustum.sphereVisible(1000.0f, 1200.0f, 100.0f, 1.0f));  // far to the left
    EXPECT_FALSE(frustum.sphereVisible(1000.0f, 800.0f, 400.0f, 1.0f));   // high above
    // The near plane faces +x through x = 800.01.
    const float* nearPlane = frustum.plane(Frustum::Near);
    EXPECT_NEAR(nearPlane[0], 1.0f, 1e-5f);
    EXPECT_NEAR(nearPlane[3], -800.01f, 0.05f);
}

// A sphere touching a plane from outside is not visible, one overlapping it is. From
// the origin looking along -z, 90 degrees wide, from z = -1 to z = -3: every plane value
// is exact in floats.
TEST_F(FrustumGl, SphereTouchingAPlaneFromOutsideIsNotVisibleOverlappingIs) {
    look(90.0, 1.0, 3.0);
    Frustum frustum;
    frustum.extract();
    EXPECT_FALSE(frustum.sphereVisible(0.0f, 0.0f, 0.0f, 1.0f));  // touches the near plane
    EXPECT_TRUE(frustum.sphereVisible(0.0f, 0.0f, -0.25f, 1.0f));
    EXPECT_FALSE(frustum.sphereVisible(0.0f, 0.0f, -5.0f, 2.0f));  // the far plane from beyond
    EXPECT_TRUE(frustum.sphereVisible(0.0f, 0.0f, -4.5f, 2.0f));
    // Beside the 45° right plane by 1/√2 ≈ 0.707.
    EXPECT_TRUE(frustum.sphereVisible(3.0f, 0.0f, -2.0f, 0.75f));
    EXPECT_FALSE(frustum.sphereVisible(3.0f, 0.0f, -2.0f, 0.7f));
    EXPECT_FALSE(frustum.sphereVisible(0.0f, 3.0f, -2.0f, 0.7f));
    EXPECT_FALSE(frustum.sphereVisible(0.0f, 0.0f, 50.0f, 7.0f));  // behind the camera
}

}  // namespace
