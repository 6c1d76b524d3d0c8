// The match in the game's state machine, in a real window, against a scripted server on
// loopback: the start with its pauses and announcements, the weapon keys, the frames
// of Playing and Dead, death and respawn.
#include <GL/freeglut.h>

#include <cmath>

#include "match_fixture.h"
#include "net/player_status.h"

namespace {

// The level comes from the server during the first pause; the others are asked for
// their names before the second, and the own Voka is announced after it, with the
// player's name, weapon and frags.
TEST_F(MatchTest, StartPausesTwiceAnnouncesTheVokaAfterTheInfoRequestAndItsWeapons) {
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
}

// A rail hit at 30 health kills: the next idle enters Dead, whose frame shows the
// ranking instead of the display and blends the shadows whatever `transparency` says;
// any key respawns, and the frame after that plays again.
TEST_F(MatchTest, DeathShowsTheRankingAndAKeyRespawns) {
    Settings::setShadow(true);
    Settings::setTransparency(false);
    Settings::setCockpit(false);
    startMatch();
    until(net::MSG_FRAGS);
    // The shooter's Voka 40 units ahead and a little to the left, where the view of the
    // living and of the dead (turned 50 degrees left) both see its shadow.
    World& world = *game->getMatch()->getWorld();
    Pose own, look;
    world.getCameraPose(own, look);
    const float towards = (own.rotZ + 25.0f) * 0.017453292f;
    const net::Pose there{
        own.x + 40 * std::cos(towards), own.y + 40 * std::sin(towards), own.z, 0, 0, 0};
    const std::int32_t ownId = world.ownId(), shooter = (2 << 16) | 1;
    server.send(net::relay(2, net::encodeNew(TYPE_VOKA_RED, 1, there)));
    ASSERT_TRUE(loopback::eventually([&] { return world.player(shooter).has_value(); }));
    frame();
    EXPECT_GT(pixelsIn({0, 0, 0}), 0) << "shadows, black without transparency";

    PlayerStatus::setArmor(0);
    PlayerStatus::setHealth(30);
    server.send(net::relay(2, net::encodeNew(TYPE_BULLET_RAIL, 3, {400, 400, 5, 800, 800, 0})));
    server.send(
        net::relay(2, net::encodeEvent(net::MSG_HIT, {3, TYPE_BULLET_RAIL},
                                       {ownId, TYPE_VOKA_GREEN}, {shooter, TYPE_VOKA_RED})));
    until(net::MSG_KILL);
    ASSERT_TRUE(loopback::eventually([&] {
        frame();
        return game->getState() == GameState::Dead && !world.isFlashing();
    }));
    clockMs += 10000;  // the own explosion has burnt out: the shooter's shadow shows
    frame();
    frame();
    EXPECT_EQ(pixelsIn({0, 0, 0}), 0);
    EXPECT_GT(pixelsIn({255, 0, 0}, 0, kHeight * 9 / 10), 20) << "the ranking's headings";

    game->key('x', true, 0, 0);
    EXPECT_EQ(game->getState(), GameState::Respawn);
    until(net::MSG_RESPAWN);
    EXPECT_EQ(PlayerStatus::getHealth(), 100);
    frame();
    EXPECT_EQ(game->getState(), GameState::Playing);
}

}  // namespace
