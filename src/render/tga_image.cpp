#include "render/tga_image.h"

#include <algorithm>
#include <new>

#include "platform/message_box.h"
#include "render/file_bytes.h"

namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr std::uint8_t kTypeRunLength = 10;

// Reads forward through the file's bytes and never beyond them.
class ByteReader {
  public:
    ByteReader(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

    bool has(std::size_t count) const { return size_ - pos_ >= count; }
    std::size_t remaining() const { return size_ - pos_; }
    const std::uint8_t* take(std::size_t count) {
        const std::uint8_t* at = bytes_ + pos_;
        pos_ += count;
        return at;
    }

  private:
    const std::uint8_t* bytes_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Stores one file pixel (B, G, R(, A)) as R, G, B(, A).
void storePixel(const std::uint8_t* in, std::uint8_t* out, int channels) {
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
    if (channels == 4) out[3] = in[3];
}

bool decodeRunLength(ByteReader& in, TgaImage& image, std::size_t pixels) {
    const auto channels = static_cast<std::size_t>(image.channels);
    std::uint8_t* out = image.data.data();
    std::size_t written = 0;
    while (written < pixels) {
        if (!in.has(1)) return false;
        const std::uint8_t header = *in.take(1);
        // A packet that would run past the image is cut at the pixels still missing.
        if (header >= 128) {
            const std::size_t count = std::min<std::size_t>(header - 127u, pixels - written);
            if (!in.has(channels)) return false;
            const std::uint8_t* pixel = in.take(channels);
            for (std::size_t i = 0; i < count; ++i, ++written)
                storePixel(pixel, out + written * channels, image.channels);
        } else {
            const std::size_t count = std::min<std::size_t>(header + 1u, pixels - written);
            if (!in.has(count * channels)) return false;
            for (std::size_t i = 0; i < count; ++i, ++written)
                storePixel(in.take(channels), out + written * channels, image.channels);
        }
    }
    return true;
}

bool decodeTrueColour(ByteReader& in, TgaImage& image, std::size_t pixels) {
    const auto channels = static_cast<std::size_t>(image.channels);
    if (!in.has(pixels * channels)) return false;
    const std::uint8_t* pixel = in.take(pixels * channels);
    for (std::size_t i = 0; i < pixels; ++i)
        storePixel(pixel + i * channels, image.data.data() + i * channels, image.channels);
    return true;
}

// 16-bit pixels are little-endian words x RRRRR GGGGG BBBBB; the top bit is ignored
// and each 5-bit channel is scaled by 8, so channels reach at most 248.
bool decode16(ByteReader& in, TgaImage& image, std::size_t pixels) {
    if (!in.has(pixels * 2)) return false;
    const std::uint8_t* word = in.take(pixels * 2);
    std::uint8_t* out = image.data.data();
    for (std::size_t i = 0; i < pixels; ++i) {
        const unsigned w = word[2 * i] | (static_cast<unsigned>(word[2 * i + 1]) << 8);
        out[3 * i + 0] = static_cast<std::uint8_t>(((w >> 10) & 31u) * 8u);
        out[3 * i + 1] = static_cast<std::uint8_t>(((w >> 5) & 31u) * 8u);
        out[3 * i + 2] = static_cast<std::uint8_t>((w & 31u) * 8u);
    }
    return true;
}

std::optional<TgaImage> fail(TgaError reason, TgaError* error) {
    if (error != nullptr) *error = reason;
    return std::nullopt;
}

}  // namespace

std::optional<TgaImage> decodeTga(const std::uint8_t* bytes, std::size_t size, TgaError* error) {
    if (error != nullptr) *error = TgaError::None;
    ByteReader in(bytes, size);
    if (!in.has(kHeaderSize)) return fail(TgaError::Unreadable, error);
    const std::uint8_t* header = in.take(kHeaderSize);
    const std::uint8_t idLength = header[0];
    const std::uint8_t type = header[2];
    TgaImage image;
    image.width = header[12] | (header[13] << 8);
    image.height = header[14] | (header[15] << 8);
    const int bits = header[16];
    // The descriptor (byte 17) is never looked at; the image ID is skipped.
    if (!in.has(idLength)) return fail(TgaError::Unreadable, error);
    in.take(idLength);

    if (type == kTypeRunLength) {
        if (bits != 24 && bits != 32) return fail(TgaError::UnsupportedDepth, error);
    } else if (bits != 16 && bits != 24 && bits != 32) {
        return fail(TgaError::UnsupportedDepth, error);
    }
    image.channels = bits == 32 ? 4 : 3;
    const std::size_t pixels =
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    if (pixels == 0) return fail(TgaError::Unreadable, error);
    const std::size_t bytesNeeded = pixels * static_cast<std::size_t>(image.channels);
    if (bytesNeeded > kMaxImageBytes) return fail(TgaError::TooLarge, error);
    // Each run packet of 1 + channels bytes gives at most 128 pixels: a file too short
    // for the image is refused before its pixel block is allocated.
    const std::size_t filePixelBytes = bits == 16 ? 2 : static_cast<std::size_t>(bits / 8);
    const std::size_t mostPixels = type == kTypeRunLength
                                       ? in.remaining() / (1 + filePixelBytes) * 128
                                       : in.remaining() / filePixelBytes;
    if (pixels > mostPixels) return fail(TgaError::Unreadable, error);
    try {
        image.data.resize(bytesNeeded);
    } catch (const std::bad_alloc&) {
        return fail(TgaError::TooLarge, error);
    }

    bool complete = false;
    if (type == kTypeRunLength)
        complete = decodeRunLength(in, image, pixels);
    else if (bits == 16)
        complete = decode16(in, image, pixels);
    else
        complete = decodeTrueColour(in, image, pixels);
    if (!complete) return fail(TgaError::Unreadable, error);
    return image;
}

std::optional<TgaImage> loadTga(const char* filename) {
    std::vector<std::uint8_t> bytes;
    TgaError error = TgaError::Unreadable;
    std::optional<TgaImage> image;
    if (readFileBytes(filename, bytes)) image = decodeTga(bytes.data(), bytes.size(), &error);
    if (!image && error != TgaError::UnsupportedDepth)
        showError("cannot load tga.somthing bad happend...");
    return image;
}
