#include "image_files.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace datagen {

uint8_t toByte(float v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

void putU16(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void putU32(Bytes& out, uint32_t v) {
    putU16(out, v & 0xFFFF);
    putU16(out, v >> 16);
}

namespace {

using Pixel = std::array<uint8_t, 4>;

Pixel tgaPixel(const Color& c) {
    return {toByte(c.b), toByte(c.g), toByte(c.r), toByte(c.a)};
}

void putPixel(Bytes& out, const Pixel& p, int channels) {
    out.insert(out.end(), p.begin(), p.begin() + channels);
}

// Packs one row: runs of 2 or more equal pixels become run packets (header 128 + n - 1),
// everything else raw packets (header n - 1); both hold at most 128 pixels.
void packRow(Bytes& out, const std::vector<Pixel>& row, int channels) {
    const size_t n = row.size();
    size_t i = 0;
    while (i < n) {
        size_t run = 1;
        while (i + run < n && run < 128 && row[i + run] == row[i]) ++run;
        if (run >= 2) {
            out.push_back(static_cast<uint8_t>(127 + run));
            putPixel(out, row[i], channels);
            i += run;
            continue;
        }
        size_t raw = 1;
        while (i + raw < n && raw < 128 && !(i + raw + 1 < n && row[i + raw] == row[i + raw + 1]))
            ++raw;
        out.push_back(static_cast<uint8_t>(raw - 1));
        for (size_t k = 0; k < raw; ++k) putPixel(out, row[i + k], channels);
        i += raw;
    }
}

}  // namespace

Bytes encodeTga(const Image& image, int bitsPerPixel, TgaPacking packing) {
    const int channels = bitsPerPixel / 8;
    Bytes out;
    out.push_back(0);                                          // image ID length
    out.push_back(0);                                          // no colour map
    out.push_back(packing == TgaPacking::RunLength ? 10 : 2);  // image type
    out.insert(out.end(), 5, 0);                               // colour map fields
    putU16(out, 0);                                            // x origin
    putU16(out, 0);                                            // y origin
    putU16(out, static_cast<uint32_t>(image.width()));
    putU16(out, static_cast<uint32_t>(image.height()));
    out.push_back(static_cast<uint8_t>(bitsPerPixel));
    out.push_back(channels == 4 ? 8 : 0);  // alpha bits; origin bottom-left
    std::vector<Pixel> row(static_cast<size_t>(image.width()));
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x)
            row[static_cast<size_t>(x)] = tgaPixel(image.at(x, y));
        if (packing == TgaPacking::RunLength) {
            packRow(out, row, channels);
        } else {
            for (const Pixel& p : row) putPixel(out, p, channels);
        }
    }
    return out;
}

Bytes encodeBmp(const Image& image) {
    const uint32_t rowBytes = (static_cast<uint32_t>(image.width()) * 3 + 3) & ~3u;
    const uint32_t dataSize = rowBytes * static_cast<uint32_t>(image.height());
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    putU32(out, 54 + dataSize);  // file size
    putU32(out, 0);              // reserved
    putU32(out, 54);             // offset of the pixels
    putU32(out, 40);             // info header size
    putU32(out, static_cast<uint32_t>(image.width()));
    putU32(out, static_cast<uint32_t>(image.height()));  // positive: bottom-up
    putU16(out, 1);                                      // planes
    putU16(out, 24);                                     // bits per pixel
    putU32(out, 0);                                      // no compression
    putU32(out, dataSize);
    putU32(out, 2835);  // 72 dpi
    putU32(out, 2835);
    putU32(out, 0);
    putU32(out, 0);
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            const Color& c = image.at(x, y);
            out.push_back(toByte(c.b));
            out.push_back(toByte(c.g));
            out.push_back(toByte(c.r));
        }
        out.insert(out.end(), rowBytes - static_cast<uint32_t>(image.width()) * 3, 0);
    }
    return out;
}

}  // namespace datagen
