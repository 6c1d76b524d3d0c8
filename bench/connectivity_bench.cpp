// Neighbour search for shadow volumes: the indexed search against the plain face-by-face
// search that it replaces, on a closed grid-like mesh of the given face count.
#include <benchmark/benchmark.h>

#include <cmath>

#include "render/connectivity_reference.h"
#include "render/mesh_geometry.h"

namespace {

// A closed, lumpy sphere of about `faces` triangles (latitude-longitude grid).
MeshObject3ds sphere(int faces) {
    const int rings = static_cast<int>(std::sqrt(faces / 2.0));
    const int segments = rings;
    MeshObject3ds o;
    for (int r = 0; r <= rings; ++r) {
        for (int s = 0; s < segments; ++s) {
            const float theta = 3.14159265f * r / rings;
            const float phi = 6.2831853f * s / segments;
            const float radius = 1.0f + 0.1f * std::sin(5.0f * phi);
            o.vertices.push_back({radius * std::sin(theta) * std::cos(phi),
                                  radius * std::cos(theta),
                                  radius * std::sin(theta) * std::sin(phi)});
        }
    }
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < segments; ++s) {
            const int a = r * segments + s;
            const int b = r * segments + (s + 1) % segments;
            const int c = a + segments;
            const int d = b + segments;
            Face3ds f1;
            f1.vertex[0] = a, f1.vertex[1] = c, f1.vertex[2] = b;
            Face3ds f2;
            f2.vertex[0] = b, f2.vertex[1] = c, f2.vertex[2] = d;
            o.faces.push_back(f1);
            o.faces.push_back(f2);
        }
    }
    o.vertexCount = static_cast<std::int32_t>(o.vertices.size());
    o.faceCount = static_cast<std::int32_t>(o.faces.size());
    return o;
}

void BM_ConnectivityIndexed(benchmark::State& state) {
    MeshObject3ds o = sphere(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        buildConnectivity(o);
        benchmark::DoNotOptimize(o.faces.data());
    }
    state.counters["faces"] = static_cast<double>(o.faces.size());
}
BENCHMARK(BM_ConnectivityIndexed)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ConnectivityPlain(benchmark::State& state) {
    MeshObject3ds o = sphere(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        buildConnectivityPlain(o);
        benchmark::DoNotOptimize(o.faces.data());
    }
    state.counters["faces"] = static_cast<double>(o.faces.size());
}
BENCHMARK(BM_ConnectivityPlain)
    ->Arg(3000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
