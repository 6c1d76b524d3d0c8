#include "fx/hit_flash.h"

#include <GL/gl.h>

#include "render/draw_2d.h"

void drawHitFlash(float alpha, bool transparency) {
    Overlay2d overlay;
    glDisable(GL_TEXTURE_2D);
    glBlendFunc(GL_ONE, GL_DST_ALPHA);
    if (transparency) {
        glEnable(GL_BLEND);
    } else {
        glDisable(GL_BLEND);
    }
    glColor4f(0.688f, 0.09f, 0.09f, alpha);
    glBegin(GL_QUADS);
    glVertex3f(-1.0f, -1.0f, 0.0f);
    glVertex3f(1.0f, -1.0f, 0.0f);
    glVertex3f(1.0f, 1.0f, 0.0f);
    glVertex3f(-1.0f, 1.0f, 0.0f);
    glEnd();
}
