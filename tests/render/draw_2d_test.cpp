#include "render/draw_2d.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <tuple>

#include "render/status_message.h"
#include "support/gl_fixture.h"

namespace {

using testing_support::GlTest;

class Draw2d : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // How many pixels of the window have this red, green and blue (-1: any but black).
    static int countPixels(int r = -1, int g = 0, int b = 0) {
        int count = 0;
        for (const auto& p : readWindow(GL_BACK))
            count += r < 0 ? p[0] + p[1] + p[2] > 0 : p[0] == r && p[1] == g && p[2] == b;
        return count;
    }
};

// The status message draws in red and leaves white.
TEST_F(Draw2d, TextDrawsFromItsBaseLineAndNothingFromOutsideTheWindow) {
    Overlay2d overlay;
    glColor3f(1.0f, 1.0f, 1.0f);
    drawText(-0.9f, 0.0f, "");
    // Starts just outside on the left: the whole text is dropped, even the part that
    // would fall inside.
    drawText(-1.05f, 0.0f, "WWWWWWWW");
    EXPECT_EQ(countPixels(), 0);
    // An upper-case I stands on the base line at the window centre, to its right.
    drawText(0.0f, 0.0f, "I");
    EXPECT_GT(readPixel(kWidth / 2 + 2, kHeight / 2 + 5, GL_BACK)[0], 0);
    EXPECT_EQ(readPixel(kWidth / 2 + 2, kHeight / 2 - 5, GL_BACK)[0], 0);
    showStatusMessage("Wireframe Modus on");
    drawStatusMessage(-0.7f, -0.5f);
    EXPECT_GT(countPixels(255, 0, 0), 20);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[1], 1.0f);
}

// The markers are drawn in the HUD's pixel tests.
TEST_F(Draw2d, BracketRestoresStateAndMatrices) {
    const GLenum states[] = {GL_DEPTH_TEST, GL_LIGHTING, GL_FOG};
    for (GLenum state : states) glEnable(state);
    glMatrixMode(GL_PROJECTION);
    glScalef(2.0f, 2.0f, 2.0f);
    glMatrixMode(GL_MODELVIEW);
    glColor3f(0.5f, 0.25f, 0.125f);
    const auto seen = [] {
        GLfloat projection[16], colour[4];
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        glGetFloatv(GL_CURRENT_COLOR, colour);
        return std::tuple(glIsEnabled(GL_DEPTH_TEST), glIsEnabled(GL_LIGHTING), glIsEnabled(GL_FOG),
                          glIsEnabled(GL_BLEND), projection[0], colour[1]);
    };
    beginOverlay2d();  // glOrtho(-1, 1, ...) scales x by 1
    EXPECT_EQ(seen(), std::tuple(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE, 1.0f, 0.25f));
    glEnable(GL_BLEND);
    glColor3f(1.0f, 1.0f, 1.0f);
    endOverlay2d();
    EXPECT_EQ(seen(), std::tuple(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE, 2.0f, 0.25f));
    for (GLenum state : states) glDisable(state);
}

}  // namespace
