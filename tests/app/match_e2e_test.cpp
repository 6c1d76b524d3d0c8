// The built game playing matches under Xvfb: on a local relay server alone and two at
// once, without a server, and losing its server midway. A watching client on the
// server sees what the games announce; the head-up display's red lines tell that a
// match frame is on screen.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "config/settings_fixture.h"
#include "loopback.h"
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
            const std::regex others("\\s*<player posx=\"(?!" + onlyStart + "\")[^>]*>");
            dir.write("level.xml", std::regex_replace(dir.read("level.xml"), others, ""));
        }
        dir.write("zrv.cfg", withValue("vokatype", voka,
                                       withValue("resolution", "0", withValue("sound", "false"))));
        std::vector<std::string> args = {"--start", "--name", name, "-geometry",
                                         "640x480+" + std::to_string(left) + "+0"};
        args.insert(args.end(), server.begin(), server.end());
        run = std::make_unique<E2eRun>(testing_support::builtBinary("src/voka"), dir.path(), args);
    }
    // A match frame is on screen: the display's red lines along the top. The picture is
    // read five times a second.
    bool playing() const {
        if (!run->waitForWindow(kMatchStartMs)) return false;
        return loopback::eventually(
            [&] {
                platform::sleepMs(200);
                const std::string rgb = run->windowRgb();
                int red = 0;
                for (std::size_t i = 0; i + 2 < std::min<std::size_t>(rgb.size(), 640 * 60 * 3);
                     i += 3)
                    red += rgb[i] == '\xff' && rgb[i + 1] == 0 && rgb[i + 2] == 0;
                return red > 50;
            },
            kMatchStartMs);
    }
    bool printed(const std::string& line) const {
        return loopback::eventually([&] {
            const auto lines = run->stdoutLines();
            return std::find(lines.begin(), lines.end(), line) != lines.end();
        });
    }
    // Keeps a picture of the window next to the test for a person to look at.
    void keepScreenshot(const std::string& name) const {
        run->windowScreenshot(std::string(VOKA_BINARY_DIR) + "/tests/app/" + name + ".png");
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
    std::optional<net::ServerMessage> next(Wanted wanted) {
        std::optional<net::ServerMessage> found;
        loopback::eventually(
            [&] {
                const auto message = loopback::readMessage(watcher, &net::serverMessageLength);
                if (!message) return true;
                kept = *message;
                const auto decoded = net::decodeServerMessage(kept.bytes.data(), kept.length);
                if (decoded && wanted(*decoded)) found = decoded;
                return found.has_value();
            },
            kMatchStartMs);
        return found;
    }
    std::optional<net::ServerMessage> next(std::uint8_t type) {
        return next([type](const net::ServerMessage& m) { return m.type == type; });
    }
    // The next pose of object `id` that `wanted` accepts.
    template <typename Wanted>
    std::optional<net::ServerMessage> nextPose(std::int32_t id, Wanted wanted) {
        return next([&](const net::ServerMessage& m) {
            return m.kind == net::ServerMessage::Kind::Update && m.id == id && wanted(m.pose);
        });
    }

    ServerProcess server{{"--port", "0", "--bind", "127.0.0.1"}};
    std::uint16_t port = server.port();
    loopback::Peer watcher = loopback::Peer::connectTo(port);
    net::WireMessage kept;
};

// The game reaches the match and announces its Voka; Esc ends it with 0 and the Voka
// is withdrawn from the others.
TEST_F(MatchE2eTest, StartPlaysOnALocalServerAndEscWithdrawsTheVoka) {
    ASSERT_NE(port, 0) << server.log();
    const GameRun ada("Ada", connect());
    const auto voka = next(TYPE_VOKA_RED);
    ASSERT_TRUE(voka) << ada.run->report();
    ASSERT_TRUE(ada.playing()) << ada.run->report();
    ada.keepScreenshot("match-alone");
    ada.run->key("Escape");
    EXPECT_EQ(ada.run->wait(), 0);
    const auto removed = next(net::MSG_REMOVE);
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->id, voka->id);
}

// Each game holds the other's Voka: it names the other player when its name arrives.
// Level 1 keeps one start point, (999, 867), so both start there looking along +x; Kim
// drives ahead, stops and turns round on the spot, and each has the other in view.
TEST_F(MatchE2eTest, TwoGamesOnOneServerSeeEachOther) {
    const GameRun ada("Ada", connect(), 0, "red", "999");
    const auto adaVoka = next(TYPE_VOKA_RED);
    const GameRun kim("Kim", connect(), 640, "green", "999");
    const auto kimVoka = next(TYPE_VOKA_GREEN);
    ASSERT_TRUE(adaVoka && kimVoka);
    ASSERT_TRUE(ada.playing()) << ada.run->report();
    ASSERT_TRUE(kim.playing()) << kim.run->report();
    EXPECT_TRUE(ada.printed("Kim connected...")) << ada.run->report();
    EXPECT_TRUE(kim.printed("Ada connected...")) << kim.run->report();

    const float startX = kimVoka->pose[0];
    // At rest: the same place in ten updates in a row (a slow frame repeats one).
    net::Pose last = kimVoka->pose;
    int same = 0;
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
    for (const GameRun* game : {&ada, &kim}) {
        game->run->key("Escape");
        EXPECT_EQ(game->run->wait(), 0) << game->run->report();
    }
    EXPECT_TRUE(server.logHas("left: goodbye")) << server.log();
}

TEST_F(MatchE2eTest, WithoutAServerTheMatchSaysSoAndPlaysLevelOne) {
    const GameRun alone("Ada", {"--connect", "127.0.0.1:9"});
    ASSERT_TRUE(alone.playing()) << alone.run->report();
    const auto lines = alone.run->stderrLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "error: current level is -1, not connected to server? setting to 1"),
              lines.end());
    alone.run->key("Escape");
    EXPECT_EQ(alone.run->wait(), 0);
}

// The server dies midway: the Voka still drives (the picture moves) and Esc still ends
// the game at once.
TEST_F(MatchE2eTest, ALostServerLeavesTheMatchRunningAndEscEndsIt) {
    const GameRun ada("Ada", connect());
    ASSERT_TRUE(ada.playing()) << ada.run->report();
    server.signal(SIGKILL);
    EXPECT_EQ(server.wait(), -1);
    ada.run->keyDown("w");
    const std::string before = ada.run->windowRgb();
    EXPECT_TRUE(loopback::eventually([&] { return ada.run->windowRgb() != before; }, 20000));
    ada.run->keyUp("w");
    ada.run->key("Escape");
    EXPECT_EQ(ada.run->wait(5000), 0) << ada.run->report();
}

}  // namespace
