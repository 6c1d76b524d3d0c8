// Computer players alone in a match, through the built relay server on loopback, for a
// fixed number of 50 Hz steps of simulated time; a silent observer counts what crosses
// the wire.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "bot/bot_player.h"
#include "loopback.h"
#include "net/net_client.h"
#include "net/protocol/message_types.h"
#include "server_process.h"
#include "world/level_registry.h"

namespace {

// What every player was told: kills (by shooter and by victim), respawns, pick-ups.
struct Observer {
    std::mutex lock;
    std::map<std::int32_t, int> killsBy, deathsOf;
    int respawns = 0, itemsTaken = 0;

    static std::int32_t combat(void* self, std::uint8_t type, std::int32_t victim, std::int32_t,
                               std::int32_t shooter, std::uint8_t, std::uint8_t) {
        auto& o = *static_cast<Observer*>(self);
        std::lock_guard<std::mutex> guard(o.lock);
        if (type == net::MSG_KILL) ++o.killsBy[shooter], ++o.deathsOf[victim];
        return 0;
    }
    static void data(void* self, std::uint8_t type, std::int32_t, const std::uint8_t*,
                     std::size_t) {
        auto& o = *static_cast<Observer*>(self);
        std::lock_guard<std::mutex> guard(o.lock);
        o.respawns += type == net::MSG_RESPAWN;
        o.itemsTaken += type == net::MSG_ITEM_TAKEN;
    }
};

TEST(BotMatch, KillsRespawnsPickUpsAndFragsAgreeOnEveryBot) {
    ServerProcess server({"--port", "0", "--bind", "127.0.0.1"});
    const std::uint16_t port = server.port();
    ASSERT_NE(port, 0) << server.log();
    Observer observer;
    net::NetClient watcher;
    watcher.setCombatEventHandler(&observer, &Observer::combat);
    watcher.setDataEventHandler(&observer, &Observer::data);
    ASSERT_EQ(watcher.connect("127.0.0.1", port), 0);

    bot::GameData data;
    std::string error;
    ASSERT_TRUE(data.load(VOKA_BINARY_DIR "/game", error)) << error;
    std::vector<std::unique_ptr<bot::BotPlayer>> bots;
    for (std::uint32_t i = 1; i <= 4; ++i) {
        bots.push_back(std::make_unique<bot::BotPlayer>(
            bot::BotSetup{"Bot " + std::to_string(i), TYPE_VOKA_RED, 5, i}, data));
        ASSERT_TRUE(bots.back()->connect("127.0.0.1", port));
    }
    // Numbered and told the level before the first step, as real time would have them.
    ASSERT_TRUE(loopback::eventually([&] {
        if (LevelRegistry::instance().currentLevel() == -1) return false;
        for (const auto& bot : bots)
            if (bot->match().getClientNumber() == -1) return false;
        return true;
    }));
    for (int step = 0; step < 3 * 60 * 50; ++step)
        for (auto& bot : bots) bot->step(0.02f);
    // Once the last messages have arrived every bot knows every other's frags, each the
    // number of kills that named it; each bot died as often as it was reported killed
    // and came back as often as it said so.
    int kills = 0, respawns = 0;
    const auto agreed = [&] {
        for (auto& bot : bots) bot->step(0.02f, false);
        std::lock_guard<std::mutex> guard(observer.lock);
        kills = respawns = 0;
        for (const auto& bot : bots) {
            kills += bot->frags();
            respawns += bot->respawns();
            const std::int32_t id = bot->match().ownId();
            if (observer.killsBy[id] != bot->frags() || observer.deathsOf[id] != bot->deaths())
                return false;
            for (const auto& other : bots) {
                const auto seen = other->match().playerView(id);
                if (other != bot && (!seen || seen->frags != bot->frags())) return false;
            }
        }
        return observer.respawns == respawns;
    };
    EXPECT_TRUE(loopback::eventually(agreed, 10000));
    EXPECT_GT(kills, 0);
    EXPECT_GT(respawns, 0);
    EXPECT_GT(observer.itemsTaken, 0);
}

}  // namespace
