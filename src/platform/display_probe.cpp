#include "platform/display_probe.h"

#include <X11/Xlib.h>

#include <cstdlib>

#include "platform/clock.h"

namespace platform {

void DisplayCloser::operator()(_XDisplay* display) const {
    XCloseDisplay(display);
}

DisplayProbe openDisplay() {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr)) return DisplayProbe(display);
        if (std::getenv("DISPLAY") == nullptr) break;
        sleepMs(50);
    }
    return nullptr;
}

}  // namespace platform
