#include <GL/gl.h>

#include <random>

#include "render/matrix4.h"
#include "support/gl_fixture.h"

namespace {

using Matrix4GlTest = testing_support::GlTest;

// Random chains of translations, rotations (about random and about zero axes) and
// scales give the matrix OpenGL reads back, to 1e-5 relative to the matrix's size.
TEST_F(Matrix4GlTest, ChainsEqualOpenGlsReadBack) {
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

}  // namespace
