#include "fx/screen_passes.h"

#include <GL/gl.h>

#include "render/draw_2d.h"

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
    // Depth test and lighting off: every marked pixel is covered, whatever its depth.
    const Overlay2d overlay;
    glDisable(GL_TEXTURE_2D);
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
    glRectf(-1.0f, -1.0f, 1.0f, 1.0f);
}
