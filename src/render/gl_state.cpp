#include "render/gl_state.h"

#include <GL/gl.h>

#include "config/settings.h"
#include "render/texture.h"

void applyBaseGlState() {
    glClearStencil(0);
    glClearAccum(0.0f, 0.0f, 0.0f, 1.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glShadeModel(GL_SMOOTH);
    glCullFace(GL_BACK);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_TEXTURE_2D);
}

void applyMatchGlState() {
    applyBaseGlState();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT |
            GL_ACCUM_BUFFER_BIT);
    applyTextureFilters(Settings::getTextureQuality(), Settings::getMipmapping());
    if (Settings::getBackfaceCulling()) {
        glEnable(GL_CULL_FACE);
    } else {
        glDisable(GL_CULL_FACE);
    }
    glEnable(GL_NORMALIZE);
    glMatrixMode(GL_MODELVIEW);
}

void applyTransparency() {
    if (Settings::getTransparency()) {
        glEnable(GL_BLEND);
    } else {
        glDisable(GL_BLEND);
    }
}
