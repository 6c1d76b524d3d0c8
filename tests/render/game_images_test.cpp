// Every image of the build's game directory decodes, when the data is there.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "render/bmp_image.h"
#include "render/file_bytes.h"
#include "render/texture.h"
#include "render/tga_image.h"
#include "support/e2e_runner.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(GameImages, EveryTextureOfTheGameDataDecodes) {
    testing_support::TempDir dir;
    testing_support::copyGameData(dir.path());
    int images = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
        const std::string name = entry.path().string();
        const TextureFormat format = textureFormatOf(name.c_str());
        if (!entry.is_regular_file() || format == TextureFormat::Unsupported) continue;
        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(readFileBytes(name.c_str(), bytes)) << name;
        if (format == TextureFormat::Tga) {
            TgaError error = TgaError::None;
            EXPECT_TRUE(decodeTga(bytes.data(), bytes.size(), &error)) << name;
        } else {
            EXPECT_TRUE(decodeBmp(bytes.data(), bytes.size())) << name;
        }
        ++images;
    }
    if (images == 0) GTEST_SKIP() << "no game data in this build";
}

}  // namespace
