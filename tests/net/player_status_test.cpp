#include "net/player_status.h"

#include <gtest/gtest.h>

#include <thread>
#include <utility>

namespace {

class PlayerStatusTest : public ::testing::Test {
  protected:
    void SetUp() override { PlayerStatus::resetAll(); }
};

TEST_F(PlayerStatusTest, MinusOneTakesOneRoundAndOtherWeaponsHoldNothing) {
    PlayerStatus::setAmmo(200, 2);
    PlayerStatus::setAmmo(-1, 2);
    EXPECT_EQ(PlayerStatus::getAmmo(2), 199);
    PlayerStatus::setAmmo(-1, 7);  // even at zero
    EXPECT_EQ(PlayerStatus::getAmmo(7), -1);
    // Weapon numbers outside the table.
    PlayerStatus::setAmmo(5, 10);
    PlayerStatus::setAmmo(5, -1);
    EXPECT_EQ(PlayerStatus::getAmmo(10), 0);
    EXPECT_EQ(PlayerStatus::getAmmo(-1), 0);
    EXPECT_EQ(PlayerStatus::getAmmo(2), 199);
}

TEST_F(PlayerStatusTest, CameraOffsetStartsOnTheSecondAndTogglesBack) {
    const auto offsetXZ = [] {
        float offset[3];
        PlayerStatus::getCameraOffset(offset);
        return std::make_pair(offset[0], offset[2]);
    };
    EXPECT_EQ(offsetXZ(), std::make_pair(-3.0f, 16.0f));
    PlayerStatus::nextCameraOffset();
    EXPECT_EQ(offsetXZ(), std::make_pair(6.0f, 13.0f));
    PlayerStatus::nextCameraOffset();
    EXPECT_EQ(offsetXZ(), std::make_pair(-3.0f, 16.0f));
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
