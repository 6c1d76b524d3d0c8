#include <GL/gl.h>
#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "render/draw_2d.h"
#include "render/texture.h"
#include "support/gl_fixture.h"
#include "support/temp_dir.h"
#include "support/test_images.h"

namespace {

using namespace testing_support;

class TextureUpload : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);  // OpenGL's default
    }

    unsigned int load(const std::string& name, const std::string& contents) {
        writeFile(dir.file(name), contents);
        unsigned int table[3] = {};
        // Into its own slot alone.
        EXPECT_TRUE(loadTexture(table, dir.file(name).c_str(), 1) == 0 && table[1] != 0 &&
                    table[0] == 0 && table[2] == 0);
        return table[1];
    }

    TempDir dir;
};

// Each texture stays bound, with modulate and the whole mipmap chain (4, 2, 1); 32 bits
// keep alpha. The filters follow quality and mipmapping (an unknown quality keeps
// OpenGL's defaults) and the base level goes back to 0.
TEST_F(TextureUpload, TexturesStayBoundWithModulateAndFiltersFollowQuality) {
    // bits, quality, mipmapping, then the filters and the highest level
    const std::tuple<int, std::int32_t, bool, GLint, GLint, GLint> cases[] = {
        {24, 0, false, GL_NEAREST, GL_NEAREST, 0},
        {32, 1, true, GL_LINEAR, GL_LINEAR, 1000},
        {24, 2, false, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR, 0},
        {32, 7, false, GL_LINEAR, GL_NEAREST_MIPMAP_LINEAR, 0}};
    const GLenum names[4] = {GL_TEXTURE_MAG_FILTER, GL_TEXTURE_MIN_FILTER, GL_TEXTURE_BASE_LEVEL,
                             GL_TEXTURE_MAX_LEVEL};
    for (const auto& [bits, quality, mipmapping, mag, min, maxLevel] : cases) {
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        const auto name = static_cast<GLint>(
            load("d.tga", tgaFile(2, 4, 4, bits, std::string(16 * bits / 8, '\x40'))));
        GLint got[8] = {};
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &got[4]);
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &got[5]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH, &got[6]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &got[7]);
        got[7] = got[7] > 0;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 3);
        applyTextureFilters(quality, mipmapping);
        for (int i = 0; i < 4; ++i) glGetTexParameteriv(GL_TEXTURE_2D, names[i], &got[i]);
        EXPECT_EQ(std::vector<GLint>(got, got + 8),
                  (std::vector<GLint>{mag, min, 0, maxLevel, name, GL_MODULATE, 1, bits == 32}))
            << quality;
    }
}

// A bottom-up TGA's first row is the bottom row; a top-down TGA is drawn the same way
// (its origin is not honoured); a bitmap's pixel (x, 0) is at the top. Rows of 6 bytes
// also show that the upload does not assume rows padded to 4 bytes.
TEST_F(TextureUpload, ImagesDrawUpright) {
    const Rgb red{255, 0, 0}, blue{0, 0, 255};
    const std::string rows = std::string("\0\0\xff\0\0\xff\xff\0\0\xff\0\0", 12);
    std::string topDown = tgaFile(2, 2, 2, 24, rows);
    topDown[17] = 0x20;
    const std::string bmp = bmpFile(2, 2, [](int, int y) {
        return y == 0 ? Rgb{255, 0, 0} : Rgb{0, 0, 255};
    });
    for (const auto& [name, file, bottom] :
         {std::tuple{"up.tga", tgaFile(2, 2, 2, 24, rows), red},
          std::tuple{"down.tga", topDown, red}, std::tuple{"two.bmp", bmp, blue}}) {
        load(name, file);
        glClear(GL_COLOR_BUFFER_BIT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glEnable(GL_TEXTURE_2D);
        Overlay2d overlay;
        drawTexturedRect(-1.0f, 1.0f, 1.0f, -1.0f);  // the whole window
        const auto low = readPixel(kWidth / 2, 10, GL_BACK),
                   high = readPixel(kWidth / 2, kHeight - 10, GL_BACK);
        EXPECT_EQ((Rgb{low[0], low[1], low[2]}), bottom) << name;
        EXPECT_EQ((Rgb{high[0], high[1], high[2]}), bottom == red ? blue : red) << name;
    }
    glDisable(GL_TEXTURE_2D);
}

}  // namespace
