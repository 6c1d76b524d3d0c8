// The frustum reads the two matrices from OpenGL: the planes must come out in world
// coordinates for the camera that the modelview matrix holds.
#include <GL/gl.h>
#include <GL/glu.h>

#include "render/frustum.h"
#include "support/gl_fixture.h"

namespace {

using FrustumGl = testing_support::GlTest;

TEST_F(FrustumGl, ReadsProjectionAndModelviewFromOpenGl) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 4.0 / 3.0, 0.01, 10000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Standing at (800, 800, 100) in the z-up world, looking along +x.
    gluLookAt(800.0, 800.0, 100.0, 900.0, 800.0, 100.0, 0.0, 0.0, 1.0);
    Frustum frustum;
    frustum.extract();
    EXPECT_TRUE(frustum.sphereVisible(1000.0f, 800.0f, 100.0f, 1.0f));
    EXPECT_FALSE(frustum.sphereVisible(600.0f, 800.0f, 100.0f, 1.0f));    // behind
    EXPECT_FALSE(frustum.sphereVisible(1000.0f, 1200.0f, 100.0f, 1.0f));  // far to the left
    EXPECT_FALSE(frustum.sphereVisible(1000.0f, 800.0f, 400.0f, 1.0f));   // high above
    EXPECT_TRUE(frustum.sphereVisible(9000.0f, 800.0f, 100.0f, 1.0f));
    EXPECT_FALSE(frustum.sphereVisible(11000.0f, 800.0f, 100.0f, 1.0f));  // beyond the far plane
    // The near plane faces +x through x = 800.01.
    const float* nearPlane = frustum.plane(Frustum::Near);
    EXPECT_NEAR(nearPlane[0], 1.0f, 1e-5f);
    EXPECT_NEAR(nearPlane[3], -800.01f, 0.05f);
}

}  // namespace
