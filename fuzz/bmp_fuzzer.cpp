// BMP textures: a decoded image holds exactly its pixels, and never more than the file's
// bits can describe (1 bit a pixel becomes 3 bytes: at most 24 times the file).
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "render/bmp_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto image = decodeBmp(data, size);
    if (!image) return 0;
    const auto pixels = static_cast<std::size_t>(image->width) * image->height;
    fuzz::require(image->width > 0 && image->height > 0, "a positive size");
    fuzz::require(image->rgb.size() == pixels * 3, "exactly the pixels");
    fuzz::require(image->rgb.size() <= size * 24, "no more than the file describes");
    return 0;
}
