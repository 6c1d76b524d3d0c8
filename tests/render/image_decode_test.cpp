// The image decoders: TGA files and bitmaps become tightly packed rows, bottom row first.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "render/bmp_image.h"
#include "render/tga_image.h"
#include "support/test_images.h"

namespace {

using namespace testing_support;
using Data = std::vector<std::uint8_t>;

// One 24-bit file pixel, stored B, G, R.
std::string bgr(int r, int g, int b) {
    return {static_cast<char>(b), static_cast<char>(g), static_cast<char>(r)};
}

// Pixels (red(i), 7, 9) for i from 0, as the file stores them or as the decoder gives them.
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

// In order: run-length packet headers 127 (128 raw pixels) and 255 (a run writing its
// pixel 128 times); packets past the image are cut at the pixels still missing; 32 bits
// keep alpha and swap red and blue; 16 bits give each five-bit channel times eight, the
// top bit ignored; an image ID is skipped. Refused: an empty file, half the pixels, an ID
// past the end, runs that end before the image, a huge image in a tiny file, one too
// large for memory, 8 bits, 16 bits run-length.
TEST(TgaImage, DecodedFilesGiveTheirPixelsRefusedOnesTheirReason) {
    const struct {
        std::string file;
        TgaError error;
        int width = 0, channels = 0;
        Data data = {};
    } cases[] = {
        {tgaFile(10, 128, 1, 24, "\x7f" + rawPixels(128)), TgaError::None, 128, 3, rgbPixels(128)},
        {tgaFile(10, 128, 1, 24, "\xff" + bgr(42, 7, 9)), TgaError::None, 128, 3,
         rgbPixels(128, [](int) { return 42; })},
        {tgaFile(10, 4, 1, 24, "\x02" + rawPixels(3) + "\xff" + bgr(200, 7, 9)), TgaError::None, 4,
         3, rgbPixels(4, [](int i) { return i < 3 ? i : 200; })},
        {tgaFile(10, 3, 1, 32, std::string("\x82\x01\x02\x03\x04", 5)), TgaError::None, 3, 4,
         Data{3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4}},
        {tgaFile(2, 4, 1, 16, std::string("\xff\x7f\x00\xfc\xe0\x03\x1f\x80", 8)), TgaError::None,
         4, 3, Data{248, 248, 248, 248, 0, 0, 0, 248, 0, 0, 0, 248}},
        {tgaFile(2, 2, 1, 24, bgr(1, 2, 3) + bgr(4, 5, 6), "VOKA!"), TgaError::None, 2, 3,
         Data{1, 2, 3, 4, 5, 6}},
        {"", TgaError::Unreadable},
        {tgaFile(2, 2, 2, 24, rawPixels(2)), TgaError::Unreadable},
        {tgaFile(2, 1, 1, 24, "", "ABCDE").substr(0, 20), TgaError::Unreadable},
        {tgaFile(10, 300, 1, 24, "\xff" + bgr(1, 2, 3)), TgaError::Unreadable},
        {tgaFile(10, 16000, 16000, 24, "\xff\x01\x02\x03"), TgaError::Unreadable},
        {tgaFile(2, 65535, 65535, 32, ""), TgaError::TooLarge},
        {tgaFile(2, 1, 1, 8, "\x01"), TgaError::UnsupportedDepth},
        {tgaFile(10, 1, 1, 16, "\x80\xff\x7f"), TgaError::UnsupportedDepth}};
    for (const auto& c : cases) {
        TgaError error = TgaError::None;
        const auto image =
            decodeTga(reinterpret_cast<const std::uint8_t*>(c.file.data()), c.file.size(), &error);
        EXPECT_EQ(error, c.error) << &c - cases;
        ASSERT_EQ(image.has_value(), c.error == TgaError::None) << &c - cases;
        if (!image) continue;
        EXPECT_EQ(std::tuple(image->width, image->height, image->channels, image->data),
                  std::tuple(c.width, 1, c.channels, c.data))
            << &c - cases;
    }
}

std::optional<BmpImage> decode(const std::string& file) {
    return decodeBmp(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
}

// The file with the little-endian 32-bit header field at `offset` replaced.
std::string withField(std::string file, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) file[offset + i] = static_cast<char>(value >> (8 * i));
    return file;
}

// Three pixels of three bytes: the file pads each row to 12 bytes, we keep 9. A file
// that stores its rows top down gives the same image. Red counts the column, green the
// row from the top. Then refused files: the 54 bytes of `huge` announce 16000000 x 22
// pixels with a compression we do not read: taken for uncompressed, the missing rows
// would fill a gigabyte with zeros.
TEST(BmpImage, RowsArePackedBottomFirstWithoutPaddingOtherFormatsAreRefused) {
    const auto pixel = [](int x, int y) {
        return Rgb{std::uint8_t(10 * x), std::uint8_t(100 + y), 5};
    };
    for (const bool topDown : {false, true}) {
        const auto image = decode(bmpFile(3, 2, pixel, topDown));
        ASSERT_TRUE(image) << topDown;
        EXPECT_EQ(
            std::tuple(image->width, image->height, image->rgb),
            std::tuple(3, 2,
                       Data{0, 101, 5, 10, 101, 5, 20, 101, 5, 0, 100, 5, 10, 100, 5, 20, 100, 5}));
    }
    const std::string good = solidBmp(4, 4, {1, 2, 3});
    const std::string huge = withField(withField(good, 18, 16000000), 22, 22).substr(0, 54);
    for (const std::string& file :
         {std::string(), solidTga(2, 2, {1, 2, 3}), good.substr(0, 30),
          good.substr(0, good.size() - 20), withField(huge, 30, 0xFFFFFFFF),
          withField(huge, 30, 0x80000000), withField(good, 30, 0xFFFFFFFF)})
        EXPECT_FALSE(decode(file)) << file.size();
}

}  // namespace
