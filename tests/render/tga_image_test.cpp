// The TGA decoder on small files built byte by byte.
#include "render/tga_image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_images.h"

namespace {

using testing_support::tgaFile;

std::optional<TgaImage> decode(const std::string& file, TgaError* error = nullptr) {
    return decodeTga(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), error);
}

// One 24-bit file pixel, stored B, G, R.
std::string bgr(int r, int g, int b) {
    return {static_cast<char>(b), static_cast<char>(g), static_cast<char>(r)};
}

std::vector<std::uint8_t> rgbPixels(int count, int (*red)(int)) {
    std::vector<std::uint8_t> out;
    for (int i = 0; i < count; ++i) {
        out.push_back(static_cast<std::uint8_t>(red(i)));
        out.push_back(7);
        out.push_back(9);
    }
    return out;
}

struct PacketCase {
    const char* name;
    int width;
    std::string body;
    std::vector<std::uint8_t> expected;
};

class RunLengthPackets : public ::testing::TestWithParam<PacketCase> {};

TEST_P(RunLengthPackets, WriteTheirPixelsTheRightNumberOfTimes) {
    const PacketCase& c = GetParam();
    const auto image = decode(tgaFile(10, c.width, 1, 24, c.body));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->channels, 3);
    EXPECT_EQ(image->data, c.expected);
}

std::string rawPixels(int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += bgr(i, 7, 9);
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, RunLengthPackets,
    ::testing::Values(
        // 0: one raw pixel per packet.
        PacketCase{"header0", 2,
                   std::string(1, '\0') + bgr(0, 7, 9) + std::string(1, '\0') + bgr(1, 7, 9),
                   rgbPixels(2, [](int i) { return i; })},
        // 127: 128 raw pixels in one packet.
        PacketCase{"header127", 128, std::string(1, '\x7f') + rawPixels(128),
                   rgbPixels(128, [](int i) { return i; })},
        // 128: a run that writes its pixel once.
        PacketCase{"header128", 2, "\x80" + bgr(5, 7, 9) + "\x80" + bgr(6, 7, 9),
                   rgbPixels(2, [](int i) { return 5 + i; })},
        // 255: a run that writes its pixel 128 times.
        PacketCase{"header255", 128, "\xff" + bgr(42, 7, 9),
                   rgbPixels(128, [](int) { return 42; })}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(TgaRunLength, RunPastTheImageIsCutAtTheMissingPixels) {
    // Three pixels given, then a run of 128 for the one pixel still missing.
    const auto image =
        decode(tgaFile(10, 4, 1, 24, "\x02" + rawPixels(3) + "\xff" + bgr(200, 7, 9)));
    ASSERT_TRUE(image);
    ASSERT_EQ(image->data.size(), 12u);
    EXPECT_EQ(image->data[9], 200);
}

TEST(TgaRunLength, RawPacketPastTheImageReadsOnlyTheMissingPixels) {
    const auto image = decode(tgaFile(10, 2, 1, 24, "\x7f" + rawPixels(2)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->data, rgbPixels(2, [](int i) { return i; }));
}

TEST(TgaRunLength, ThirtyTwoBitsKeepAlphaAndSwapRedAndBlue) {
    const auto image = decode(tgaFile(10, 3, 1, 32, std::string("\x82\x01\x02\x03\x04", 5)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->channels, 4);
    EXPECT_EQ(image->data, (std::vector<std::uint8_t>{3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4}));
}

TEST(TgaRunLength, SixteenBitsAreRefusedAsUnsupported) {
    TgaError error = TgaError::None;
    EXPECT_FALSE(decode(tgaFile(10, 1, 1, 16, std::string("\x80\xff\x7f", 3)), &error));
    EXPECT_EQ(error, TgaError::UnsupportedDepth);
}

struct Pixel16Case {
    std::uint16_t word;
    std::vector<std::uint8_t> rgb;
};

class SixteenBitPixels : public ::testing::TestWithParam<Pixel16Case> {};

TEST_P(SixteenBitPixels, ScaleEachFiveBitChannelByEight) {
    const std::uint16_t w = GetParam().word;
    const std::string body{static_cast<char>(w & 0xFF), static_cast<char>(w >> 8)};
    const auto image = decode(tgaFile(2, 1, 1, 16, body));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->channels, 3);
    EXPECT_EQ(image->data, GetParam().rgb);
}

INSTANTIATE_TEST_SUITE_P(
    Words, SixteenBitPixels,
    ::testing::Values(Pixel16Case{0x7FFF, {248, 248, 248}}, Pixel16Case{0xFFFF, {248, 248, 248}},
                      Pixel16Case{0x7C00, {248, 0, 0}}, Pixel16Case{0x03E0, {0, 248, 0}},
                      Pixel16Case{0x001F, {0, 0, 248}}, Pixel16Case{0x8000, {0, 0, 0}}));

TEST(TgaUncompressed, TwentyFourBitsGiveRgbInFileRowOrder) {
    // The first row in the file (red) stays first: no flip by the origin bit.
    std::string file = tgaFile(2, 1, 2, 24, bgr(255, 0, 0) + bgr(0, 0, 255));
    file[17] = 0x20;  // top-down origin: still not flipped
    const auto image = decode(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->channels, 3);
    EXPECT_EQ(image->width, 1);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->data, (std::vector<std::uint8_t>{255, 0, 0, 0, 0, 255}));
}

TEST(TgaUncompressed, ThirtyTwoBitsGiveRgba) {
    const auto image = decode(tgaFile(2, 1, 1, 32, std::string("\x10\x20\x30\x40", 4)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->channels, 4);
    EXPECT_EQ(image->data, (std::vector<std::uint8_t>{0x30, 0x20, 0x10, 0x40}));
}

TEST(TgaUncompressed, ImageIdIsSkipped) {
    const std::string body = bgr(1, 2, 3) + bgr(4, 5, 6);
    const auto plain = decode(tgaFile(2, 2, 1, 24, body));
    const auto withId = decode(tgaFile(2, 2, 1, 24, body, "VOKA!"));
    const auto rleWithId = decode(tgaFile(10, 2, 1, 24, "\x01" + body, "VOKA!"));
    ASSERT_TRUE(plain && withId && rleWithId);
    EXPECT_EQ(withId->data, plain->data);
    EXPECT_EQ(rleWithId->data, plain->data);
}

TEST(TgaUncompressed, OtherImageTypesReadAsTrueColour) {
    const auto image = decode(tgaFile(3, 1, 1, 24, bgr(1, 2, 3)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->data, (std::vector<std::uint8_t>{1, 2, 3}));
}

struct RefusedCase {
    const char* name;
    std::string file;
    TgaError error;
};

class RefusedFiles : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedFiles, GiveNoImageAndTheirReason) {
    TgaError error = TgaError::None;
    EXPECT_FALSE(decode(GetParam().file, &error));
    EXPECT_EQ(error, GetParam().error);
}

std::string header24(int width, int height) {
    return tgaFile(2, width, height, 24, "");
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedFiles,
    ::testing::Values(
        RefusedCase{"empty", "", TgaError::Unreadable},
        RefusedCase{"shortHeader", header24(1, 1).substr(0, 17), TgaError::Unreadable},
        RefusedCase{"noPixels", header24(2, 2), TgaError::Unreadable},
        RefusedCase{"halfThePixels", header24(2, 2) + rawPixels(2), TgaError::Unreadable},
        RefusedCase{"idPastTheEnd", tgaFile(2, 1, 1, 24, "", "ABCDE").substr(0, 20),
                    TgaError::Unreadable},
        RefusedCase{"runCutInItsPixel", tgaFile(10, 4, 1, 24, "\xff\x01"), TgaError::Unreadable},
        RefusedCase{"runsEndBeforeTheImage", tgaFile(10, 300, 1, 24, "\xff" + bgr(1, 2, 3)),
                    TgaError::Unreadable},
        RefusedCase{"zeroWidth", header24(0, 5), TgaError::Unreadable},
        RefusedCase{"hugeImageInATinyFile", tgaFile(10, 16000, 16000, 24, "\xff\x01\x02\x03"),
                    TgaError::Unreadable},
        RefusedCase{"tooLargeForMemory", tgaFile(2, 65535, 65535, 32, ""), TgaError::TooLarge},
        RefusedCase{"eightBits", tgaFile(2, 1, 1, 8, "\x01"), TgaError::UnsupportedDepth},
        RefusedCase{"fifteenBitsRunLength", tgaFile(10, 1, 1, 15, "\x80\x01\x02"),
                    TgaError::UnsupportedDepth}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
