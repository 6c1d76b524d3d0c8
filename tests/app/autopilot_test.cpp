// The autopilot at the controls of a real World without a window.
#include "app/autopilot.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "world_fixture.h"

namespace {

using AutopilotTest = WorldTest;

// Given rail ammunition it takes the rail gun and tells the others once. Its driving is
// played in match_e2e_test.
TEST_F(AutopilotTest, TakesTheWeaponItWantsAndAnnouncesItOnce) {
    Autopilot autopilot(5, 7);
    PlayerStatus::setAmmo(5, WEAPON_RAIL);
    sent();
    for (int i = 0; i < 3; ++i) frame(autopilot.read(*world, 0.02f), 0.02f);
    EXPECT_EQ(PlayerStatus::getWeapon(), WEAPON_RAIL);
    std::vector<net::WireMessage> told;
    std::ranges::copy_if(sent(), std::back_inserter(told),
                         [](const net::WireMessage& m) { return m.type() == net::MSG_WEAPON; });
    EXPECT_EQ(told, std::vector{net::encodeWeapon(world->ownId(), WEAPON_RAIL)});
}

}  // namespace
