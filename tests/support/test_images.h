#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "support/temp_dir.h"  // writeFile

namespace testing_support {

using Rgb = std::array<std::uint8_t, 3>;

// A TGA file: the 18-byte header (ID length, image type, width, height, bits per
// pixel), the image ID, then `body` as it is (pixels or run-length packets).
std::string tgaFile(int type, int width, int height, int bits, const std::string& body,
                    const std::string& imageId = "");
// An uncompressed 24-bit TGA of one colour.
std::string solidTga(int width, int height, Rgb colour);
// A 24-bit Windows bitmap (info header, rows bottom first, padded to 4 bytes; top first
// with a negative height when `topDown`) whose pixel (x, y), y counted from the top, is
// `pixel(x, y)`.
std::string bmpFile(int width, int height, Rgb (*pixel)(int x, int y), bool topDown = false);
std::string solidBmp(int width, int height, Rgb colour);
// A 16-bit mono WAV file at `rate` samples per second.
std::string wavFile(const std::vector<std::int16_t>& samples, int rate = 44100);

// Writes every image the menu, story, about and configuration screens load into
// <dir>/textures that is not there yet, each a small solid colour of its own (see
// screenImageColour). Tests that construct a Game need at least these.
void writeScreenImages(const std::string& dir);
// The colour writeScreenImages gives a file, by its name under textures/.
Rgb screenImageColour(const std::string& name);

}  // namespace testing_support
