// The hit-scan of one shot: the ray marched onto the ground, once per shot fired (about
// seven a second with the machine gun, more with computer players firing too).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "combat/shot.h"
#include "hills.h"
#include "world/heightmap.h"

namespace {

// From 20 units above the middle of the map, looking 10 degrees down (hits the hills
// after a few dozen samples) or 30 degrees up (all 500 samples, the worst case).
void marchFrom(benchmark::State& state, float pitchDegrees) {
    const auto map = hills();
    const GroundHeight ground = [&map](float x, float y) { return map->terrainHeight(x, y); };
    const float pitch = pitchDegrees * 3.14159265f / 180.0f;
    const ShotPoint eye{800.0f, 800.0f, map->terrainHeight(800.0f, 800.0f) + 20.0f};
    const ShotPoint aim{std::cos(pitch) * 0.6f, std::cos(pitch) * 0.8f, std::sin(pitch)};
    float samples = 0.0f;
    for (auto _ : state) {
        const RayHit hit = marchRay(eye, aim, ground);
        samples = hit.t / RayMarch::kStep + 1.0f;
        benchmark::DoNotOptimize(hit);
    }
    state.counters["samples"] = samples;
}

void BM_MarchIntoHills(benchmark::State& state) {
    marchFrom(state, -10.0f);
}
void BM_MarchAtTheSky(benchmark::State& state) {
    marchFrom(state, 30.0f);
}

BENCHMARK(BM_MarchIntoHills);
BENCHMARK(BM_MarchAtTheSky);

}  // namespace
