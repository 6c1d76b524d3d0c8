// The terrain's height query runs many times a frame (every Voka, bullet and the
// camera); the patch building once per match, on the main thread at match start, where
// it holds up the first frame.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "hills.h"
#include "world/heightmap.h"
#include "world/terrain_patches.h"

namespace {

void BM_TerrainHeight(benchmark::State& state) {
    const auto map = hills();
    std::mt19937 random(1);
    std::uniform_real_distribution<float> position(0.0f, 1600.0f);
    std::vector<std::pair<float, float>> points(4096);
    for (auto& p : points) p = {position(random), position(random)};
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& p = points[i++ & 4095];
        benchmark::DoNotOptimize(map->terrainHeight(p.first, p.second));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TerrainHeight);

void BM_BuildTerrainPatches(benchmark::State& state) {
    const auto map = hills();
    for (auto _ : state) {
        Model3ds model;
        buildTerrainPatches(model, *map);
        benchmark::DoNotOptimize(model.objects.data());
    }
}
BENCHMARK(BM_BuildTerrainPatches)->Unit(benchmark::kMillisecond);

// Building plus normals, draw arrays and face planes: all the terrain's work before it
// uploads to OpenGL.
void BM_BuildAndPrepareTerrain(benchmark::State& state) {
    const auto map = hills();
    for (auto _ : state) {
        Model3ds model;
        buildTerrainPatches(model, *map);
        prepareTerrainModel(model);
        benchmark::DoNotOptimize(model.objects.data());
    }
}
BENCHMARK(BM_BuildAndPrepareTerrain)->Unit(benchmark::kMillisecond);

void BM_SelectTerrainPatches(benchmark::State& state) {
    Model3ds model;
    buildTerrainPatches(model, *hills());
    LodGrid grid;
    Frustum frustum;
    const float p[16] = {1.3f, 0, 0, 0, 0, 1.7f, 0, 0, 0, 0, -1.0f, -1, 0, 0, -0.02f, 0};
    const float m[16] = {0, 0, -1, 0, -1, 0, 0, 0, 0, 1, 0, 0, 800, -40, -200, 1};
    frustum.extract(p, m);
    std::vector<PatchDraw> draws;
    for (auto _ : state) {
        selectTerrainPatches(model, grid, &frustum, 800.0f, 40.0f, draws);
        benchmark::DoNotOptimize(draws.data());
    }
}
BENCHMARK(BM_SelectTerrainPatches);

}  // namespace
