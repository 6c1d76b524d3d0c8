// Bitmaps become tightly packed RGB rows, bottom row first.
#include "render/bmp_image.h"

#include <gtest/gtest.h>

#include "support/test_images.h"

namespace {

std::optional<BmpImage> decode(const std::string& file) {
    return decodeBmp(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
}

// Red counts the column, green the row from the top.
testing_support::Rgb gradient(int x, int y) {
    return {static_cast<std::uint8_t>(10 * x), static_cast<std::uint8_t>(100 + y), 5};
}

TEST(BmpImage, RowsArePackedBottomFirstWithoutPadding) {
    // Three pixels of three bytes: the file pads each row to 12 bytes, we keep 9.
    const auto image = decode(testing_support::bmpFile(3, 2, gradient));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    const std::vector<std::uint8_t> expected = {0, 101, 5, 10, 101, 5, 20, 101, 5,
                                                0, 100, 5, 10, 100, 5, 20, 100, 5};
    EXPECT_EQ(image->rgb, expected);
}

TEST(BmpImage, OtherFormatsAndTruncatedFilesAreRefused) {
    const std::string good = testing_support::solidBmp(4, 4, {1, 2, 3});
    EXPECT_FALSE(decode(""));
    EXPECT_FALSE(decode(testing_support::solidTga(2, 2, {1, 2, 3})));
    EXPECT_FALSE(decode(good.substr(0, 30)));
    EXPECT_FALSE(decode(good.substr(0, good.size() - 20)));
}

}  // namespace
