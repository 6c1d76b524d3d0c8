#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// A decoded Windows bitmap: 3 bytes per pixel in R, G, B order, rows tightly packed
// (3 * width bytes, no padding), bottom row first, as OpenGL expects an upright image.
struct BmpImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> rgb;
};

// Decodes uncompressed and bit-field BMP bytes (1, 4, 8, 16, 24 or 32 bits, core or info
// header, rows stored bottom up or top down) into 24-bit RGB. Refuses anything else, and
// a file too short for the pixels its headers promise, so the image is never more than
// 24 times the size of the file.
std::optional<BmpImage> decodeBmp(const std::uint8_t* bytes, std::size_t size);

// Reads and decodes a BMP file; shows "cannot load bmp <name>" when that fails.
std::optional<BmpImage> loadBmp(const char* filename);
