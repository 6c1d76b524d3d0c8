// Importing and preparing the game's models as the loading thread does, and the face
// neighbour search on the Voka, indexed against the plain search. Run from a game
// directory, or set VOKA_GAME_DIR to one (./play lays one out in game/).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "render/connectivity_reference.h"
#include "render/draw_arrays.h"
#include "render/loader_3ds.h"
#include "render/mesh_geometry.h"

namespace {

std::string gameDir() {
    const char* dir = std::getenv("VOKA_GAME_DIR");
    return dir != nullptr ? dir : ".";
}

std::vector<std::string> modelFiles() {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(gameDir() + "/models", error)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".3ds" || ext == ".3DS") files.push_back(entry.path().string());
    }
    return files;
}

void BM_ImportAndPrepareEveryModel(benchmark::State& state) {
    const std::vector<std::string> files = modelFiles();
    if (files.empty()) {
        state.SkipWithError("no models: run from a game directory or set VOKA_GAME_DIR");
        return;
    }
    std::size_t faces = 0;
    for (auto _ : state) {
        faces = 0;
        for (const std::string& file : files) {
            Model3ds model;
            import3ds(model, file.c_str());
            buildConnectivity(model);
            buildDrawArrays(model);
            computePlanes(model);
            for (const auto& object : model.objects) faces += object.faces.size();
        }
    }
    state.counters["files"] = static_cast<double>(files.size());
    state.counters["faces"] = static_cast<double>(faces);
}
BENCHMARK(BM_ImportAndPrepareEveryModel)->Unit(benchmark::kMillisecond);

Model3ds voka() {
    Model3ds model;
    import3ds(model, (gameDir() + "/models/voka_red.3ds").c_str());
    return model;
}

void BM_VokaConnectivityIndexed(benchmark::State& state) {
    Model3ds model = voka();
    for (auto _ : state) buildConnectivity(model);
}
BENCHMARK(BM_VokaConnectivityIndexed)->Unit(benchmark::kMillisecond);

void BM_VokaConnectivityPlain(benchmark::State& state) {
    Model3ds model = voka();
    for (auto _ : state)
        for (auto& object : model.objects) buildConnectivityPlain(object);
}
BENCHMARK(BM_VokaConnectivityPlain)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
