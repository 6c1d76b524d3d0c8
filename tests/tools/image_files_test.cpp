// The TGA and BMP writers, checked against ImageMagick's decoders: run-length packets at
// their limits decode to the same pixels as the raw file, and BMP rows are padded.
#include "image_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/e2e_runner.h"
#include "support/temp_dir.h"

namespace {

using namespace datagen;

void save(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// Pixels as ImageMagick decodes them, top row first.
std::string decoded(const std::string& path, const char* channels) {
    return testing_support::runCommand("convert '" + path + "' -auto-orient -depth 8 " + channels +
                                       ":- 2>/dev/null");
}

// Rows of 300 pixels: a run of 129 (longer than one packet), 128 distinct pixels (exactly
// one raw packet), a run of 2, then single pixels; with a varying alpha.
Image packetEdges() {
    Image image(300, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 300; ++x) {
            Color c{0.2f, 0.4f, 0.6f, 1};
            if (x >= 129 && x < 257)
                c = {static_cast<float>(x - 129) / 255.0f, 0.1f * static_cast<float>(y), 0.5f,
                     0.5f};
            if (x >= 257 && x < 259) c = {1, 0, 0, 0.25f};
            if (x >= 259)
                c = {static_cast<float>(x % 7) / 7.0f, 1, static_cast<float>(y) / 3.0f, 1};
            image.at(x, y) = c;
        }
    }
    return image;
}

class TgaDepth : public ::testing::TestWithParam<int> {};

TEST_P(TgaDepth, RunLengthFileDecodesLikeTheRawOne) {
    testing_support::TempDir dir;
    const Image image = packetEdges();
    save(dir.file("raw.tga"), encodeTga(image, GetParam(), TgaPacking::Raw));
    save(dir.file("rle.tga"), encodeTga(image, GetParam(), TgaPacking::RunLength));
    const char* channels = GetParam() == 32 ? "rgba" : "rgb";
    const std::string raw = decoded(dir.file("raw.tga"), channels);
    ASSERT_EQ(raw.size(), 300u * 3 * static_cast<size_t>(GetParam() / 8));
    EXPECT_EQ(decoded(dir.file("rle.tga"), channels), raw);
    // The top-left pixel of the picture comes out first once oriented: (0.2, 0.4, 0.6).
    EXPECT_EQ(static_cast<unsigned char>(raw[0]), toByte(0.2f));
    EXPECT_EQ(static_cast<unsigned char>(raw[2]), toByte(0.6f));
    EXPECT_LT(encodeTga(image, GetParam(), TgaPacking::RunLength).size(),
              encodeTga(image, GetParam(), TgaPacking::Raw).size());
}

INSTANTIATE_TEST_SUITE_P(Depths, TgaDepth, ::testing::Values(24, 32));

// Rows of width 3 need one byte of padding each; the pixels still come out in place.
TEST(BmpWriter, PadsRowsToFourBytes) {
    testing_support::TempDir dir;
    Image image(3, 2);
    image.at(0, 0) = {1, 0, 0, 1};
    image.at(2, 1) = {0, 0, 1, 1};
    const Bytes bytes = encodeBmp(image);
    EXPECT_EQ(bytes.size(), 54u + 2 * 12);
    save(dir.file("p.bmp"), bytes);
    const std::string rgb = decoded(dir.file("p.bmp"), "rgb");
    ASSERT_EQ(rgb.size(), 18u);
    EXPECT_EQ(static_cast<unsigned char>(rgb[0]), 255);   // top-left red
    EXPECT_EQ(static_cast<unsigned char>(rgb[17]), 255);  // bottom-right blue
    EXPECT_EQ(static_cast<unsigned char>(rgb[15]), 0);
}

}  // namespace
