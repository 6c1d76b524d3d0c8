#pragma once

#include <cstdint>

// 2D drawing in window coordinates: both axes run from -1 to 1 across the whole
// window, x to the right, y upwards, (0, 0) at the centre, whatever the window's size.
// All of it issues OpenGL calls on the main thread.

// The 2D overlay bracket. Entering pushes every attribute and both matrices, sets
// glOrtho(-1, 1, -1, 1, 0, 1) and disables depth test, lighting and fog; leaving restores
// all of it, so nothing set in between leaks into the next 3D frame.
void beginOverlay2d();
void endOverlay2d();

class Overlay2d {
  public:
    Overlay2d() { beginOverlay2d(); }
    ~Overlay2d() { endOverlay2d(); }
    Overlay2d(const Overlay2d&) = delete;
    Overlay2d& operator=(const Overlay2d&) = delete;
};

// Bitmap text (Helvetica 18 pixels) in the current colour, starting at the left end of
// the base line. Text whose start lies outside the window draws nothing.
void drawText(float x, float y, const char* text);

// One quad with the bound texture in opaque white; the corners get the texture
// coordinates (0, 1), (0, 0), (1, 0), (1, 1), so give them top-left, bottom-left,
// bottom-right, top-right for an upright image.
void drawTexturedQuad(float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                      float y4);

// The same for an upright rectangle.
inline void drawTexturedRect(float left, float top, float right, float bottom) {
    drawTexturedQuad(left, top, left, bottom, right, bottom, right, top);
}

// Binds `texture` and draws it over the whole window.
void drawBackground(unsigned int texture);

// A small X (0.02 wide) centred at (x, y) in the colour red, green, blue, alpha.
void drawMarker(float x, float y, const std::uint8_t rgba[4]);
