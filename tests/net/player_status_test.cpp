#include "net/player_status.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "net/protocol/game_codes.h"

namespace {

// (The camera offsets are the camera's tests.)
class PlayerStatusTest : public ::testing::Test {
  protected:
    void SetUp() override { PlayerStatus::resetAll(); }
};

// -1 takes one round, even at zero; weapon numbers outside the table hold nothing.
TEST_F(PlayerStatusTest, MinusOneTakesOneRoundAndOtherWeaponsHoldNothing) {
    PlayerStatus::setAmmo(200, WEAPON_MG);
    PlayerStatus::setAmmo(-1, WEAPON_MG);
    PlayerStatus::setAmmo(-1, WEAPON_RAIL);
    PlayerStatus::setAmmo(5, 10);
    PlayerStatus::setAmmo(5, -1);
    EXPECT_EQ(
        std::vector<int>({PlayerStatus::getAmmo(WEAPON_MG), PlayerStatus::getAmmo(WEAPON_RAIL),
                          PlayerStatus::getAmmo(10), PlayerStatus::getAmmo(-1)}),
        std::vector<int>({199, -1, 0, 0}));
}

// A match start keeps the armor and clears the frags; a respawn the other way round.
TEST_F(PlayerStatusTest, MatchStartAndRespawnRearm) {
    for (const bool respawn : {false, true}) {
        PlayerStatus::setWeapon(WEAPON_RAIL);
        PlayerStatus::setAmmo(4, WEAPON_RAIL);
        PlayerStatus::setHealth(0);
        PlayerStatus::setArmor(50);
        PlayerStatus::addFrag();
        respawn ? PlayerStatus::resetForRespawn() : PlayerStatus::resetForMatch();
        EXPECT_EQ(std::vector<int>({PlayerStatus::getWeapon(), PlayerStatus::getAmmo(WEAPON_MG),
                                    PlayerStatus::getAmmo(WEAPON_RAIL), PlayerStatus::getHealth(),
                                    PlayerStatus::getArmor(), PlayerStatus::getFrags()}),
                  std::vector<int>({WEAPON_MG, 200, 0, 100, respawn ? 0 : 50, respawn ? 1 : 0}));
    }
}

// The receiving thread counts frags and changes health while the main thread reads and
// writes them; no count may be lost and ThreadSanitizer must stay quiet.
TEST_F(PlayerStatusTest, CountsWrittenFromTwoThreads) {
    std::thread network([] {
        for (int i = 0; i < 10000; ++i) {
            PlayerStatus::addFrag();
            PlayerStatus::setHealth(i);
        }
    });
    int seen = 0;
    for (int i = 0; i < 10000; ++i) {
        PlayerStatus::addFrag();
        seen = std::max(seen, PlayerStatus::getHealth());
    }
    network.join();
    EXPECT_EQ(PlayerStatus::getFrags(), 20000);
    EXPECT_LE(seen, 9999);
}

}  // namespace
