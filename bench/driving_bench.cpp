// The driving step runs once a frame for every Voka a client moves; the hit tests once a
// frame for every fresh shot against every other player, and for every item against the
// own Voka. Each has to stay far below a microsecond.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "combat/collision_model.h"
#include "combat/driving.h"
#include "world/heightmap.h"

namespace {

void BM_DrivingStep(benchmark::State& state) {
    Heightmap ground;
    for (std::size_t i = 0; i < ground.heights.size(); ++i)
        ground.heights[i] = static_cast<std::uint8_t>(90 + 60 * std::sin(i * 0.001));
    const driving::GroundHeight height = [&](float x, float y) {
        return ground.terrainHeight(x, y);
    };
    Body body;
    body.setMass(145.0f);
    body.setPose({800, 800, 0, 0, 0, 30});
    body.setVelocity(60, 40, 0);
    Pose look;
    for (auto _ : state) {
        driving::step(body, look, 0.016f, height);
        driving::steerLeft(body, 0.008f);
        benchmark::DoNotOptimize(body);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrivingStep);

// Segments and spheres in model space: `near` puts them round the box (about half hit),
// otherwise they are a world away, as most shots are from most players.
struct Probe {
    std::array<float, 3> origin, direction;
    float length;
};

std::vector<Probe> probes(bool near) {
    std::mt19937 random(3);
    std::uniform_real_distribution<float> around(-0.8f, 0.8f), away(5.0f, 60.0f);
    std::vector<Probe> out(1024);
    for (Probe& p : out) {
        std::array<float, 3> end;
        for (int k = 0; k < 3; ++k) {
            p.origin[k] = near ? around(random) : away(random);
            end[k] = near ? around(random) * 0.4f : away(random);
        }
        float length = 0;
        for (int k = 0; k < 3; ++k) {
            p.direction[k] = end[k] - p.origin[k];
            length += p.direction[k] * p.direction[k];
        }
        p.length = std::sqrt(length);
    }
    return out;
}

void BM_SegmentHit(benchmark::State& state) {
    const CollisionModel box = vokaCollisionBox();
    const std::vector<Probe> all = probes(state.range(0) != 0);
    std::size_t i = 0;
    for (auto _ : state) {
        const Probe& p = all[i++ & 1023];
        benchmark::DoNotOptimize(box.segmentHit(p.origin.data(), p.direction.data(), p.length));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SegmentHit)->Arg(1)->Arg(0);

// Item centres within 2.5 model units of the box (the test's radius is 2), or far off.
void BM_SphereHit(benchmark::State& state) {
    const CollisionModel box = vokaCollisionBox();
    std::mt19937 random(4);
    std::uniform_real_distribution<float> around(-2.5f, 2.5f), away(5.0f, 60.0f);
    std::vector<std::array<float, 3>> centres(1024);
    for (auto& c : centres)
        for (float& v : c) v = state.range(0) != 0 ? around(random) : away(random);
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(box.sphereHit(centres[i++ & 1023].data(), 2.0f));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SphereHit)->Arg(1)->Arg(0);

}  // namespace
