// The terrain built from a level for real: the heightmap file, the shared and detail
// textures, the uploaded patches, and how the ground looks under the sun and the fog.
#include <GL/gl.h>

#include <cmath>
#include <memory>
#include <string>
#include <tuple>

#include "world/ground_fog.h"
#include "world/load_levels.h"
#include "world/sun_light.h"
#include "world/terrain.h"
#include "world_gl_fixture.h"

namespace {

using namespace testing_support;
using namespace world_testing;

class TerrainGlTest : public WorldGlTest {
  protected:
    // Level 5 with a flat heightmap at `height` and the test's textures (a white ground
    // and a mid-grey detail texture, which the detail stage doubles back to white),
    // made current, and its terrain built.
    std::unique_ptr<Terrain> build(std::uint8_t height) {
        writeFile(dir.file("textures/kreis.tga"), solidTga(4, 4, {255, 255, 255}));
        writeFile(dir.file("textures/ground.tga"), solidTga(8, 8, {255, 255, 255}));
        writeFile(dir.file("textures/detail.tga"), solidTga(8, 8, {128, 128, 128}));
        writeFile(dir.file("levels/flat.raw"),
                  std::string(Heightmap::kBytes, static_cast<char>(height)));
        const std::string xml = R"(<level id="5"><player posx="800" posy="800"/><terrain
            heightmap="./levels/flat.raw" texture="./textures/ground.tga"
            texture_det="./textures/detail.tga"/></level>)";
        EXPECT_TRUE(loadLevelsFromMemory(LevelRegistry::instance(), xml.data(), xml.size()).parsed);
        LevelRegistry::instance().setCurrentLevel(5);
        auto terrain = std::make_unique<Terrain>();
        EXPECT_EQ(ModelStore::loadSharedTextures(LevelRegistry::instance().currentTextureFile()),
                  0);
        EXPECT_EQ(terrain->initGL(), 0);
        return terrain;
    }
};

// Drawn from above, lit by the match's sun, at full detail and without culling, the sun
// makes flat white ground white. In fog, ground at height 45 lies 25 below the fog
// ceiling: half way into the fog, so half white and half fog grey (0.7); high ground is
// clear and low ground fully fogged. The same in every render mode.
TEST_F(TerrainGlTest, SunLitGroundIsWhiteAndFadesToGreyDownIntoTheFog) {
    // height, fog, brightness
    const std::tuple<std::uint8_t, bool, double> cases[] = {
        {45, false, 1.0}, {45, true, 0.85}, {90, true, 1.0}, {10, true, 0.7}};
    Settings::setMultitexturing(true);
    Settings::setFrustumCulling(false);
    glMatrixMode(GL_PROJECTION);  // straight down at the whole map; both start as identity
    glOrtho(0.0, 1600.0, 0.0, 1600.0, -1000.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glClearColor(0, 0, 0, 1);
    for (const auto& [height, fog, brightness] : cases) {
        Settings::setFog(fog);
        glDisable(GL_FOG);
        for (std::int32_t mode = 0; mode < 4; ++mode) {
            const auto terrain = build(height);
            ASSERT_EQ(ground_fog::setUp(), fog);
            Settings::setRenderMode(mode);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            for (GLenum state : {GL_LIGHTING, GL_COLOR_MATERIAL}) glEnable(state);
            SunLight(-800.0f, -800.0f, 2000.0f).apply();
            terrain->draw(Pose{}, nullptr);
            const auto pixel = readPixel(kWidth / 2, kHeight / 2, GL_BACK);
            EXPECT_TRUE(std::abs(pixel[0] - brightness * 255) <= 3 &&
                        std::abs(pixel[2] - brightness * 255) <= 3)
                << int{height} << " mode " << mode << ": " << int{pixel[0]} << " " << int{pixel[2]};
        }
    }
}

// The camera at the middle of the map looking along +x: with culling, the patches
// behind it are skipped; the LodGrid's choices pick the resolution and height offset
// of the rest, drawn nearest first.
TEST_F(TerrainGlTest, DrawCullsBehindTheCameraAndFollowsTheGrid) {
    const auto terrain = build(45);
    lookFrom(850, 850, 100, 0);
    Frustum::instance().extract();
    Settings::setLod(1);
    const Pose camera{850, 850, 100};
    LodGrid::instance().updateLodGrid(camera);
    Settings::setFrustumCulling(false);
    terrain->draw(camera, nullptr);
    ASSERT_EQ(terrain->lastDraws().size(), 256u);
    Settings::setFrustumCulling(true);
    terrain->draw(camera, nullptr);
    const auto& drawn = terrain->lastDraws();
    EXPECT_LT(drawn.size(), 160u);
    bool sawFull = false;
    float lastDistance = 0.0f;  // nearest first, so that hidden ground fails the depth test
    for (const PatchDraw& patch : drawn) {
        const int p = patch.object % 256;
        const float distance =
            std::hypot((p % 16 + 0.5f) * 100.0f - 850.0f, (p / 16 + 0.5f) * 100.0f - 850.0f);
        EXPECT_GE(distance, lastDistance) << "patch " << p;
        lastDistance = distance;
        EXPECT_GT((p % 16 + 0.5f) * 100.0f, 850.0f - 80.0f - 100.0f)
            << "patch " << p << " lies behind";
        const int level = patch.object - p;  // middle and far patches lie lower
        EXPECT_EQ(level, LodGrid::instance().cell(p));
        EXPECT_EQ(patch.zOffset, level == 0 ? 0.0f : level == 256 ? -1.5f : -3.0f) << p;
        sawFull = sawFull || patch.object == p;
    }
    EXPECT_TRUE(sawFull);
}

}  // namespace
