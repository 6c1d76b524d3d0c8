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

// stb reads zeros past the end of a short file; we refuse a bitmap whose headers or
// uncompressed pixel rows do not all fit in the file instead. Layout: 14-byte file
// header (pixel offset at 10), then the core (12-byte) or info (40+ byte) header.
bool pixelRowsInFile(const std::uint8_t* bytes, std::size_t size) {
    constexpr std::size_t kFileHeader = 14;
    if (size < kFileHeader + 12) return false;
    const std::uint32_t pixelOffset = le32(bytes + 10);
    const std::uint32_t headerSize = le32(bytes + 14);
    const std::uint8_t* info = bytes + kFileHeader;
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
    if (headerSize == 12) {
        width = le16(info + 4);
        height = le16(info + 6);
        bits = le16(info + 10);
    } else {
        if (headerSize < 40 || size < kFileHeader + 40) return false;
        const auto signedHeight = static_cast<std::int32_t>(le32(info + 8));
        width = static_cast<std::int32_t>(le32(info + 4)) < 0 ? 0 : le32(info + 4);
        height = signedHeight < 0 ? 0u - static_cast<std::uint64_t>(signedHeight)
                                  : static_cast<std::uint64_t>(signedHeight);
        bits = le16(info + 14);
        compression = le32(info + 16);
    }
    if (kFileHeader + headerSize > size) return false;
    constexpr std::uint64_t kMaxSide = std::uint64_t{1} << 24;  // also stb's limit
    if (width > kMaxSide || height > kMaxSide || bits > 64) return false;
    // Run-length bitmaps carry their own lengths (and stb refuses them anyway).
    if (compression != 0 && compression != 3) return true;
    const std::uint64_t rowBytes = (width * bits + 31) / 32 * 4;
    return pixelOffset + rowBytes * height <= size;
}

}  // namespace

std::optional<BmpImage> decodeBmp(const std::uint8_t* bytes, std::size_t size) {
    if (size < 2 || bytes[0] != 'B' || bytes[1] != 'M' || size > INT_MAX) return std::nullopt;
    if (!pixelRowsInFile(bytes, size)) return std::nullopt;
    const int length = static_cast<int>(size);
    int width = 0;
    int height = 0;
    int components = 0;
    if (stbi_info_from_memory(bytes, length, &width, &height, &components) == 0)
        return std::nullopt;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    if (width <= 0 || height <= 0 || rowBytes * static_cast<std::size_t>(height) > kMaxImageBytes)
        return std::nullopt;

    stbi_uc* pixels = stbi_load_from_memory(bytes, length, &width, &height, &components, 3);
    if (pixels == nullptr) return std::nullopt;
    std::optional<BmpImage> image;
    try {
        image.emplace();
        image->width = width;
        image->height = height;
        image->rgb.resize(rowBytes * static_cast<std::size_t>(height));
        // stb gives the top row first; OpenGL wants the bottom row first.
        for (int row = 0; row < height; ++row)
            std::memcpy(image->rgb.data() + rowBytes * static_cast<std::size_t>(row),
                        pixels + rowBytes * static_cast<std::size_t>(height - 1 - row), rowBytes);
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
