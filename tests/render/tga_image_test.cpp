#include "render/tga_image.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "support/test_images.h"

namespace {

using testing_support::tgaFile;
using Data = std::vector<std::uint8_t>;

// One 24-bit file pixel, stored B, G, R.
std::string bgr(int r, int g, int b) {
    return {static_cast<char>(b), static_cast<char>(g), static_cast<char>(r)};
}

// Pixels (i, 7, 9) for i from 0, as the file stores them and as the decoder gives them.
std::string rawPixels(int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += bgr(i, 7, 9);
    return out;
}

Data rgbPixels(
    int count, int (*red)(int) = [](int i) { return i; }) {
    Data out;
    for (int i = 0; i < count; ++i) out.insert(out.end(), {std::uint8_t(red(i)), 7, 9});
    return out;
}

// A one-row uncompressed 16-bit file holding `words`.
std::string words16(std::initializer_list<std::uint16_t> words) {
    std::string body;
    for (const std::uint16_t word : words)
        body += {static_cast<char>(word & 0xFF), static_cast<char>(word >> 8)};
    return tgaFile(2, static_cast<int>(words.size()), 1, 16, body);
}

// Run-length packet headers: 127 is 128 raw pixels, 255 a run writing its pixel 128 times;
// packets past the image are cut at the pixels still missing; 32 bits keep alpha and swap
// red and blue; 16 bits give each five-bit channel times eight, the top bit ignored; an
// image ID is skipped.
TEST(TgaImage, DecodedFilesGiveTheirSizeAndPixels) {
    const struct {
        const char* name;
        std::string file;
        int width, channels;
        Data data;
    } cases[] = {
        {"header127", tgaFile(10, 128, 1, 24, "\x7f" + rawPixels(128)), 128, 3, rgbPixels(128)},
        {"header255", tgaFile(10, 128, 1, 24, "\xff" + bgr(42, 7, 9)), 128, 3,
         rgbPixels(128, [](int) { return 42; })},
        {"runPastTheImage", tgaFile(10, 4, 1, 24, "\x02" + rawPixels(3) + "\xff" + bgr(200, 7, 9)),
         4, 3, rgbPixels(4, [](int i) { return i < 3 ? i : 200; })},
        {"rle32", tgaFile(10, 3, 1, 32, std::string("\x82\x01\x02\x03\x04", 5)), 3, 4,
         Data{3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4}},
        {"words16", words16({0x7FFF, 0xFC00, 0x03E0, 0x801F}), 4, 3,
         Data{248, 248, 248, 248, 0, 0, 0, 248, 0, 0, 0, 248}},
        {"rawWithId", tgaFile(2, 2, 1, 24, bgr(1, 2, 3) + bgr(4, 5, 6), "VOKA!"), 2, 3,
         Data{1, 2, 3, 4, 5, 6}},
    };
    for (const auto& c : cases) {
        const auto image =
            decodeTga(reinterpret_cast<const std::uint8_t*>(c.file.data()), c.file.size(), nullptr);
        ASSERT_TRUE(image) << c.name;
        EXPECT_EQ(image->width, c.width) << c.name;
        EXPECT_EQ(image->height, 1) << c.name;
        EXPECT_EQ(image->channels, c.channels) << c.name;
        EXPECT_EQ(image->data, c.data) << c.name;
    }
}

TEST(TgaImage, RefusedFilesGiveNoImageAndTheirReason) {
    const std::string header2x2 = tgaFile(2, 2, 2, 24, "");
    const struct {
        const char* name;
        std::string file;
        TgaError error;
    } cases[] = {
        {"empty", "", TgaError::Unreadable},
        {"halfThePixels", header2x2 + rawPixels(2), TgaError::Unreadable},
        {"idPastTheEnd", tgaFile(2, 1, 1, 24, "", "ABCDE").substr(0, 20), TgaError::Unreadable},
        {"runsEndBeforeTheImage", tgaFile(10, 300, 1, 24, "\xff" + bgr(1, 2, 3)),
         TgaError::Unreadable},
        {"hugeImageInATinyFile", tgaFile(10, 16000, 16000, 24, "\xff\x01\x02\x03"),
         TgaError::Unreadable},
        {"tooLargeForMemory", tgaFile(2, 65535, 65535, 32, ""), TgaError::TooLarge},
        {"eightBits", tgaFile(2, 1, 1, 8, "\x01"), TgaError::UnsupportedDepth},
        {"sixteenBitsRunLength", tgaFile(10, 1, 1, 16, "\x80\xff\x7f"), TgaError::UnsupportedDepth},
    };
    for (const auto& c : cases) {
        TgaError error = TgaError::None;
        EXPECT_FALSE(
            decodeTga(reinterpret_cast<const std::uint8_t*>(c.file.data()), c.file.size(), &error))
            << c.name;
        EXPECT_EQ(error, c.error) << c.name;
    }
}

}  // namespace
