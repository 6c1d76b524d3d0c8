// Drawing the full-detail Voka in each render mode, in a real window. Run from a game
// directory (it loads ./models and ./textures) with a display, e.g. under Xvfb.
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <memory>

#include "config/settings.h"
#include "gl_window.h"
#include "render/gl_extensions.h"
#include "render/mesh_builder.h"

namespace {

// The red Voka's levels of detail with their material textures.
class Voka : public TestObject {
  public:
    Voka() {
        loadLevelsOfDetail("./models/voka_red");
        prepareModels(true);
    }
    int initGL() override {
        loadMaterialTextures();
        return TestObject::initGL();
    }
};

Voka& voka() {
    static std::unique_ptr<Voka> instance;
    if (!instance) {
        openBenchWindow("render-modes-bench");
        gl_ext::loadExtensions();
        Settings::setMultitexturing(true);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1, 1, -1, 1, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glEnable(GL_COLOR_MATERIAL);
        instance = std::make_unique<Voka>();
        instance->initGL();
    }
    return *instance;
}

void BM_DrawVoka(benchmark::State& state) {
    Voka& object = voka();
    Settings::setRenderMode(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        object.draw(Pose{}, nullptr);
        glFinish();
    }
    std::size_t faces = 0;
    for (const auto& o : object.models[0]->objects) faces += o.faces.size();
    state.counters["faces"] = static_cast<double>(faces);
}
BENCHMARK(BM_DrawVoka)->ArgName("mode")->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
