#pragma once

#include "platform/display_probe.h"
#include "viewer_options.h"

// Opens the viewer's window and flies the camera until Esc, or for the frames of a
// timed run, which ends with one line of figures on stdout. `display` is an open X
// connection that is closed once GLUT has its own. The working directory is the game
// directory. Returns the process exit code.
int runViewer(const ViewerOptions& options, const char* title, platform::DisplayProbe display);
