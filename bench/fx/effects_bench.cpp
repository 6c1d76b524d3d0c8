// The head-up display and the lens flare, one frame's draw each, in an 800 x 600 window.
// Run from a game directory (textures/, level.xml and the level's files) with a display,
// e.g. under Xvfb. Every iteration ends with glFinish, so the wall time includes the
// rasterising; the flare's includes its one depth read.
#include <GL/gl.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include "combat/model_store.h"
#include "config/settings.h"
#include "fx/hud.h"
#include "fx/lens_flare.h"
#include "gl_window.h"
#include "net/protocol/game_codes.h"
#include "render/frustum.h"
#include "world/level_registry.h"
#include "world/load_levels.h"

namespace {

const Vec3f kSun{-800, -800, 2000};
const Vec3f kCamera{-3000, -1000, 1900};

void openWindow() {
    static bool open = false;
    if (open) return;
    open = true;
    openBenchWindow("effects-bench");
    Settings::create();
    loadLevels();
    LevelRegistry::instance().setCurrentLevel(1);
    ModelStore::loadSharedTextures(LevelRegistry::instance().currentTextureFile());
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(75.0, 800.0 / 600.0, 0.01, 10000.0);
    glMatrixMode(GL_MODELVIEW);
    // The match's camera looking along +x: the sun a little off the middle of the view.
    glLoadIdentity();
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
    glTranslatef(-kCamera.x, -kCamera.y, -kCamera.z);
    Frustum::instance().extract();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void BM_HudDraw(benchmark::State& state) {
    openWindow();
    Settings::setCockpit(true);
    Settings::setShowFramerate(true);
    Hud hud;
    HudInput in;
    in.speed = 57;
    in.health = 85;
    in.weapon = WEAPON_MG;
    in.eye[0] = in.eye[1] = 800.0f;
    in.aim[0] = 1.0f;
    for (auto _ : state) {
        hud.draw(in);
        glFinish();
    }
    state.counters["items"] = static_cast<double>(hud.blips().size());
}
BENCHMARK(BM_HudDraw)->Unit(benchmark::kMicrosecond);

void BM_LensFlareDraw(benchmark::State& state) {
    openWindow();
    const LensFlare flare;
    for (auto _ : state) {
        flare.draw(kSun, kCamera, {1.0f, 0.0f, 0.0f}, 0.0f, 0.0f);
        glFinish();
    }
}
BENCHMARK(BM_LensFlareDraw)->Unit(benchmark::kMicrosecond);

// The depth read alone, as when the sun is behind a hill and nothing else is drawn.
void BM_LensFlareDepthRead(benchmark::State& state) {
    openWindow();
    for (auto _ : state) benchmark::DoNotOptimize(LensFlare::isOccluded(kSun));
}
BENCHMARK(BM_LensFlareDepthRead)->Unit(benchmark::kMicrosecond);

}  // namespace
