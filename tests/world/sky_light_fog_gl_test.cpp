// The sky dome, the sun light and the fog set-up, drawn and read back for real.
#include <GL/gl.h>

#include <cmath>
#include <vector>

#include "render/frustum.h"
#include "support/captured_errors.h"
#include "support/e2e_runner.h"
#include "world/load_levels.h"
#include "world/sky.h"
#include "world/sun_light.h"
#include "world/terrain.h"
#include "world_gl_fixture.h"

namespace {

using namespace world_testing;

// The match draws the dome after the ground, so that the depth test spares the dome's
// pixels that the ground covers: the picture must be the one of the dome drawn first.
// Above the horizon it is daylight in every direction: bright, and bluer than red.
// Culling the wrong faces, a dome too small or too far, or lighting it would leave black
// or dark pixels. The draw leaves the matrix and the states as it found them.
TEST_F(WorldGlTest, DomeSurroundsTheMapAndDrawsTheSameAfterTheGround) {
    const SunLight sun(-800.0f, -800.0f, 2000.0f);
    testing_support::CapturedErrors errors;
    {  // Without the game's data the missing model is reported and nothing drawn.
        Sky missing(true);
        missing.initGL();
        ASSERT_EQ(errors.texts().size(), 1u);
        EXPECT_NE(errors.texts()[0].find("sky.3DS"), std::string::npos) << errors.texts()[0];
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        lookFrom(800, 800, 60, 0);
        missing.draw(Pose{}, nullptr);
        EXPECT_EQ(readPixel(kWidth / 2, kHeight / 2, GL_BACK)[2], 0);
    }
    testing_support::copyGameData(dir.path());
    loadLevels();
    LevelRegistry::instance().setCurrentLevel(1);
    ModelStore::loadSharedTextures(LevelRegistry::instance().currentTextureFile());
    Terrain terrain;
    terrain.initGL();
    Sky sky(true);
    sky.initGL();
    EXPECT_TRUE(errors.texts().size() == 1 && sky.models[2] == sky.models[0]);
    for (GLenum state : {GL_DEPTH_TEST, GL_CULL_FACE, GL_LIGHTING}) glEnable(state);
    for (float yaw : {0.0f, 90.0f, 135.0f, 180.0f, 250.0f}) {
        std::vector<std::array<std::uint8_t, 4>> frames[2];
        for (const bool skyFirst : {true, false}) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            // Level with the horizon, 20 units above the ground, in the sun.
            lookFrom(800, 800, terrain.terrainHeight(800.0f, 800.0f) + 20.0f, yaw);
            sun.apply();
            LodGrid::instance().updateLodGrid(Pose{800, 800, 60, 0, 0, yaw});
            Frustum::instance().extract();
            GLfloat before[16];
            glGetFloatv(GL_MODELVIEW_MATRIX, before);
            if (skyFirst) sky.draw(Pose{}, nullptr);
            terrain.draw(Pose{}, nullptr);
            if (!skyFirst) sky.draw(Pose{}, nullptr);
            expectModelview(before, "sky");
            EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
            frames[skyFirst] = readWindow(GL_BACK);
        }
        EXPECT_TRUE(frames[0] == frames[1]) << "yaw " << yaw;
        for (int y : {kHeight * 5 / 8, kHeight * 7 / 8}) {
            const auto& pixel = frames[0][static_cast<std::size_t>(y * kWidth + kWidth / 2)];
            EXPECT_TRUE(pixel[2] > 120 && pixel[2] >= pixel[0]) << "yaw " << yaw << " row " << y;
        }
    }
}

// --- Sun light ---------------------------------------------------------------------

// Three small quads, facing up, toward -x and toward +x, at different places: the sun
// high in the -x, -y sky lights the first most, the second less, the third not at all
// (only the scene's ambient light), wherever they stand.
TEST_F(WorldGlTest, LightsUpwardAndSunwardFacesMostWhereverTheyStand) {
    glMatrixMode(GL_PROJECTION);  // both matrices start as the identity
    glOrtho(0, 3, 0, 1, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_TEXTURE_2D);
    for (GLenum state : {GL_LIGHTING, GL_COLOR_MATERIAL}) glEnable(state);
    SunLight(-800.0f, -800.0f, 2000.0f).apply();
    const float normals[3][3] = {{0, 0, 1}, {-1, 0, 0}, {1, 0, 0}};
    glColor3f(1, 1, 1);
    // OpenGL's scene ambient on a white material is 0.2; up: 0.2 + 0.87, clamped.
    const double ambient = 0.2,
                 expected[3] = {1, ambient + 800.0 / std::hypot(800.0, 800.0, 2000.0), ambient};
    for (int i = 0; i < 3; ++i) {
        glNormal3fv(normals[i]);
        glRectf(static_cast<float>(i), 0, static_cast<float>(i) + 1, 1);
        EXPECT_NEAR(readPixel(kWidth * (2 * i + 1) / 6, kHeight / 2, GL_BACK)[0], expected[i] * 255,
                    2)
            << i;
    }
}

}  // namespace
