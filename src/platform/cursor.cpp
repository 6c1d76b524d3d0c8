#include "platform/cursor.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

namespace platform {

void hideCursor() {
    glutSetCursor(GLUT_CURSOR_NONE);
}

bool getCursorPos(int& x, int& y) {
    // GLUT only reports the pointer through motion callbacks, which the game does not use,
    // so ask the X server directly about the window that holds the current context.
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable window = glXGetCurrentDrawable();
    if (display == nullptr || window == 0) return false;
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    unsigned int buttons = 0;
    if (!XQueryPointer(display, window, &root, &child, &rootX, &rootY, &x, &y, &buttons))
        return false;
    return true;
}

void warpCursor(int x, int y) {
    glutWarpPointer(x, y);
}

}  // namespace platform
