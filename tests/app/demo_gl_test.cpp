// A match recorded against the scripted server plays back without it, frame for frame:
// the other player drives past while the own Voka drives and fires, is killed, lies
// dead and comes back.
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "match_fixture.h"
#include "net/demo/demo_playback.h"
#include "net/demo/demo_recorder.h"
#include "net/player_status.h"

namespace {

constexpr std::int32_t kKim = (2 << 16) | 1;

using Place = std::array<float, 6>;
Place placeOf(const Pose& p) {
    return {p.x, p.y, p.z, p.rotX, p.rotY, p.rotZ};
}
Place ownPlace(World& world) {
    Pose own, look;
    world.ownPose(own, look);
    return placeOf(own);
}

class DemoTest : public MatchTest {
  protected:
    struct Played {
        std::size_t frames = 0;
        std::vector<Place> vokas;  // the own Voka, then Kim's
        bool wasDead = false;
    };

    void record() {
        MatchServices services;
        services.recorder = std::make_shared<demo::Recorder>(path);
        game = makeGame(std::move(services));
        PlayerStatus::setArmor(0);  // the match keeps it; a new game starts without
        startMatch();
        until(net::MSG_FRAGS);
        World& world = *game->getMatch()->getWorld();
        const Place own = ownPlace(world);
        net::Pose kim{own[0] + 30, own[1], own[2], 0, 0, 90};
        server.send(net::relay(2, net::encodeNew(TYPE_VOKA_RED, 1, kim)));
        press('w');
        game->mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
        for (int i = 0; i < 30; ++i) {
            kim[1] += 0.5f;
            server.send(net::relay(2, net::encodeUpdate(1, kim)));
            frame();
        }
        ASSERT_TRUE(loopback::eventually([&] {
            frame();
            const auto seen = world.player(kKim);
            return seen && seen->pose.y == kim[1];
        }));
        // Four rail hits kill: only what the server sends is in the demo.
        server.send(net::relay(2, net::encodeNew(TYPE_BULLET_RAIL, 3, kim)));
        for (int hit = 0; hit < 4; ++hit)
            server.send(net::relay(
                2, net::encodeEvent(net::MSG_HIT, {3, TYPE_BULLET_RAIL},
                                    {world.ownId(), TYPE_VOKA_GREEN}, {kKim, TYPE_VOKA_RED})));
        ASSERT_TRUE(loopback::eventually([&] {
            frame();
            return game->getState() == GameState::Dead;
        }));
        for (int i = 0; i < 5; ++i) frame();
        tap('x');
        for (int i = 0; i < 10; ++i) frame();
        lastOwn = ownPlace(world);
        game.reset();
    }

    Played play() {
        demo::ReadResult read = demo::loadDemo(path);
        EXPECT_TRUE(read.demo) << read.error;
        if (!read.demo) return {};
        recordedFrames = read.demo->frameCount;
        MatchServices services;
        services.playback = std::make_shared<demo::Playback>(std::move(*read.demo));
        bool ended = false;
        services.demoEnded = [&ended] { ended = true; };
        game = makeGame(services);
        PlayerStatus::setArmor(0);
        game->setState(GameState::Playing);
        Played played;
        for (std::size_t i = 0; !ended && i < recordedFrames + 10; ++i) {
            clockMs += 1000;  // the real clock: the demo's must win
            game->idle();
            game->display();
            played.wasDead = played.wasDead || game->getState() == GameState::Dead;
        }
        EXPECT_TRUE(ended);
        played.frames = services.playback->frameSeconds().size();
        World& world = *game->getMatch()->getWorld();
        played.vokas.push_back(ownPlace(world));
        if (const auto kim = world.player(kKim)) played.vokas.push_back(placeOf(kim->pose));
        game.reset();
        return played;
    }

    std::string path = dir.path() + "/match.demo";
    Place lastOwn{};
    std::size_t recordedFrames = 0;
};

TEST_F(DemoTest, APlayedDemoDrawsTheSameFramesAndEndsWithTheSamePositionsEveryTime) {
    ASSERT_NO_FATAL_FAILURE(record());
    const Played first = play();
    const Played second = play();
    EXPECT_GT(recordedFrames, 45u);
    EXPECT_TRUE(first.frames == recordedFrames && second.frames == recordedFrames);
    ASSERT_EQ(first.vokas.size(), 2u) << "the own Voka and Kim's";
    EXPECT_EQ(first.vokas, second.vokas);
    EXPECT_EQ(first.vokas[0], lastOwn);
    EXPECT_TRUE(first.wasDead && second.wasDead);
    EXPECT_TRUE(errors.texts().empty()) << errors.texts().front();
}

}  // namespace
