#pragma once

namespace platform {

// Keeps the loaded OpenGL driver in memory until the process is gone. Without it the
// driver is unloaded when the X display closes at exit, and a leak check at exit can no
// longer tell the driver's own buffers from ours. In a leak-checking build it also makes
// the exit-time leak check run before the driver stops its worker threads. Call once,
// after the window exists.
void pinGlDriver();

}  // namespace platform
