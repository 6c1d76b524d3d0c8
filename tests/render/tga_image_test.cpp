// The TGA decoder on small files built byte by byte.
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

struct DecodedCase {
    const char* name;
    std::string file;
    int width, height, channels;
    Data data;
};

class DecodedFiles : public ::testing::TestWithParam<DecodedCase> {};

TEST_P(DecodedFiles, GiveTheirSizeAndPixels) {
    const DecodedCase& c = GetParam();
    const auto image =
        decodeTga(reinterpret_cast<const std::uint8_t*>(c.file.data()), c.file.size(), nullptr);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, c.width);
    EXPECT_EQ(image->height, c.height);
    EXPECT_EQ(image->channels, c.channels);
    EXPECT_EQ(image->data, c.data);
}

const std::string kTwo = bgr(1, 2, 3) + bgr(4, 5, 6);

INSTANTIATE_TEST_SUITE_P(
    Files, DecodedFiles,
    ::testing::Values(
        // Run-length packet headers: 0 is one raw pixel, 127 is 128 raw pixels, 128 a run
        // writing its pixel once, 255 a run writing it 128 times.
        DecodedCase{"header0", tgaFile(10, 2, 1, 24, '\0' + bgr(0, 7, 9) + '\0' + bgr(1, 7, 9)), 2,
                    1, 3, rgbPixels(2)},
        DecodedCase{"header127", tgaFile(10, 128, 1, 24, "\x7f" + rawPixels(128)), 128, 1, 3,
                    rgbPixels(128)},
        DecodedCase{"header128",
                    tgaFile(10, 2, 1, 24, "\x80" + bgr(5, 7, 9) + "\x80" + bgr(6, 7, 9)), 2, 1, 3,
                    rgbPixels(2, [](int i) { return 5 + i; })},
        DecodedCase{"header255", tgaFile(10, 128, 1, 24, "\xff" + bgr(42, 7, 9)), 128, 1, 3,
                    rgbPixels(128, [](int) { return 42; })},
        // Packets past the image are cut at the pixels still missing.
        DecodedCase{"runPastTheImage",
                    tgaFile(10, 4, 1, 24, "\x02" + rawPixels(3) + "\xff" + bgr(200, 7, 9)), 4, 1, 3,
                    rgbPixels(4, [](int i) { return i < 3 ? i : 200; })},
        DecodedCase{"rawPastTheImage", tgaFile(10, 2, 1, 24, "\x7f" + rawPixels(2)), 2, 1, 3,
                    rgbPixels(2)},
        // 32 bits keep alpha and swap red and blue.
        DecodedCase{"rle32", tgaFile(10, 3, 1, 32, std::string("\x82\x01\x02\x03\x04", 5)), 3, 1, 4,
                    Data{3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4}},
        DecodedCase{"raw32", tgaFile(2, 1, 1, 32, "\x10\x20\x30\x40"), 1, 1, 4,
                    Data{0x30, 0x20, 0x10, 0x40}},
        // 16 bits: each five-bit channel times eight, the top bit ignored.
        DecodedCase{"words16", words16({0x7FFF, 0xFC00, 0x03E0, 0x801F}), 4, 1, 3,
                    Data{248, 248, 248, 248, 0, 0, 0, 248, 0, 0, 0, 248}},
        // A five-byte image ID is skipped; other image types read as true colour.
        DecodedCase{"rawWithId", tgaFile(2, 2, 1, 24, kTwo, "VOKA!"), 2, 1, 3,
                    Data{1, 2, 3, 4, 5, 6}},
        DecodedCase{"type3", tgaFile(3, 1, 1, 24, bgr(1, 2, 3)), 1, 1, 3, Data{1, 2, 3}}),
    [](const auto& param) { return std::string(param.param.name); });

struct RefusedCase {
    const char* name;
    std::string file;
    TgaError error;
};

class RefusedFiles : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedFiles, GiveNoImageAndTheirReason) {
    const std::string& file = GetParam().file;
    TgaError error = TgaError::None;
    EXPECT_FALSE(
        decodeTga(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), &error));
    EXPECT_EQ(error, GetParam().error);
}

const std::string kHeader2x2 = tgaFile(2, 2, 2, 24, "");

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedFiles,
    ::testing::Values(
        RefusedCase{"empty", "", TgaError::Unreadable},
        RefusedCase{"shortHeader", kHeader2x2.substr(0, 17), TgaError::Unreadable},
        RefusedCase{"halfThePixels", kHeader2x2 + rawPixels(2), TgaError::Unreadable},
        RefusedCase{"idPastTheEnd", tgaFile(2, 1, 1, 24, "", "ABCDE").substr(0, 20),
                    TgaError::Unreadable},
        RefusedCase{"runsEndBeforeTheImage", tgaFile(10, 300, 1, 24, "\xff" + bgr(1, 2, 3)),
                    TgaError::Unreadable},
        RefusedCase{"zeroWidth", tgaFile(2, 0, 5, 24, ""), TgaError::Unreadable},
        RefusedCase{"hugeImageInATinyFile", tgaFile(10, 16000, 16000, 24, "\xff\x01\x02\x03"),
                    TgaError::Unreadable},
        RefusedCase{"tooLargeForMemory", tgaFile(2, 65535, 65535, 32, ""), TgaError::TooLarge},
        RefusedCase{"eightBits", tgaFile(2, 1, 1, 8, "\x01"), TgaError::UnsupportedDepth},
        RefusedCase{"sixteenBitsRunLength", tgaFile(10, 1, 1, 16, "\x80\xff\x7f"),
                    TgaError::UnsupportedDepth}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
