// One frame of the match at 800 x 600 with the settings of the game directory (the
// shipped zrv.cfg), idle work and drawing, with 0 and with 8 remote Vokas in view that a
// scripted peer announces through an in-process relay server; then the bare terrain
// viewer's frame (terrain, sky and fog) from the same place. Run from a game directory
// with a display, e.g. `cd build/release/game && ../bench/app/match_frame_bench`. Every
// frame ends with the swap and glFinish, so the wall time is the frame rate's; the CPU
// time is the whole process's, the renderer's threads included.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <string>
#include <thread>

#include "app/game_state.h"
#include "app/match.h"
#include "combat/model_store.h"
#include "combat/prototypes.h"
#include "config/settings.h"
#include "gl_window.h"
#include "loopback.h"
#include "net/player_status.h"
#include "net/protocol/client_messages.h"
#include "render/gl_extensions.h"
#include "render/perspective.h"
#include "server/relay_server.h"
#include "terrain_scene.h"
#include "world/ground_fog.h"
#include "world/load_levels.h"
#include "world/terrain.h"

namespace {

constexpr int kMaxRemote = 8;

// The match and its surroundings, made once for the whole run.
struct Bench {
    Bench() {
        openBenchWindow("match-frame-bench", true);
        gl_ext::loadExtensions();
        Settings::create();
        ground_fog::setUp();
        registerPrototypes();
        std::atomic<float> progress{0.0f};
        ModelStore::loadPrototypes(progress);
        ModelStore::uploadPrototypes();
        loadLevels();
        server::ServerConfig config;
        config.bindAddress = "127.0.0.1";
        config.port = 0;
        relay = std::make_unique<server::RelayServer>(config, [](const std::string&) {});
        std::string error;
        if (!relay->listen(error)) std::abort();
        loop = std::thread([this] { relay->run(); });
        Settings::overrideServerIp("127.0.0.1");
        Settings::overrideServerPort(relay->port());
        setPerspective(800, 600);
        match.start();
        peer = loopback::Peer::connectTo(relay->port());
    }
    ~Bench() {
        peer.close();
        relay->stop();
        loop.join();
    }

    // Announces remote Vokas up to `count`, 30 to 100 units ahead of the own Voka and
    // within 20 degrees of its heading, and waits until the World holds them.
    void haveRemoteVokas(int count) {
        Pose own;
        Pose look;
        match.getWorld()->getCameraPose(own, look);
        for (; announced < count; ++announced) {
            const float angle = (own.rotZ - 20.0f + 5.0f * announced) * 0.017453292f;
            const float distance = 30.0f + 10.0f * announced;
            const float x = own.x + distance * std::cos(angle);
            const float y = own.y + distance * std::sin(angle);
            peer.send(net::encodeNew(TYPE_VOKA_GREEN, announced + 1,
                                     {x, y, Terrain::instance().terrainHeight(x, y), 0, 0, 180}));
        }
        while (match.getWorld()->tableSizes().players < static_cast<std::size_t>(count))
            std::this_thread::yield();
    }

    std::unique_ptr<server::RelayServer> relay;
    std::thread loop;
    Match match;
    loopback::Peer peer;
    int announced = 0;
};

__attribute__((noinline)) void warmFrames(Bench& b, int n) {
    for (int i = 0; i < n; ++i) {
        b.match.idle();
        b.match.display(GameState::Playing);
        glFinish();
    }
}
__attribute__((noinline)) void measuredFrame(Bench& b) {
    b.match.idle();
    b.match.display(GameState::Playing);
    glFinish();
}

Bench& bench() {
    static Bench instance;
    return instance;
}

// Arguments: the remote Vokas, and 1 to turn the stencil shadows on over the shipped
// settings (which leave them off: on a software renderer they are most of what a Voka
// costs).
void BM_MatchFrame(benchmark::State& state) {
    Bench& b = bench();
    b.haveRemoteVokas(static_cast<int>(state.range(0)));
    Settings::create();
    if (state.range(1) == 1) Settings::setShadow(true);
    warmFrames(b, 8);
    for (auto _ : state) measuredFrame(b);
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MatchFrame)
    ->Iterations(30)
    ->Args({0, 0})
    ->Args({kMaxRemote, 0})
    ->Args({kMaxRemote, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// The viewer's frame from the match's camera: the terrain, the sky and the fog, without
// the display or the flare.
void BM_TerrainViewer(benchmark::State& state) {
    Bench& b = bench();
    Pose own;
    Pose look;
    b.match.getWorld()->getCameraPose(own, look);
    Settings::setCockpit(false);
    Settings::setLensflare(false);
    TerrainScene scene;
    if (!scene.load(1, true, std::nullopt)) std::abort();
    scene.resize(800, 600);
    ViewerCamera camera{own, look, {}};
    PlayerStatus::getCameraOffset(camera.offset);
    for (auto _ : state) {
        scene.drawFrame(camera, "");
        glutSwapBuffers();
        glFinish();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TerrainViewer)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
