// Bitmaps become tightly packed RGB rows, bottom row first.
#include "render/bmp_image.h"

#include <gtest/gtest.h>

#include "support/test_images.h"

namespace {

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
// row from the top.
TEST(BmpImage, RowsArePackedBottomFirstWithoutPadding) {
    for (const bool topDown : {false, true}) {
        const auto image = decode(testing_support::bmpFile(
            3, 2,
            [](int x, int y) {
                return testing_support::Rgb{std::uint8_t(10 * x), std::uint8_t(100 + y), 5};
            },
            topDown));
        ASSERT_TRUE(image) << topDown;
        EXPECT_EQ(std::pair(image->width, image->height), std::pair(3, 2));
        EXPECT_EQ(image->rgb, (std::vector<std::uint8_t>{0, 101, 5, 10, 101, 5, 20, 101, 5, 0, 100,
                                                         5, 10, 100, 5, 20, 100, 5}))
            << topDown;
    }
}

// 16000000 x 22 pixels in 54 bytes, with a compression we do not read: taken for
// uncompressed, the missing rows would fill a gigabyte with zeros.
TEST(BmpImage, OtherFormatsAndTruncatedFilesAreRefused) {
    const std::string good = testing_support::solidBmp(4, 4, {1, 2, 3});
    const std::string huge = withField(withField(good, 18, 16000000), 22, 22).substr(0, 54);
    for (const std::string& file :
         {std::string(), testing_support::solidTga(2, 2, {1, 2, 3}), good.substr(0, 30),
          good.substr(0, good.size() - 20), withField(huge, 30, 0xFFFFFFFF),
          withField(huge, 30, 0x80000000), withField(good, 30, 0xFFFFFFFF)})
        EXPECT_FALSE(decode(file)) << file.size();
}

}  // namespace
