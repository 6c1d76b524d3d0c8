#include "net/player_status.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class PlayerStatusTest : public ::testing::Test {
  protected:
    void SetUp() override { PlayerStatus::resetAll(); }
};

TEST_F(PlayerStatusTest, MinusOneTakesOneRoundEvenAtZero) {
    PlayerStatus::setAmmo(200, 2);
    PlayerStatus::setAmmo(-1, 2);
    EXPECT_EQ(PlayerStatus::getAmmo(2), 199);
    PlayerStatus::setAmmo(-1, 7);
    EXPECT_EQ(PlayerStatus::getAmmo(7), -1);
    EXPECT_EQ(PlayerStatus::getAmmo(2), 199);
}

TEST_F(PlayerStatusTest, WeaponNumbersOutsideTheTableHoldNothing) {
    PlayerStatus::setAmmo(5, 10);
    PlayerStatus::setAmmo(5, -1);
    EXPECT_EQ(PlayerStatus::getAmmo(10), 0);
    EXPECT_EQ(PlayerStatus::getAmmo(-1), 0);
}

TEST_F(PlayerStatusTest, CameraOffsetStartsOnTheSecondAndTogglesBack) {
    float offset[3];
    PlayerStatus::getCameraOffset(offset);
    EXPECT_FLOAT_EQ(offset[0], -3.0f);
    EXPECT_FLOAT_EQ(offset[2], 16.0f);
    PlayerStatus::nextCameraOffset();
    PlayerStatus::getCameraOffset(offset);
    EXPECT_FLOAT_EQ(offset[0], 6.0f);
    EXPECT_FLOAT_EQ(offset[2], 13.0f);
    PlayerStatus::nextCameraOffset();
    PlayerStatus::getCameraOffset(offset);
    EXPECT_FLOAT_EQ(offset[0], -3.0f);
}

TEST_F(PlayerStatusTest, VectorsCopyFourFloats) {
    const float muzzle[4] = {1, 2, 3, 4};
    PlayerStatus::setMuzzle(muzzle);
    float out[4] = {};
    PlayerStatus::getMuzzle(out);
    EXPECT_FLOAT_EQ(out[3], 4.0f);
    PlayerStatus::getAim(out);
    EXPECT_FLOAT_EQ(out[0], 0.0f);
    PlayerStatus::setViewAngles(10.0f, -5.0f);
    float a = 0;
    float b = 0;
    PlayerStatus::getViewAngles(a, b);
    EXPECT_FLOAT_EQ(a, 10.0f);
    EXPECT_FLOAT_EQ(b, -5.0f);
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
