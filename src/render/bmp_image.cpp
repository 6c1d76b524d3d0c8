#include "render/bmp_image.h"

#include <climits>
#include <cstring>
#include <new>
#include <string>

#include "platform/message_box.h"
#include "render/file_bytes.h"
#include "render/tga_image.h"

// stb_image, limited to bitmaps and kept private to this file.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#include <stb_image.h>

namespace {

std::uint32_t le16(const std::uint8_t* p) {
    return p[0] | (static_cast<std::uint32_t>(p[1]) << 8);
}
std::uint32_t le32(const std::uint8_t* p) {
    return le16(p) | (le16(p + 2) << 16);
}

// What the headers promise, checked against the file before anything is allocated.
struct BmpLayout {
    std::uint64_t width = 0;
    std::uint64_t height = 0;  // rows, whichever way they are stored
};

// stb reads zeros past the end of a short file, and reads any compression field with
// the top bit set (a negative number to it) as uncompressed: a 54-byte header could make
// it allocate and fill a gigabyte. We read only uncompressed and bit-field bitmaps at the
// depths Windows writes, and refuse one whose headers and pixel rows do not all fit in
// the file, so the decoded image is at most 24 times the file (1 bit becomes 3 bytes).
// Layout: 14-byte file header (pixel offset at 10), then the core (12-byte) or info
// (40+ byte) header: width, height (negative when the rows are stored top down), planes,
// bits per pixel and, in the info header, the compression.
std::optional<BmpLayout> readableLayout(const std::uint8_t* bytes, std::size_t size) {
    constexpr std::size_t kFileHeader = 14;
    constexpr std::uint32_t kUncompressed = 0;
    constexpr std::uint32_t kBitFields = 3;
    if (size < kFileHeader + 12) return std::nullopt;
    const std::uint32_t pixelOffset = le32(bytes + 10);
    const std::uint32_t headerSize = le32(bytes + 14);
    const std::uint8_t* info = bytes + kFileHeader;
    BmpLayout layout;
    std::uint32_t bits = 0;
    std::uint32_t compression = kUncompressed;
    if (headerSize == 12) {
        layout.width = le16(info + 4);
        layout.height = le16(info + 6);
        bits = le16(info + 10);
    } else {
        if (headerSize < 40 || size < kFileHeader + 40) return std::nullopt;
        const auto signedWidth = static_cast<std::int32_t>(le32(info + 4));
        const auto signedHeight = static_cast<std::int32_t>(le32(info + 8));
        if (signedWidth < 0) return std::nullopt;
        layout.width = static_cast<std::uint64_t>(signedWidth);
        layout.height = signedHeight < 0 ? 0u - static_cast<std::uint64_t>(signedHeight)
                                         : static_cast<std::uint64_t>(signedHeight);
        bits = le16(info + 14);
        compression = le32(info + 16);
    }
    if (compression != kUncompressed && compression != kBitFields) return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return std::nullopt;
    constexpr std::uint64_t kMaxSide = std::uint64_t{1} << 24;  // also stb's limit
    if (layout.width == 0 || layout.height == 0 || layout.width > kMaxSide ||
        layout.height > kMaxSide)
        return std::nullopt;
    if (pixelOffset < kFileHeader + headerSize || pixelOffset > size) return std::nullopt;
    const std::uint64_t rowBytes = (layout.width * bits + 31) / 32 * 4;
    if (rowBytes * layout.height > size - pixelOffset) return std::nullopt;
    return layout;
}

}  // namespace

std::optional<BmpImage> decodeBmp(const std::uint8_t* bytes, std::size_t size) {
    if (size < 2 || bytes[0] != 'B' || bytes[1] != 'M' || size > INT_MAX) return std::nullopt;
    const std::optional<BmpLayout> layout = readableLayout(bytes, size);
    if (!layout) return std::nullopt;
    const std::size_t rowBytes = layout->width * 3;
    if (rowBytes * layout->height > kMaxImageBytes) return std::nullopt;

    int width = 0;
    int height = 0;
    int components = 0;
    stbi_uc* pixels =
        stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &components, 3);
    if (pixels == nullptr) return std::nullopt;
    std::optional<BmpImage> image;
    try {
        if (static_cast<std::uint64_t>(width) == layout->width &&
            static_cast<std::uint64_t>(height) == layout->height) {
            image.emplace();
            image->width = width;
            image->height = height;
            image->rgb.resize(rowBytes * static_cast<std::size_t>(height));
            // stb gives the top row first, however the file stores them; OpenGL wants the
            // bottom row first.
            for (int row = 0; row < height; ++row)
                std::memcpy(image->rgb.data() + rowBytes * static_cast<std::size_t>(row),
                            pixels + rowBytes * static_cast<std::size_t>(height - 1 - row),
                            rowBytes);
        }
    } catch (const std::bad_alloc&) {
        image.reset();
    }
    stbi_image_free(pixels);
    return image;
}

std::optional<BmpImage> loadBmp(const char* filename) {
    std::vector<std::uint8_t> bytes;
    std::optional<BmpImage> image;
    if (readFileBytes(filename, bytes)) image = decodeBmp(bytes.data(), bytes.size());
    if (!image) showError(std::string("cannot load bmp ") + filename);
    return image;
}
