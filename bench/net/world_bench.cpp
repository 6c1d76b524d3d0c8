// The main thread's share of a match frame: World::collide and World::update with 16
// other players close by, the own Voka driving in circles with the machine gun's trigger
// held (shots that miss are tested against all 16 for their whole hit window) and 24
// items spinning. The game clock advances 1/60 s per frame.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <thread>

#include "combat/model_store.h"
#include "combat/voka.h"
#include "hills.h"
#include "loopback.h"
#include "net/match/world.h"
#include "net/player_status.h"
#include "net/protocol/server_messages.h"
#include "platform/frame_clock.h"
#include "world/item.h"
#include "world/level_registry.h"

namespace {

template <class Object, std::uint8_t Type>
std::unique_ptr<SceneObject> prototype() {
    auto object = std::make_unique<Object>();
    object->type = Type;
    return object;
}

void BM_CollideAndUpdateWithSixteenPlayers(benchmark::State& state) {
    ModelStore::setFactory(Prototype::VokaRed, prototype<Voka, TYPE_VOKA_RED>);
    ModelStore::setFactory(Prototype::VokaGreen, prototype<Voka, TYPE_VOKA_GREEN>);
    ModelStore::setFactory(Prototype::ItemPower25, prototype<Item, ITEM_POWER25>);
    ModelStore::setFactory(Prototype::ItemAmmoMg, prototype<Item, ITEM_AMMO_MG>);
    std::atomic<float> progress{0.0f};
    ModelStore::loadPrototypes(progress);
    auto level = std::make_unique<Level>();
    level->setId(1);
    level->addSpawn({800.0f, 800.0f, -1.0f});
    LevelRegistry::instance().addLevel(std::move(level));
    LevelRegistry::instance().setCurrentLevel(-1);
    PlayerStatus::resetForMatch();
    const float eye[4] = {800.0f, 700.0f, 180.0f, 1.0f}, aim[4] = {0.0f, 0.6f, -0.8f, 0.0f};
    PlayerStatus::setEye(eye);
    PlayerStatus::setMuzzle(eye);
    PlayerStatus::setAim(aim);

    const auto map = hills();
    WorldServices services;
    services.ground = [&map](float x, float y) { return map->terrainHeight(x, y); };
    services.playSample = [](std::int32_t) {};
    auto world = std::make_unique<World>(services);
    // A server that numbers the client and swallows what it streams, so that the shots
    // get identifiers of their own.
    loopback::Listener listener;
    world->connect("127.0.0.1", listener.port());
    loopback::Peer server(listener.accept());
    server.send(net::encodeClientNumber(1));
    server.send(net::encodeLevel(1));
    std::thread drain([&server] { server.waitForClose(600000); });
    loopback::eventually([] { return LevelRegistry::instance().currentLevel() == 1; });
    world->createOwnVoka(TYPE_VOKA_RED);
    for (std::int32_t i = 0; i < 24; ++i)
        world->addItem(i, i % 2 == 0 ? ITEM_POWER25 : ITEM_AMMO_MG, 100.0f + 60.0f * i, 300.0f,
                       0.0f);
    constexpr int kPlayers = 16;
    for (std::int32_t i = 0; i < kPlayers; ++i)
        world->onNewObject((i + 2) << 16, TYPE_VOKA_GREEN,
                           {780.0f + 3.0f * i, 830.0f, 100, 0, 0, 0});

    WorldInput input;
    input.forward = true;
    input.left = true;
    input.fireButton = true;
    input.frameTime = 1.0f / 60.0f;
    float now = 1.0f;
    FrameClock::reset();
    FrameClock::tick(now);
    for (auto _ : state) {
        now += input.frameTime;
        FrameClock::tick(now);
        input.nowSeconds = now;
        world->collide();
        world->update(input);
        if (PlayerStatus::getAmmo(WEAPON_MG) < 10) PlayerStatus::setAmmo(200, WEAPON_MG);
    }
    state.counters["shots in flight"] = static_cast<double>(world->tableSizes().ownProjectiles);
    world.reset();
    drain.join();
    ModelStore::reset();
}

BENCHMARK(BM_CollideAndUpdateWithSixteenPlayers)->Unit(benchmark::kMicrosecond);

}  // namespace
