// The match in the game's state machine, in a real window, against a scripted server on
// loopback that numbers the client 1 and names level 2 in the start's first pause: the
// start with its pauses and announcements, the weapon keys, the frames of Playing and
// Dead, death and respawn; and a match recorded against it that plays back without it,
// frame for frame.
#include <GL/freeglut.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "combat/model_store.h"
#include "combat/prototypes.h"
#include "loopback.h"
#include "net/demo/demo_playback.h"
#include "net/demo/demo_recorder.h"
#include "net/player_status.h"
#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"
#include "screen_fixture.h"

namespace {

class MatchTest : public GameDataTest {
  protected:
    void SetUp() override {
        GameDataTest::SetUp();
        LevelRegistry::instance().setCurrentLevel(-1);
        registerPrototypes();
        std::atomic<float> progress{0.0f};
        ModelStore::loadPrototypes(progress);
        ModelStore::uploadPrototypes();
        Settings::setServerIp("127.0.0.1");
        Settings::setServerPort(listener.port());
        Settings::setPlayerName("me");
        Settings::setVokaType(TYPE_VOKA_GREEN);
        Settings::setKeyRailGun('7');
        game = makeGame();
    }
    // A game whose match pauses and keeps time as the test says, silently.
    std::unique_ptr<Game> makeGame(MatchServices services = {}) {
        services.sleep = [this](std::uint32_t ms) { pause(ms); };
        // Level 2's second start, where the dead view has the shooter and its shadow in
        // sight; from most other starts the own explosion covers that view.
        services.world.pickStart = [](std::size_t) { return std::size_t{1}; };
        services.clockMs = [this] { return clockMs; };
        services.world.playSample = [](std::int32_t) {};
        auto made = std::make_unique<Game>(GameState::Menu, std::move(services));
        made->resize(kWidth, kHeight);
        return made;
    }
    void TearDown() override {
        game.reset();
        ModelStore::reset();
        GameDataTest::TearDown();
    }

    // The match start's pauses: the first lets the server number the client and name
    // level 2, the second is where the info request has gone out.
    void pause(std::uint32_t ms) {
        pauses.push_back(ms);
        if (pauses.size() == 1) {
            server = loopback::Peer(listener.accept());
            server.send(net::encodeClientNumber(1));
            server.send(net::encodeLevel(2));
            EXPECT_TRUE(
                loopback::eventually([] { return LevelRegistry::instance().currentLevel() == 2; }));
        } else {
            beforeAnnouncement = until(net::MSG_INFO_REQUEST);
        }
    }
    // The types of what the client sent up to and including the first of `type`, the
    // stream of pose updates left out.
    std::vector<std::uint8_t> until(std::uint8_t type) {
        std::vector<std::uint8_t> types;
        const bool came = loopback::eventually(
            [&] {
                const auto message = loopback::readMessage(server, &net::clientMessageLength);
                if (!message) return false;
                last = *message;
                if (message->type() != net::MSG_UPDATE) types.push_back(message->type());
                return message->type() == type;
            },
            10000);
        EXPECT_TRUE(came && last.type() == type) << "no message of type " << int{type};
        return types;
    }
    void startMatch() {
        game->setState(GameState::Playing);
        ASSERT_TRUE(game->getMatch());
        ASSERT_EQ(pauses, (std::vector<std::uint32_t>{1000, 1000}));
    }
    // The other player, client 2: its Voka is object 1, its rail shot object 3.
    static constexpr std::int32_t kOther = (2 << 16) | 1;
    void fromOther(const net::WireMessage& message) { server.send(net::relay(2, message)); }
    // `count` rail hits on the own Voka by the other player, then frames until it is dead.
    void killedByRail(int count) {
        fromOther(net::encodeNew(TYPE_BULLET_RAIL, 3, {400, 400, 5, 800, 800, 0}));
        World& world = *game->getMatch()->getWorld();
        for (int hit = 0; hit < count; ++hit)
            fromOther(net::encodeEvent(net::MSG_HIT, {3, TYPE_BULLET_RAIL},
                                       {world.ownId(), TYPE_VOKA_GREEN}, {kOther, TYPE_VOKA_RED}));
        ASSERT_TRUE(loopback::eventually([&] {
            frame();
            return game->getState() == GameState::Dead && !world.isFlashing();
        }));
    }
    // A frame of the game, 20 ms after the last.
    void frame() {
        clockMs += 20;
        game->idle();
        game->display();
    }

    loopback::Listener listener;
    loopback::Peer server;
    std::vector<std::uint32_t> pauses;
    std::vector<std::uint8_t> beforeAnnouncement;
    net::WireMessage last;
    float clockMs = 5000;
};

// The level comes from the server during the first pause; the others are asked for
// their names before the second, and the own Voka is announced after it, with the
// player's name, weapon and frags. A rail hit at 30 health then kills: the next idle
// enters Dead, whose frame shows the ranking instead of the display and blends the
// shadows whatever `transparency` says; any key respawns, and the frame after that plays
// again. The respawn message is played in match_e2e_test.
TEST_F(MatchTest, StartAnnouncesTheVokaAfterTheInfoRequestWeaponKeysTellDeathAndRespawn) {
    Settings::setShadow(true);
    Settings::setTransparency(false);
    Settings::setCockpit(false);
    PlayerStatus::setHealth(5);
    startMatch();
    EXPECT_EQ(beforeAnnouncement, std::vector<std::uint8_t>{net::MSG_INFO_REQUEST});
    EXPECT_EQ(until(net::MSG_FRAGS), (std::vector<std::uint8_t>{TYPE_VOKA_GREEN, net::MSG_NAME,
                                                                net::MSG_WEAPON, net::MSG_FRAGS}));
    EXPECT_TRUE(errors.texts().empty());
    EXPECT_EQ(PlayerStatus::getHealth(), 100);
    EXPECT_EQ(game->getMatch()->getWorld()->tableSizes().items,
              static_cast<std::size_t>(LevelRegistry::instance().getLevel(2)->itemCount()));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    // Each weapon key tells the others on its press and again on its release.
    for (const bool up : {false, true}) {
        game->key('7', up, 0, 0);
        until(net::MSG_WEAPON);
        EXPECT_EQ(last.bytes[3], WEAPON_RAIL);
    }
    EXPECT_EQ(PlayerStatus::getWeapon(), WEAPON_RAIL);
    // The shooter's Voka 40 units ahead and a little to the left, where the view of the
    // living and of the dead (turned 50 degrees left) both see its shadow.
    World& world = *game->getMatch()->getWorld();
    Pose own, look;
    world.getCameraPose(own, look);
    const float towards = (own.rotZ + 25.0f) * 0.017453292f;
    const net::Pose there{
        own.x + 40 * std::cos(towards), own.y + 40 * std::sin(towards), own.z, 0, 0, 0};
    fromOther(net::encodeNew(TYPE_VOKA_RED, 1, there));
    ASSERT_TRUE(loopback::eventually([&] { return world.player(kOther).has_value(); }));
    frame();
    EXPECT_GT(pixelsIn({0, 0, 0}), 0) << "shadows, black without transparency";

    PlayerStatus::setArmor(0);
    PlayerStatus::setHealth(30);
    ASSERT_NO_FATAL_FAILURE(killedByRail(1));
    until(net::MSG_KILL);
    frame();
    frame();
    EXPECT_EQ(pixelsIn({0, 0, 0}), 0) << "the shooter's shadow, blended while dead";
    EXPECT_GT(pixelsIn({255, 0, 0}, -1, 0.8f), 20) << "the ranking's headings";

    game->key('x', true, 0, 0);
    EXPECT_EQ(game->getState(), GameState::Respawn);
    EXPECT_EQ(PlayerStatus::getHealth(), 100);
    frame();
    EXPECT_EQ(game->getState(), GameState::Playing);
}

// The other player drives past while the own Voka drives and fires, is killed, lies dead
// and comes back; played back, the demo draws the same frames every time.

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
        fromOther(net::encodeNew(TYPE_VOKA_RED, 1, kim));
        press('w');
        game->mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
        for (int i = 0; i < 30; ++i) {
            kim[1] += 0.5f;
            fromOther(net::encodeUpdate(1, kim));
            frame();
        }
        ASSERT_TRUE(loopback::eventually([&] {
            frame();
            const auto seen = world.player(kOther);
            return seen && seen->pose.y == kim[1];
        }));
        // Four rail hits kill: only what the server sends is in the demo.
        ASSERT_NO_FATAL_FAILURE(killedByRail(4));
        for (int i = 0; i < 5; ++i) frame();
        tap('x');
        for (int i = 0; i < 10; ++i) frame();
        lastOwn = ownPlace(world);
        game.reset();
    }

    // Plays the demo back to its end: every recorded frame, the own Voka dead on the
    // way. Where the own Voka and Kim's end.
    std::vector<Place> play() {
        demo::ReadResult read = demo::loadDemo(path);
        EXPECT_TRUE(read.demo) << read.error;
        if (!read.demo) return {};
        const std::size_t recorded = read.demo->frameCount;
        MatchServices services;
        services.playback = std::make_shared<demo::Playback>(std::move(*read.demo));
        bool ended = false, wasDead = false;
        services.demoEnded = [&ended] { ended = true; };
        game = makeGame(services);
        PlayerStatus::setArmor(0);
        game->setState(GameState::Playing);
        for (std::size_t i = 0; !ended && i < recorded + 10; ++i) {
            clockMs += 1000;  // the real clock: the demo's must win
            game->idle();
            game->display();
            wasDead = wasDead || game->getState() == GameState::Dead;
        }
        EXPECT_TRUE(ended && wasDead && recorded > 45u) << recorded;
        EXPECT_EQ(services.playback->frameSeconds().size(), recorded);
        World& world = *game->getMatch()->getWorld();
        std::vector<Place> vokas = {ownPlace(world)};
        if (const auto kim = world.player(kOther)) vokas.push_back(placeOf(kim->pose));
        game.reset();
        return vokas;
    }

    std::string path = dir.path() + "/match.demo";
    Place lastOwn{};
};

TEST_F(DemoTest, APlayedDemoDrawsTheSameFramesAndEndsWithTheSamePositionsEveryTime) {
    ASSERT_NO_FATAL_FAILURE(record());
    const std::vector<Place> first = play();
    ASSERT_EQ(first.size(), 2u) << "the own Voka and Kim's";
    EXPECT_EQ(play(), first);
    EXPECT_EQ(first[0], lastOwn);
    EXPECT_TRUE(errors.texts().empty()) << errors.texts().front();
}

}  // namespace
