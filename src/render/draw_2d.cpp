#include "render/draw_2d.h"

#include <GL/freeglut.h>

void beginOverlay2d() {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-1.0, 1.0, -1.0, 1.0, 0.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    // What is drawn on the screen lies on the glass, not in the ground fog (and fogging
    // every pixel of a full-screen flash costs a software renderer a millisecond or two).
    glDisable(GL_FOG);
}

void endOverlay2d() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

void drawText(float x, float y, const char* text) {
    glRasterPos2f(x, y);
    for (const char* c = text; *c != '\0'; ++c)
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, static_cast<unsigned char>(*c));
}

void drawTexturedQuad(float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                      float y4) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(x1, y1);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(x2, y2);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(x3, y3);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(x4, y4);
    glEnd();
}

void drawBackground(unsigned int texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    drawTexturedRect(-1.0f, 1.0f, 1.0f, -1.0f);
}

void drawMarker(float x, float y, const std::uint8_t rgba[4]) {
    constexpr float kHalf = 0.01f;
    glColor4ub(rgba[0], rgba[1], rgba[2], rgba[3]);
    glBegin(GL_LINES);
    glVertex2f(x - kHalf, y + kHalf);
    glVertex2f(x + kHalf, y - kHalf);
    glVertex2f(x - kHalf, y - kHalf);
    glVertex2f(x + kHalf, y + kHalf);
    glEnd();
}
