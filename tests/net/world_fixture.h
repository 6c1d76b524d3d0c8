#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "combat/model_store.h"
#include "combat/voka.h"
#include "config/settings.h"
#include "loopback.h"
#include "net/match/world.h"
#include "net/player_status.h"
#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"
#include "platform/frame_clock.h"
#include "world/item.h"
#include "world/level_registry.h"

template <class Object, std::uint8_t Type>
std::unique_ptr<SceneObject> emptyPrototype() {
    auto object = std::make_unique<Object>();
    object->type = Type;
    return object;
}

// A World of a match without a window: prototypes of the Vokas and items without
// models, level 1 with one start point over flat ground at height 0, the samples it
// plays and its console lines captured, and a scripted server that numbers it client 1.
class WorldTest : public testing::Test {
  protected:
    void SetUp() override {
        ModelStore::reset();
        ModelStore::setFactory(Prototype::VokaRed, emptyPrototype<Voka, TYPE_VOKA_RED>);
        ModelStore::setFactory(Prototype::VokaGreen, emptyPrototype<Voka, TYPE_VOKA_GREEN>);
        ModelStore::setFactory(Prototype::ItemPower25, emptyPrototype<Item, ITEM_POWER25>);
        ModelStore::setFactory(Prototype::ItemPower15, emptyPrototype<Item, ITEM_POWER15>);
        ModelStore::setFactory(Prototype::ItemAmmoMg, emptyPrototype<Item, ITEM_AMMO_MG>);
        ModelStore::setFactory(Prototype::ItemAmor50, emptyPrototype<Item, ITEM_AMOR_50>);
        std::atomic<float> progress{0.0f};
        ModelStore::loadPrototypes(progress);
        FrameClock::reset();
        FrameClock::tick(now_);
        PlayerStatus::resetAll();
        PlayerStatus::resetForMatch();
        Settings::setPlayerName("me");
        startAt(800, 800);
        startWorld();
    }
    void TearDown() override {
        world.reset();
        ModelStore::reset();
        std::fclose(console);
    }

    // A new World, connected and numbered, with the own Voka at the start point.
    void startWorld() {
        world.reset();
        LevelRegistry::instance().setCurrentLevel(-1);
        WorldServices services;
        services.ground = [](float, float) { return 0.0f; };
        services.playSample = [this](std::int32_t sample) { samples.push_back(sample); };
        services.console = console;
        world = std::make_unique<World>(services);
        world->connect("127.0.0.1", listener.port());
        server = loopback::Peer(listener.accept());
        server.send(net::encodeClientNumber(1));
        server.send(net::encodeLevel(1));
        ASSERT_TRUE(
            loopback::eventually([] { return LevelRegistry::instance().currentLevel() == 1; }));
        ASSERT_EQ(world->createOwnVoka(TYPE_VOKA_RED), 0);
    }
    // Level 1 with its one start point at (x, y) on the ground.
    static void startAt(float x, float y) {
        auto level = std::make_unique<Level>();
        level->setId(1);
        level->addSpawn({x, y, -1.0f});
        LevelRegistry::instance().addLevel(std::move(level));
    }
    // One frame of `dt` seconds on the frame clock: collide, then update.
    void frame(WorldInput input = {}, float dt = 0.01f) {
        FrameClock::tick(now_ += dt);
        input.frameTime = dt;
        input.nowSeconds = now_;
        world->collide();
        world->update(input);
    }
    // The messages the World sent since the last call, read up to a marker it sends
    // (its MSG_INFO_REQUEST), so nothing is waited for that might not come.
    std::vector<net::WireMessage> sent() {
        world->sendInfoRequest();
        std::vector<net::WireMessage> messages;
        while (auto message = loopback::readMessage(server, &net::clientMessageLength)) {
            if (message->type() == net::MSG_INFO_REQUEST) return messages;
            messages.push_back(*message);
        }
        ADD_FAILURE() << "the marker never came";
        return messages;
    }
    // The Voka that client `number` announces under serial 1.
    std::int32_t addPlayer(std::int32_t number, const net::Pose& pose = {800, 800, 0, 0, 0, 0}) {
        const std::int32_t id = (number << 16) | 1;
        EXPECT_EQ(world->onNewObject(id, TYPE_VOKA_GREEN, pose), 0);
        return id;
    }

    std::unique_ptr<World> world;
    std::vector<std::int32_t> samples;
    std::FILE* console = std::tmpfile();
    loopback::Listener listener;
    loopback::Peer server;

  private:
    float now_ = 1.0f;
};
