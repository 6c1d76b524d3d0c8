#pragma once

#include <string>

// Writes the back buffer of a window of this size to a PNG file. False when the file
// cannot be written.
bool writeScreenshot(const std::string& file, int width, int height);
