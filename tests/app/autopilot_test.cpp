// The autopilot at the controls of a real World without a window.
#include "app/autopilot.h"

#include "world_fixture.h"

namespace {

using AutopilotTest = WorldTest;

// Given rail ammunition it takes the rail gun and tells the others once; with nobody
// about it drives off to look for them.
TEST_F(AutopilotTest, TakesTheWeaponItWantsAndAnnouncesIt) {
    Autopilot autopilot(5, 7);
    PlayerStatus::setAmmo(5, WEAPON_RAIL);
    sent();
    bool drove = false;
    for (int i = 0; i < 3; ++i) {
        const WorldInput input = autopilot.read(*world, 0.02f);
        drove = drove || input.forward;
        frame(input, 0.02f);
    }
    EXPECT_TRUE(drove);
    EXPECT_EQ(PlayerStatus::getWeapon(), WEAPON_RAIL);
    std::vector<net::WireMessage> told;
    for (const net::WireMessage& m : sent())
        if (m.type() == net::MSG_WEAPON) told.push_back(m);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], net::encodeWeapon(world->ownId(), WEAPON_RAIL));
}

// Dead, it comes back after its pause, counted from its first look at the dead Voka;
// a frame alive in between starts the pause again.
TEST_F(AutopilotTest, ComesBackAfterItsPause) {
    Autopilot autopilot(3, 1);
    const float pause = Autopilot::kRespawnSeconds;
    EXPECT_FALSE(autopilot.respawnNow(10.0f));
    EXPECT_FALSE(autopilot.respawnNow(10.0f + pause - 0.1f));
    EXPECT_TRUE(autopilot.respawnNow(10.0f + pause));
    EXPECT_FALSE(autopilot.respawnNow(20.0f));
    autopilot.read(*world, 0.02f);
    EXPECT_FALSE(autopilot.respawnNow(20.0f + pause));
    EXPECT_TRUE(autopilot.respawnNow(20.0f + 2 * pause));
}

}  // namespace
