#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

namespace datagen {

using Bytes = std::vector<uint8_t>;

enum class TgaPacking { Raw, RunLength };

// Truecolour TGA (type 2, or type 10 when run-length encoded) of 24 or 32 bits per pixel,
// rows stored bottom-up (origin bit clear), pixels B, G, R(, A). Run-length packets never
// cross a row.
Bytes encodeTga(const Image& image, int bitsPerPixel, TgaPacking packing);

// Windows bitmap with a 40-byte info header, 24 bits per pixel, bottom-up rows padded to
// four bytes.
Bytes encodeBmp(const Image& image);

// One channel of a pixel as a byte, rounded and clamped.
uint8_t toByte(float v);

void putU16(Bytes& out, uint32_t v);
void putU32(Bytes& out, uint32_t v);

}  // namespace datagen
