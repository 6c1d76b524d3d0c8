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

}  // namespace
