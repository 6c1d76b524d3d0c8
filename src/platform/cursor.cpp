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

// True when `window` is `ancestor` or lies inside it.
bool isWithin(Display* display, Window window, Window ancestor) {
    while (window != 0 && window != ancestor) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, window, &root, &parent, &children, &count)) return false;
        if (children != nullptr) XFree(children);
        if (window == root) return false;
        window = parent;
    }
    return window == ancestor;
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
