// The TGA and BMP writers, checked against ImageMagick's decoders: run-length packets at
// their limits decode to the same pixels as the raw file, and BMP rows are padded.
#include "image_files.h"

#include <gtest/gtest.h>

#include <string>

#include "support/e2e_runner.h"
#include "support/temp_dir.h"

namespace {

using namespace datagen;

void save(const std::string& path, const Bytes& bytes) {
    testing_support::writeFile(path, std::string(bytes.begin(), bytes.end()));
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
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 300; ++x) {
            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
            image.at(x, y) = x < 129   ? Color{0.2f, 0.4f, 0.6f, 1}
                             : x < 257 ? Color{(fx - 129) / 255.0f, 0.1f * fy, 0.5f, 0.5f}
                             : x < 259 ? Color{1, 0, 0, 0.25f}
                                       : Color{static_cast<float>(x % 7) / 7.0f, 1, fy / 3.0f, 1};
        }
    return image;
}

TEST(TgaWriter, RunLengthFileDecodesLikeTheRawOne) {
    testing_support::TempDir dir;
    const Image image = packetEdges();
    for (const int depth : {24, 32}) {
        save(dir.file("raw.tga"), encodeTga(image, depth, TgaPacking::Raw));
        save(dir.file("rle.tga"), encodeTga(image, depth, TgaPacking::RunLength));
        const char* channels = depth == 32 ? "rgba" : "rgb";
        const std::string raw = decoded(dir.file("raw.tga"), channels);
        ASSERT_EQ(raw.size(), 300u * 3 * static_cast<size_t>(depth / 8));
        EXPECT_EQ(decoded(dir.file("rle.tga"), channels), raw);
        // The top-left pixel of the picture comes out first once oriented: (0.2, 0.4, 0.6).
        EXPECT_EQ(raw.substr(0, 3),
                  (std::string{char(toByte(0.2f)), char(toByte(0.4f)), char(toByte(0.6f))}));
        EXPECT_LT(encodeTga(image, depth, TgaPacking::RunLength).size(),
                  encodeTga(image, depth, TgaPacking::Raw).size());
    }
}

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
    // Top-left red, bottom-right blue.
    EXPECT_EQ(rgb, std::string("\xff\0\0", 3) + std::string(12, '\0') + std::string("\0\0\xff", 3));
}

}  // namespace
