#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>

#include "combat/model_store.h"
#include "combat/prototypes.h"
#include "config/settings.h"
#include "render/gl_extensions.h"
#include "render/lod_grid.h"
#include "support/e2e_runner.h"
#include "support/gl_fixture.h"
#include "support/temp_dir.h"
#include "support/test_images.h"
#include "world/level_registry.h"

namespace world_testing {

// From (x, y, z), looking along `yaw` degrees level with the horizon, with the match's
// projection (or another vertical field of view).
inline void lookFrom(float x, float y, float z, float yaw, double fovy = 75.0) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fovy, 4.0 / 3.0, 0.01, 10000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(90.0f - yaw, 0.0f, 0.0f, 1.0f);
    glTranslatef(-x, -y, -z);
}

// A GL test in a scratch game directory, with the settings at their start values and
// the extension entry points loaded; the level registry's current level, the model
// store, the LodGrid and the fog are put back afterwards.
class WorldGlTest : public testing_support::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        Settings::resetStartValues();
        gl_ext::loadExtensions();
        ModelStore::reset();
        previousLevel = LevelRegistry::instance().currentLevel();
        glDisable(GL_FOG);
    }
    void TearDown() override {
        for (GLenum state :
             {GL_FOG, GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL, GL_CULL_FACE, GL_DEPTH_TEST})
            glDisable(state);
        LevelRegistry::instance().setCurrentLevel(previousLevel);
        Settings::setLod(0);
        LodGrid::instance().updateLodGrid(Pose{});
        ModelStore::reset();
        Settings::resetStartValues();
    }

    // The game's own prototypes, from a copy of the built game data, loaded and uploaded.
    void loadGamePrototypes() {
        testing_support::copyGameData(dir.path());
        registerPrototypes();
        std::atomic<float> progress{0.0f};
        ModelStore::loadPrototypes(progress);
        ModelStore::uploadPrototypes();
    }
    // Pixels of the back buffer other than `background`.
    static int drawnPixels(const std::array<std::uint8_t, 4>& background) {
        const auto pixels = readWindow(GL_BACK);
        return static_cast<int>(pixels.size() -
                                std::count(pixels.begin(), pixels.end(), background));
    }

    testing_support::TempDir dir;
    testing_support::ScopedWorkingDir inDir{dir.path()};
    std::int32_t previousLevel = -1;
};

}  // namespace world_testing
