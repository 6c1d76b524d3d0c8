#pragma once

namespace platform {

// Sets the window system up for threads, which must come before any other X11 call (a
// box may be raised from a network thread), and from then on shows message boxes as
// real dialogs through SDL2 (message_box.h).
void initWindowSystemThreads();

}  // namespace platform
