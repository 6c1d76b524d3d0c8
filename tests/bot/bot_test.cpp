// Computer players: their command line; their pilot's decisions, one frame of view at a
// time, without a match; and bots alone in a match, through the built relay server on
// loopback, for a fixed number of 50 Hz steps of simulated time, while a silent observer
// counts what crosses the wire.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "bot/bot_options.h"
#include "bot/bot_player.h"
#include "loopback.h"
#include "net/net_client.h"
#include "net/protocol/message_types.h"
#include "pilot/pilot.h"
#include "server_process.h"
#include "world/level_registry.h"

namespace {

bot::ParsedBotOptions parse(std::vector<const char*> args) {
    args.insert(args.begin(), "voka-bot");
    return bot::parseBotOptions(static_cast<int>(args.size()), args.data());
}

TEST(BotOptions, EveryOptionIsReadAndEveryMistakeNamed) {
    const auto line = [](const char* server, const char* count, const char* skill) {
        return parse({"--server", server, "--count", count, "--skill", skill, "--game-dir", "g"});
    };
    const bot::ParsedBotOptions good = line("game.local:3000", "16", "5");
    const bot::BotOptions& o = good.options;
    EXPECT_EQ(
        testing::PrintToString(std::tuple(good.error, o.host, o.port, o.count, o.skill, o.gameDir)),
        R"(("", "game.local", 3000, 16, 5, "g"))");
    EXPECT_EQ(line("10.0.0.2", "1", "1").options.port, 24500);
    EXPECT_TRUE(parse({"--skill", "2", "--help"}).help);
    for (const auto& bad :
         {line(":3000", "1", "1"), line("h:0", "1", "1"), line("h", "127", "1"),
          line("h", "1", "6"), parse({"--server", "h", "--count", "1", "--skill", "1"}),
          parse({"--server", "h", "--count", "1", "--skill", "1", "--game-dir"}),
          parse({"--bots", "3"})})
        EXPECT_NE(bad.error, "");
}

float flat(float, float) {
    return 0.0f;
}
float ridge(float x, float) {  // a wall of earth across x = 900
    return std::fabs(x - 900.0f) < 20.0f ? 100.0f : 0.0f;
}

// The own Voka at (800, 800) facing +x, its camera 16 above; one other player.
struct Case {
    const char* name;
    float targetX, targetY;
    bool destroyed;
    float (*ground)(float, float);
    PlayerValues values;
    float aimOffDegrees;  // the crosshair's yaw away from the target
    int frames;           // of 0.1 s, the same view each
    bool fire;
    char steer;  // 'L'eft, 'R'ight, '-' neither; '?' roaming where it likes
};

TEST(Pilot, FiresOnlyAtAVisibleTargetInReachOnceAimedSteersForWhatItNeedsPrefersTheRail) {
    const PlayerValues healthy{100, 0, 200, 0}, empty{100, 0, 0, 0}, hurt{30, 0, 200, 0},
        rail{100, 0, 200, 3};
    const Case cases[] = {
        {"aimed, after the reaction time", 1000, 800, false, flat, healthy, 0, 3, true, '-'},
        {"aimed, before the reaction time", 1000, 800, false, flat, healthy, 0, 1, false, '-'},
        {"behind a ridge", 1000, 800, false, ridge, healthy, 0, 3, false, '?'},
        {"beyond sight", 1600, 800, false, flat, healthy, 0, 3, false, '?'},
        {"without ammunition", 1000, 800, false, flat, empty, 0, 3, false, '-'},
        {"at a wreck", 1000, 800, true, flat, healthy, 0, 3, false, '?'},
        {"crosshair 10 degrees right", 1000, 800, false, flat, healthy, -10, 3, false, '-'},
        {"to the left, crosshair ahead", 800, 1000, false, flat, healthy, -90, 1, false, 'L'},
        {"hurt, a health item to the right", 1000, 800, false, flat, hurt, 0, 3, true, 'R'},
        {"rail rounds: takes the rail, holds fire", 1000, 800, false, flat, rail, 0, 3, false,
         '-'}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const driving::GroundHeight ground = c.ground;
        // The crosshair looks from the eye 16 up to the target's middle at 5.
        const float dx = c.targetX - 800, dy = c.targetY - 800;
        const float yaw = std::atan2(dy, dx) + c.aimOffDegrees / 57.29578f,
                    pitch = std::atan2(5.0f - 16.0f, std::hypot(dx, dy));
        const PilotView view{.pose = {800, 800, 0, 0, 0, 0},
                             .look = {},
                             .eye = {800, 800, 16},
                             .aim = {std::cos(yaw) * std::cos(pitch),
                                     std::sin(yaw) * std::cos(pitch), std::sin(pitch)},
                             .values = c.values,
                             .weapon = WEAPON_MG,
                             .players = {{(2 << 16) | 1, c.targetX, c.targetY, 0, c.destroyed}},
                             .items = {{ITEM_POWER25, 800, 600, 0}},
                             .ground = &ground};
        Pilot pilot({0.0f, 0.2f, 300.0f, 1.0f}, 7);
        PilotCommand command;
        for (int i = 0; i < c.frames; ++i) command = pilot.fly(view, 0.1f);
        EXPECT_EQ(command.input.fireButton, c.fire);
        EXPECT_EQ(command.weapon, c.values.ammoRail > 0 ? WEAPON_RAIL : WEAPON_MG);
        EXPECT_TRUE(c.steer == '?' || (command.input.left == (c.steer == 'L') &&
                                       command.input.right == (c.steer == 'R')));
        // Towards the target, at most 300 degrees a second.
        EXPECT_NEAR(command.input.look.yaw, std::clamp(-c.aimOffDegrees, -30.0f, 30.0f), 0.01f);
    }
}

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
    EXPECT_TRUE(kills > 0 && respawns > 0 && observer.itemsTaken > 0)
        << kills << " " << respawns << " " << observer.itemsTaken;
}

}  // namespace
