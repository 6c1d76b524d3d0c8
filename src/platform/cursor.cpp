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

namespace {

// True when `window` is `ancestor` or lies inside it. The walk goes down from
// `ancestor`, the game's own window: the focus may be another program's window, which
// can close at any moment, and asking the X server about a closed window ends the game
// in Xlib's default error handler.
bool isWithin(Display* display, Window window, Window ancestor) {
    if (window == ancestor) return true;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, ancestor, &root, &parent, &children, &count)) return false;
    bool found = false;
    for (unsigned int i = 0; i < count && !found; ++i)
        found = isWithin(display, window, children[i]);
    if (children != nullptr) XFree(children);
    return found;
}

}  // namespace

bool hasKeyboardFocus() {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable window = glXGetCurrentDrawable();
    if (display == nullptr || window == 0) return false;
    Window focus = 0;
    int revertTo = 0;
    XGetInputFocus(display, &focus, &revertTo);
    if (focus == PointerRoot) {
        int x = 0;
        int y = 0;
        XWindowAttributes attributes{};
        return getCursorPos(x, y) && XGetWindowAttributes(display, window, &attributes) && x >= 0 &&
               y >= 0 && x < attributes.width && y < attributes.height;
    }
    return focus != None && isWithin(display, focus, window);
}

}  // namespace platform
