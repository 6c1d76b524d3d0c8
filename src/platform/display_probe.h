#pragma once

#include <memory>

// The X connection type, without the macros of the X headers.
struct _XDisplay;

namespace platform {

struct DisplayCloser {
    void operator()(_XDisplay* display) const;
};

// A connection to the X display, or none; GLUT would abort the process without one.
// Keep it open until GLUT has its own: a connection closed just before the next one is
// opened can make the X server refuse that next one.
using DisplayProbe = std::unique_ptr<_XDisplay, DisplayCloser>;

// Connects to $DISPLAY. A busy X server may refuse a connection now and then, so it
// tries a few times before saying there is no display (an empty probe).
DisplayProbe openDisplay();

}  // namespace platform
