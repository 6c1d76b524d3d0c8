#pragma once

// The mouse cursor of the game window, in window pixel coordinates (origin top left).
// All of these need the GLUT window to be current and run on the main thread.
namespace platform {

// Hides the cursor over the game window for the rest of the run.
void hideCursor();

// Reads the cursor position relative to the window; false when it cannot be read.
bool getCursorPos(int& x, int& y);

// Moves the cursor to a position inside the window.
void warpCursor(int x, int y);

}  // namespace platform
