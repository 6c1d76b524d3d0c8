// Which decoder a file name selects, and how a texture that cannot be loaded ends the
// game. The failures happen before any OpenGL call, so no window is needed.
#include <gtest/gtest.h>

#include "render/texture.h"
#include "support/temp_dir.h"
#include "support/test_images.h"

namespace {

struct NameCase {
    const char* name;
    TextureFormat format;
};

class TextureNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(TextureNames, ChooseTheDecoderBySubstring) {
    EXPECT_EQ(textureFormatOf(GetParam().name), GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(
    Names, TextureNames,
    ::testing::Values(NameCase{"./textures/mg.tga", TextureFormat::Tga},
                      NameCase{"./textures/Glow.bmp", TextureFormat::Bmp},
                      NameCase{"./textures/GLOW.BMP", TextureFormat::Bmp},
                      NameCase{"./textures/old.bmp.tga", TextureFormat::Bmp},
                      NameCase{"./textures/a.tga.png", TextureFormat::Tga},
                      NameCase{"./textures/mg.TGA", TextureFormat::Unsupported},
                      NameCase{"./textures/mg.png", TextureFormat::Unsupported},
                      NameCase{"", TextureFormat::Unsupported}));

TEST(TextureQualityNames, NameEachFilterSetting) {
    EXPECT_STREQ(textureQualityName(0), "Point");
    EXPECT_STREQ(textureQualityName(1), "Bilinear");
    EXPECT_STREQ(textureQualityName(2), "Trilinear");
    EXPECT_STREQ(textureQualityName(3), "Unknown");
    EXPECT_STREQ(textureQualityName(-1), "Unknown");
}

TEST(LoadTexture, WithoutTableOrNameReturnsMinusOne) {
    unsigned int table[1] = {};
    EXPECT_EQ(loadTexture(nullptr, "x.tga", 0), -1);
    EXPECT_EQ(loadTexture(table, nullptr, 0), -1);
}

using LoadTextureDeathTest = ::testing::Test;

// Message boxes become "error: <text>" lines on standard error under ctest.
TEST(LoadTextureDeathTest, UnsupportedNamesEndTheGameAfterTheirMessage) {
    unsigned int table[1] = {};
    EXPECT_EXIT(loadTexture(table, "./textures/mg.TGA", 0), ::testing::ExitedWithCode(0),
                "error: texture format not supported\\.\\.\\.");
    EXPECT_EXIT(loadTexture(table, "./textures/mg.png", 0), ::testing::ExitedWithCode(0),
                "error: texture format not supported\\.\\.\\.");
}

TEST(LoadTextureDeathTest, MissingOrTruncatedTgaEndsTheGameAfterItsMessage) {
    testing_support::TempDir dir;
    const std::string full = testing_support::solidTga(4, 4, {1, 2, 3});
    testing_support::writeFile(dir.file("cut.tga"), full.substr(0, full.size() - 1));
    unsigned int table[1] = {};
    const char* message = "error: cannot load tga\\.somthing bad happend\\.\\.\\.";
    EXPECT_EXIT(loadTexture(table, dir.file("missing.tga").c_str(), 0),
                ::testing::ExitedWithCode(0), message);
    EXPECT_EXIT(loadTexture(table, dir.file("cut.tga").c_str(), 0), ::testing::ExitedWithCode(0),
                message);
}

TEST(LoadTextureDeathTest, UnsupportedDepthEndsTheGameSilently) {
    testing_support::TempDir dir;
    testing_support::writeFile(dir.file("grey.tga"), testing_support::tgaFile(2, 1, 1, 8, "x"));
    unsigned int table[1] = {};
    EXPECT_EXIT(
        {
            std::fputs("before\n", stderr);
            loadTexture(table, dir.file("grey.tga").c_str(), 0);
        },
        ::testing::ExitedWithCode(0), "^before\n$");
}

TEST(LoadTextureDeathTest, UnreadableBmpEndsTheGameWithItsName) {
    testing_support::TempDir dir;
    const std::string full = testing_support::solidBmp(4, 4, {1, 2, 3});
    testing_support::writeFile(dir.file("cut.bmp"), full.substr(0, full.size() - 8));
    unsigned int table[1] = {};
    EXPECT_EXIT(loadTexture(table, dir.file("cut.bmp").c_str(), 0), ::testing::ExitedWithCode(0),
                "error: cannot load bmp .*cut\\.bmp");
}

}  // namespace
