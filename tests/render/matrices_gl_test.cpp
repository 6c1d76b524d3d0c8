// The matrices against OpenGL's own. The frustum reads the two matrices from OpenGL;
// that the planes come out in world coordinates for the camera in the modelview matrix
// shows in the terrain's culling.
#include <GL/gl.h>
#include <GL/glu.h>

#include <random>
#include <tuple>

#include "render/frustum.h"
#include "render/matrix4.h"
#include "support/gl_fixture.h"

namespace {

using MatricesGl = testing_support::GlTest;

// Random chains of translations, rotations (about random and about zero axes) and
// scales give the matrix OpenGL reads back, to 1e-5 relative to the matrix's size.
TEST_F(MatricesGl, Matrix4ChainsEqualOpenGlsReadBack) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(-400.0f, 400.0f);
    std::uniform_int_distribution<int> kind(0, 3);
    glMatrixMode(GL_MODELVIEW);
    for (int chain = 0; chain < 50; ++chain) {
        glLoadIdentity();
        Matrix4 ours;
        for (int step = 0; step < 12; ++step) {
            const float a = value(random), x = value(random) / 400, y = value(random) / 400,
                        z = value(random) / 400;
            const int k = kind(random);
            if (k == 0)
                glTranslatef(x * 100, y * 100, z * 100), ours.translate(x * 100, y * 100, z * 100);
            if (k == 3) glScalef(x * 2, y * 2, z * 2), ours.scale(x * 2, y * 2, z * 2);
            const float s = k == 2 ? 0.0f : 1.0f;  // about a zero axis
            if (k == 1 || k == 2)
                glRotatef(a, x * s, y * s, z * s), ours.rotate(a, x * s, y * s, z * s);
        }
        expectModelview(ours.m, "chain");
    }
    glLoadIdentity();
}

// A sphere touching a plane from outside is not visible, one overlapping it is. From
// the origin looking along -z, 90 degrees wide, from z = -1 to z = -3: every plane value
// is exact in floats.
TEST_F(MatricesGl, FrustumSphereTouchingAPlaneFromOutsideIsNotVisibleOverlappingIs) {
    glMatrixMode(GL_PROJECTION);  // both matrices start as the identity
    gluPerspective(90.0, 1.0, 1.0, 3.0);
    glMatrixMode(GL_MODELVIEW);
    Frustum frustum;
    frustum.extract();
    // x, y, z, radius, visible: touching the near plane and overlapping it, the far plane
    // from beyond and overlapping it, beside the 45° right plane by 1/√2 ≈ 0.707 (and the
    // top one), behind the camera.
    const std::tuple<float, float, float, float, bool> spheres[] = {
        {0, 0, 0, 1, false},     {0, 0, -0.25f, 1, true}, {0, 0, -5, 2, false},
        {0, 0, -4.5f, 2, true},  {3, 0, -2, 0.75f, true}, {3, 0, -2, 0.7f, false},
        {0, 3, -2, 0.7f, false}, {0, 0, 50, 7, false}};
    for (const auto& [x, y, z, radius, visible] : spheres)
        EXPECT_EQ(frustum.sphereVisible(x, y, z, radius), visible) << x << " " << y << " " << z;
}

}  // namespace
