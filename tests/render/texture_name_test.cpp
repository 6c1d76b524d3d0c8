// Which decoder a file name selects, and how a texture that cannot be loaded ends the
// game. The failures happen before any OpenGL call, so no window is needed.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "render/texture.h"
#include "support/temp_dir.h"
#include "support/test_images.h"

namespace {

using namespace testing_support;

// ".bmp" or ".BMP" anywhere wins over ".tga", which counts in lower case only.
TEST(TextureNames, ChooseTheDecoderBySubstring) {
    const std::pair<const char*, TextureFormat> names[] = {
        {"./textures/GLOW.BMP", TextureFormat::Bmp},
        {"./textures/old.bmp.tga", TextureFormat::Bmp},
        {"./textures/a.tga.png", TextureFormat::Tga},
        {"./textures/mg.TGA", TextureFormat::Unsupported}};
    for (const auto& [name, format] : names) EXPECT_EQ(textureFormatOf(name), format) << name;
    unsigned int table[1] = {};  // without a table or a name: -1
    EXPECT_EQ(loadTexture(nullptr, "x.tga", 0) + loadTexture(table, nullptr, 0), -2);
}

// Message boxes become "error: <text>" lines on standard error under ctest; an
// unsupported TGA depth ends the game without one.
TEST(LoadTextureDeathTest, FailuresEndTheGameAfterTheirMessage) {
    TempDir dir;
    // One byte short of 18 + 48, and eight bytes short of 54 + 48.
    writeFile(dir.file("cut.tga"), solidTga(4, 4, {1, 2, 3}).substr(0, 65));
    writeFile(dir.file("cut.bmp"), solidBmp(4, 4, {1, 2, 3}).substr(0, 94));
    writeFile(dir.file("grey.tga"), tgaFile(2, 1, 1, 8, "x"));
    const std::string tgaMessage = "error: cannot load tga\\.somthing bad happend\\.\\.\\.";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"mg.TGA", "error: texture format not supported\\.\\.\\."},
        {"missing.tga", tgaMessage},
        {"cut.tga", tgaMessage},
        {"cut.bmp", "error: cannot load bmp .*cut\\.bmp"},
        {"grey.tga", "^$"}};
    for (const auto& [name, message] : cases) {
        unsigned int table[1] = {};
        EXPECT_EXIT(loadTexture(table, dir.file(name).c_str(), 0), ::testing::ExitedWithCode(0),
                    message)
            << name;
    }
}

}  // namespace
