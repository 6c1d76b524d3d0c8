#include "render/draw_2d.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

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

    // How many pixels of the window are not black, or pure red.
    static int countPixels(bool redOnly = false) {
        const std::vector<std::uint8_t> rgba = readFrame();
        int count = 0;
        for (std::size_t i = 0; i < rgba.size(); i += 4)
            count += redOnly ? rgba[i] == 255 && rgba[i + 1] == 0 && rgba[i + 2] == 0
                             : rgba[i] != 0 || rgba[i + 1] != 0 || rgba[i + 2] != 0;
        return count;
    }
};

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
}

// The markers are drawn in the HUD's pixel tests.
TEST_F(Draw2d, BracketRestoresStateAndMatrices) {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(2.0f, 2.0f, 2.0f);
    glMatrixMode(GL_MODELVIEW);
    glColor3f(0.5f, 0.25f, 0.125f);
    beginOverlay2d();
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_FLOAT_EQ(projection[0], 1.0f);  // glOrtho(-1, 1, ...) scales x by 1
    glEnable(GL_BLEND);
    glColor3f(1.0f, 1.0f, 1.0f);
    endOverlay2d();
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_FLOAT_EQ(projection[0], 2.0f);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[1], 0.25f);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
}

TEST_F(Draw2d, StatusMessageDrawsInRedAndLeavesWhite) {
    showStatusMessage("Wireframe Modus on");
    Overlay2d overlay;
    drawStatusMessage(-0.7f, 0.0f);
    EXPECT_GT(countPixels(true), 20);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[1], 1.0f);
}

}  // namespace
