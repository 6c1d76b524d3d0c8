// The TGA and BMP writers, checked against ImageMagick's decoders: run-length packets at
// their limits decode to the same pixels as the raw file, and BMP rows are padded.
#include "image_files.h"

#include <gtest/gtest.h>

#include <string>

#include "support/e2e_runner.h"
#include "support/temp_dir.h"

namespace {

using namespace datagen;

// `bytes` saved under `name` and decoded by ImageMagick: pixels, top row first.
std::string decoded(const Bytes& bytes, const char* name, const char* channels) {
    testing_support::TempDir dir;
    testing_support::writeFile(dir.file(name), std::string(bytes.begin(), bytes.end()));
    return testing_support::runCommand("convert '" + dir.file(name) + "' -auto-orient -depth 8 " +
                                       channels + ":- 2>/dev/null");
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
    const Image image = packetEdges();
    for (const int depth : {24, 32}) {
        const Bytes raw = encodeTga(image, depth, TgaPacking::Raw);
        const Bytes packed = encodeTga(image, depth, TgaPacking::RunLength);
        const char* channels = depth == 32 ? "rgba" : "rgb";
        const std::string pixels = decoded(raw, "i.tga", channels);
        ASSERT_EQ(pixels.size(), 300u * 3 * static_cast<size_t>(depth / 8));
        EXPECT_EQ(decoded(packed, "i.tga", channels), pixels);
        // The top-left pixel of the picture comes out first once oriented: (0.2, 0.4, 0.6).
        EXPECT_EQ(pixels.substr(0, 3),
                  (std::string{char(toByte(0.2f)), char(toByte(0.4f)), char(toByte(0.6f))}));
        EXPECT_LT(packed.size(), raw.size());
    }
}

// Rows of width 3 need one byte of padding each; the pixels still come out in place:
// top-left red, bottom-right blue.
TEST(BmpWriter, PadsRowsToFourBytes) {
    Image image(3, 2);
    image.at(0, 0) = {1, 0, 0, 1};
    image.at(2, 1) = {0, 0, 1, 1};
    EXPECT_EQ(decoded(encodeBmp(image), "p.bmp", "rgb"),
              std::string("\xff\0\0", 3) + std::string(12, '\0') + std::string("\0\0\xff", 3));
}

}  // namespace
