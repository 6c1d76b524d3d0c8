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

// True while the game window has the keyboard focus: the focus is on the window (or
// inside it), or follows the pointer and the pointer is over the window. Mouse look
// reads and re-centres the cursor only then.
bool hasKeyboardFocus();

}  // namespace platform
