#include "fx/screen_passes.h"

#include <GL/gl.h>

#include <cmath>

namespace {

// Both matrices pushed and reset, so a quad from -1 to 1 covers the window.
class WholeWindow {
  public:
    WholeWindow() {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
    }
    ~WholeWindow() {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
    }
    WholeWindow(const WholeWindow&) = delete;
    WholeWindow& operator=(const WholeWindow&) = delete;
};

void windowQuad() {
    glBegin(GL_QUADS);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
}

}  // namespace

bool MotionBlur::apply(float clockMs) {
    // A tenth of a millisecond of slack: readings of the same millisecond are equal.
    if (!(clockMs > lastBlurTime_ + 0.1f)) return false;
    lastBlurTime_ = clockMs;
    glAccum(GL_MULT, 0.5f);
    glAccum(GL_ACCUM, 0.5f);
    glAccum(GL_RETURN, 1.0f);
    return true;
}

void darkenShadows(bool blend) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    // Every marked pixel is covered, whatever its depth; the depth buffer stays as it is.
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glEnable(GL_STENCIL_TEST);
    glFrontFace(GL_CCW);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glColor4f(0.0f, 0.0f, 0.0f, 0.8f);
    if (blend) {
        glEnable(GL_BLEND);
    } else {
        glDisable(GL_BLEND);
    }
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glStencilFunc(GL_NOTEQUAL, 0, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    {
        const WholeWindow window;
        windowQuad();
    }
    glPopAttrib();
}

void drawHitFlash(float age, bool blend) {
    if (!std::isfinite(age)) return;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glBlendFunc(GL_ONE, GL_DST_ALPHA);
    if (blend) {
        glEnable(GL_BLEND);
    } else {
        glDisable(GL_BLEND);
    }
    glColor4f(0.688f, 0.09f, 0.09f, 1.0f - age / kHitFlashSeconds);
    {
        const WholeWindow window;
        windowQuad();
    }
    glPopAttrib();
}
