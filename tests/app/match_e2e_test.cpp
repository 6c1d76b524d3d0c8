// The built game playing matches under Xvfb: on a local relay server alone and two at
// once, without a server, and losing its server midway. A watching client on the
// server sees what the games announce; the head-up display's red lines tell that a
// match frame is on screen.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "config/settings_fixture.h"
#include "loopback.h"
#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"
#include "platform/clock.h"
#include "server_process.h"
#include "support/e2e_runner.h"
#include "support/temp_dir.h"

namespace {

using testing_support::E2eRun;

constexpr int kMatchStartMs = 60000;  // loading and the start's pauses, on a busy machine

// One game in a game directory of its own, at 640 x 480 without sound, its window at
// `left` so that two games do not cover each other.
struct GameRun {
    // `onlyStart`: the x of the one start point of the level file to keep.
    GameRun(const std::string& name, const std::vector<std::string>& server, int left = 0,
            const std::string& voka = "red", const std::string& onlyStart = "") {
        testing_support::copyGameData(dir.path());
        if (!onlyStart.empty()) {
            std::istringstream lines(dir.read("level.xml"));
            std::string kept;
            for (std::string line; std::getline(lines, line);)
                if (line.find("<player ") == line.npos ||
                    line.find("posx=\"" + onlyStart + "\"") != line.npos)
                    kept += line + "\n";
            dir.write("level.xml", kept);
        }
        dir.write("zrv.cfg", withValue("vokatype", voka,
                                       withValue("resolution", "0", withValue("sound", "false"))));
        std::vector<std::string> args = {"--start", "--name", name, "-geometry",
                                         "640x480+" + std::to_string(left) + "+0"};
        args.insert(args.end(), server.begin(), server.end());
        run = std::make_unique<E2eRun>(testing_support::builtBinary("src/voka"), dir.path(), args);
    }
    // A match frame is on screen: the display's red lines along the top (more than 50 red
    // pixels in the top 60 rows). The ranking: its red rule across most of one row.
    bool playing() const {
        return shows([](const std::string& rgb) { return redInTopRows(rgb, 60) > 50; });
    }
    static bool showsRanking(const std::string& rgb) {
        for (int row = 0; row < 60; ++row)
            if (redInTopRows(rgb, row + 1) - redInTopRows(rgb, row) > 400) return true;
        return false;
    }
    static int redInTopRows(const std::string& rgb, int rows) {
        int red = 0;
        for (std::size_t i = 0; i + 2 < rgb.size() && i < rows * 640 * 3u; i += 3)
            red += rgb[i] == '\xff' && rgb[i + 1] == 0 && rgb[i + 2] == 0;
        return red;
    }
    // Waits until the window's picture (RGB, rows from the top) passes `test`; it is read
    // five times a second.
    template <typename Test>
    bool shows(Test test) const {
        const auto seen = [&] {
            platform::sleepMs(200);
            return test(run->windowRgb());
        };
        return run->waitForWindow(kMatchStartMs) && loopback::eventually(seen, kMatchStartMs);
    }
    // Keeps a picture of the window next to the test for a person to look at.
    void keepScreenshot(const std::string& name) const {
        run->windowScreenshot(std::string(VOKA_BINARY_DIR) + "/tests/app/" + name + ".png");
    }
    void quit(int timeoutMs = 20000) const {
        run->key("Escape");
        EXPECT_EQ(run->wait(timeoutMs), 0) << run->report();
    }

    testing_support::TempDir dir;
    std::unique_ptr<E2eRun> run;
};

class MatchE2eTest : public ::testing::Test {
  protected:
    std::vector<std::string> connect() const {
        return {"--connect", "127.0.0.1:" + std::to_string(port)};
    }
    // The next message relayed to the watching client that `wanted` accepts.
    template <typename Wanted>
    std::optional<net::ServerMessage> next(Wanted wanted, int timeoutMs = kMatchStartMs) {
        std::optional<net::ServerMessage> found;
        loopback::eventually(
            [&] {
                const auto message = loopback::readMessage(watcher, &net::serverMessageLength);
                if (!message) return false;  // quiet while the game loads
                kept = *message;
                const auto decoded = net::decodeServerMessage(kept.bytes.data(), kept.length);
                if (decoded && wanted(*decoded)) found = decoded;
                return found.has_value();
            },
            timeoutMs);
        return found;
    }
    std::optional<net::ServerMessage> next(std::uint8_t type) {
        return next([type](const net::ServerMessage& m) { return m.type == type; });
    }
    // The next pose of object `id` that `wanted` accepts.
    template <typename Wanted>
    bool nextPose(std::int32_t id, Wanted wanted) {
        return next([&](const net::ServerMessage& m) {
                   return m.kind == net::ServerMessage::Kind::Update && m.id == id &&
                          wanted(m.pose);
               })
            .has_value();
    }

    ServerProcess server{{"--port", "0", "--bind", "127.0.0.1"}};
    std::uint16_t port = server.port();
    loopback::Peer watcher = loopback::Peer::connectTo(port);
    net::WireMessage kept;
};

// The game reaches the match and announces its Voka. The watching client then plays
// Kim, whose rail gun hits Ada four times: Ada's game reports the kill naming Kim and
// shows the ranking, a key respawns her, and Esc ends the game with 0 and withdraws her
// Voka from the others. A game beside it without a server says so and plays level 1.
TEST_F(MatchE2eTest, StartPlaysDiesRespawnsAndEscWithdrawsTheVokaWithoutAServerLevelOne) {
    const GameRun alone("Solo", {"--connect", "127.0.0.1:9"}, 640);
    const GameRun ada("Ada", connect());
    const auto voka = next(TYPE_VOKA_RED);
    ASSERT_TRUE(voka && ada.playing() && alone.playing())
        << ada.run->report() << alone.run->report() << server.log();
    EXPECT_TRUE(
        std::ranges::count(alone.run->stderrLines(),
                           "error: current level is -1, not connected to server? setting to 1"));
    alone.quit();
    // Kim stands 30 units away, where the dead player's view (turned 50 degrees left)
    // finds him, facing Ada.
    const std::int32_t kim = (1 << 16) | 1;
    const net::Pose& at = voka->pose;
    const net::Pose there{at[0] + 23, at[1] + 19, at[2], at[3], at[4], 220};
    watcher.send(net::encodeNew(TYPE_VOKA_GREEN, 1, there));
    watcher.send(net::encodeName(1, "Kim"));
    watcher.send(net::encodeNew(TYPE_BULLET_RAIL, 2, voka->pose));
    for (int hit = 0; hit < 4; ++hit)
        watcher.send(net::encodeEvent(net::MSG_HIT, {2, TYPE_BULLET_RAIL},
                                      {voka->id, TYPE_VOKA_RED}, {kim, TYPE_VOKA_GREEN}));
    const auto kill = next(net::MSG_KILL);
    ASSERT_TRUE(kill && kill->id3 == kim) << ada.run->report();
    watcher.send(net::encodeFrags(1, 1));
    ASSERT_TRUE(ada.shows(GameRun::showsRanking)) << ada.run->report();
    ada.keepScreenshot("match-ranking");
    ada.run->key("x");
    EXPECT_TRUE(next(net::MSG_RESPAWN)) << ada.run->report();
    ada.quit();
    const auto removed = next(net::MSG_REMOVE);
    EXPECT_TRUE(removed && removed->id == voka->id);
}

// Each game holds the other's Voka: it names the other player when its name arrives.
// Level 1 keeps one start point, (999, 867), so both start there looking along +x. The
// pictures are the README's (scripts/match-screenshots). When the server dies midway,
// the game left plays on.
TEST_F(MatchE2eTest, TwoGamesOnOneServerSeeEachOtherAndPlayOnWhenItDies) {
    const GameRun ada("Ada", connect(), 0, "red", "999");
    const auto adaVoka = next(TYPE_VOKA_RED);
    const GameRun kim("Kim", connect(), 640, "green", "999");
    const auto kimVoka = next(TYPE_VOKA_GREEN);
    ASSERT_TRUE(adaVoka && kimVoka && ada.playing() && kim.playing())
        << ada.run->report() << kim.run->report();
    EXPECT_TRUE(loopback::eventually([&] {
        return std::ranges::count(ada.run->stdoutLines(), "Kim connected...") &&
               std::ranges::count(kim.run->stdoutLines(), "Ada connected...");
    }));
    // Kim drives ahead, stops and turns round on the spot: each has the other in view.
    const float startX = kimVoka->pose[0];
    net::Pose last = kimVoka->pose;
    int same = 0;  // at rest: the same place in ten updates in a row (a slow frame repeats one)
    const auto still = [&](const net::Pose& p) {
        same = std::exchange(last, p) == p ? same + 1 : 0;
        return same == 10;
    };
    kim.run->keyDown("w");
    EXPECT_TRUE(nextPose(kimVoka->id, [&](const net::Pose& p) { return p[0] > startX + 40; }));
    kim.run->keyUp("w");
    EXPECT_TRUE(nextPose(kimVoka->id, still));
    kim.run->keyDown("a");
    EXPECT_TRUE(nextPose(kimVoka->id, [](const net::Pose& p) {
        return std::cos(p[5] * 0.017453292f) < -0.97f;  // facing back along -x
    }));
    kim.run->keyUp("a");
    EXPECT_TRUE(nextPose(kimVoka->id, [](const net::Pose& p) { return std::fabs(p[3]) < 1; }))
        << "the steering back straight";
    ada.keepScreenshot("match-ada");
    kim.keepScreenshot("match-kim");
    ada.quit();
    EXPECT_TRUE(server.logHas("left: goodbye")) << server.log();
    // The server dies: Kim's Voka still drives and Esc still ends the game at once.
    server.signal(SIGKILL);
    EXPECT_EQ(server.wait(), -1);
    kim.run->keyDown("w");
    const std::string before = kim.run->windowRgb();
    EXPECT_TRUE(loopback::eventually([&] { return kim.run->windowRgb() != before; }, 20000));
    kim.run->keyUp("w");
    kim.quit(5000);
}

// The autopilot plays a match against three computer players for a minute at least and
// until it has driven about, fired, been killed and come back by itself while frags were
// counted; the game then still runs and Esc ends it. Pictures: the autopilot's view as
// it fires at a Voka close by (a rail shot when it has one) and the ranking once killed.
TEST_F(MatchE2eTest, AutopilotPlaysAgainstComputerPlayers) {
    auto args = connect();
    args.push_back("--autopilot");
    const GameRun game("Auto", args);
    const auto voka = next(TYPE_VOKA_RED);
    ASSERT_TRUE(voka && game.playing()) << game.run->report() << server.log();
    // At the top skill, like the autopilot: weaker bots may not kill it within the wait.
    E2eRun bots(
        testing_support::builtBinary("bot/voka-bot"), game.dir.path(),
        {"--server", args[1], "--count", "3", "--skill", "5", "--game-dir", game.dir.path()});

    const std::int32_t client = voka->id >> 16;
    net::Pose at = voka->pose;
    std::map<std::int32_t, net::Pose> others;  // the bots' Vokas
    bool drove = false, fired = false, cameBack = false, frags = false;
    int pictured = 0;  // 1: a machine-gun shot, 2: a rail shot
    const auto started = std::chrono::steady_clock::now();
    auto asked = started;
    const auto done = next(  // generous: a loaded machine draws a few frames a second
        [&](const net::ServerMessage& m) {
            // The watcher asks now and then, as players do, so the server never takes it
            // for a silent connection.
            const auto now = std::chrono::steady_clock::now();
            if (now - asked > std::chrono::seconds(10)) {
                watcher.send(net::encodeInfoRequest(1));
                asked = now;
            }
            const bool own = m.id == voka->id, mine = (m.id >> 16) == client;
            const bool isVoka = m.typeCode == TYPE_VOKA_RED || m.typeCode == TYPE_VOKA_GREEN;
            if (m.kind == net::ServerMessage::Kind::NewObject && isVoka && !mine)
                others[m.id] = m.pose;
            if (m.kind == net::ServerMessage::Kind::Update && (own || others.count(m.id)))
                (own ? at : others[m.id]) = m.pose;
            float nearest = 1e9f;
            for (const auto& [id, p] : others)
                nearest = std::min(nearest, std::hypot(p[0] - at[0], p[1] - at[1]));
            drove = drove || std::hypot(at[0] - voka->pose[0], at[1] - voka->pose[1]) > 100;
            const bool rail = m.typeCode == TYPE_BULLET_RAIL;
            const bool shot = m.kind == net::ServerMessage::Kind::NewObject && mine &&
                              (rail || m.typeCode == TYPE_BULLET_MG);
            fired = fired || shot;
            if (shot && nearest < 200 && pictured < 1 + rail) {
                game.keepScreenshot("autopilot-match");
                pictured = 1 + rail;
            }
            if (m.type == net::MSG_KILL && own && !cameBack &&
                loopback::eventually([&] { return GameRun::showsRanking(game.run->windowRgb()); },
                                     2000))
                game.keepScreenshot("autopilot-ranking");
            cameBack = cameBack || (m.type == net::MSG_RESPAWN && own);
            frags =
                frags || (m.type == net::MSG_FRAGS && static_cast<std::int8_t>(m.payload[0]) > 0);
            // A game that ended fails at once, with its output.
            return !game.run->running() ||
                   (drove && fired && cameBack && frags && now - started > std::chrono::minutes(1));
        },
        4 * 60 * 1000);  // within the test's own time limit, so a miss reports itself
    EXPECT_TRUE(done) << "drove " << drove << ", fired " << fired << ", came back " << cameBack
                      << ", frags " << frags << "\n"
                      << game.run->report();
    ASSERT_TRUE(game.run->running()) << game.run->report();
    game.quit();
}

}  // namespace
