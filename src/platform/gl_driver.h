#pragma once

namespace platform {

// Keeps the loaded OpenGL driver in memory until the process is gone. Without it the
// driver is unloaded when the X display closes at exit, and a leak check at exit can no
// longer tell the driver's own buffers from ours. Call once, after the window exists.
void pinGlDriver();

}  // namespace platform
