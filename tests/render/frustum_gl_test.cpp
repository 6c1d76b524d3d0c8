// The frustum reads the two matrices from OpenGL. That the planes come out in world
// coordinates for the camera in the modelview matrix shows in the terrain's culling.
#include <GL/gl.h>
#include <GL/glu.h>

#include "render/frustum.h"
#include "support/gl_fixture.h"

namespace {

using FrustumGl = testing_support::GlTest;

// A sphere touching a plane from outside is not visible, one overlapping it is. From
// the origin looking along -z, 90 degrees wide, from z = -1 to z = -3: every plane value
// is exact in floats.
TEST_F(FrustumGl, SphereTouchingAPlaneFromOutsideIsNotVisibleOverlappingIs) {
    glMatrixMode(GL_PROJECTION);  // both matrices start as the identity
    gluPerspective(90.0, 1.0, 1.0, 3.0);
    glMatrixMode(GL_MODELVIEW);
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
