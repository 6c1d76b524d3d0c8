// TGA textures: a decoded image holds exactly its pixels, and never more than the file's
// packets can give (a run packet of 1 + 3 bytes gives at most 128 pixels).
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "render/tga_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto image = decodeTga(data, size);
    if (!image) return 0;
    const auto pixels = static_cast<std::size_t>(image->width) * image->height;
    fuzz::require(image->channels == 3 || image->channels == 4, "3 or 4 channels");
    fuzz::require(image->data.size() == pixels * image->channels, "exactly the pixels");
    fuzz::require(pixels <= size * 32, "no more pixels than the packets can give");
    return 0;
}
