#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// A decoded TGA image: 8-bit RGB or RGBA pixels, rows tightly packed in the order the
// file stores them (no flip: a bottom-up file, the TGA default, gives an upright
// OpenGL texture).
struct TgaImage {
    std::int32_t channels = 0;  // 3 (RGB) or 4 (RGBA)
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> data;  // width * height * channels bytes
};

enum class TgaError {
    None,
    Unreadable,        // missing, truncated or empty: the file cannot give its pixels
    UnsupportedDepth,  // a bit depth (or run-length depth) we do not read
    TooLarge,          // the pixel block would not fit in memory
};

// The largest pixel block a texture file may ask for: far beyond any texture OpenGL
// takes, and small enough that a forged header cannot exhaust memory.
inline constexpr std::size_t kMaxImageBytes = std::size_t{1} << 30;

// Decodes true-colour TGA bytes: type 10 (run-length encoded, 24 or 32 bits) and
// every other type read as uncompressed true colour (16, 24 or 32 bits). Never reads
// past `size`. On failure returns nothing and, when `error` is given, the reason.
std::optional<TgaImage> decodeTga(const std::uint8_t* bytes, std::size_t size,
                                  TgaError* error = nullptr);

// Reads and decodes a TGA file. A file that cannot be read (or is truncated, or too
// large) shows "cannot load tga.somthing bad happend..."; an unsupported depth fails
// without a message.
std::optional<TgaImage> loadTga(const char* filename);
