#include "combat/explosion.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Clock readings of successive updates after a start at 0 s, and the picture after each.
struct Updates {
    const char* name;
    std::vector<float> times;
    std::vector<int> frames;
};

TEST(ExplosionTest, ShowsAtMostOnePictureAnUpdateAndOnlyAfterMoreThanATenth) {
    std::vector<float> fiveFps;
    std::vector<int> oneEach;
    for (int k = 1; k <= Explosion::kFrames; ++k) {
        fiveFps.push_back(0.2f * static_cast<float>(k));
        oneEach.push_back(k);
    }
    const Updates runs[] = {
        {"a tenth exactly is not enough", {0.1f, 0.15f}, {0, 1}},
        {"a long pause still gives one picture", {5.0f, 5.05f, 5.2f}, {1, 1, 2}},
        {"at 5 fps every frame advances", fiveFps, oneEach},
    };
    for (const Updates& run : runs) {
        SCOPED_TRACE(run.name);
        Explosion explosion(false);
        explosion.start(Pose{}, 0.0f);
        for (std::size_t i = 0; i < run.times.size(); ++i) {
            EXPECT_EQ(explosion.update(run.times[i]), 0);
            EXPECT_EQ(explosion.getFrame(), run.frames[i]) << "update " << i;
            EXPECT_EQ(explosion.isFinished(), run.frames[i] == Explosion::kFrames);
        }
    }
}

TEST(ExplosionTest, FinishedStaysFinishedUntilStartedAgain) {
    Explosion explosion(false);
    explosion.start(Pose{}, 0.0f);
    for (int k = 1; k <= Explosion::kFrames + 3; ++k) explosion.update(static_cast<float>(k));
    EXPECT_EQ(explosion.getFrame(), Explosion::kFrames);
    EXPECT_TRUE(explosion.isFinished());
    explosion.start(Pose{1.0f, 2.0f, 3.0f}, 100.0f);
    EXPECT_FALSE(explosion.isFinished());
    EXPECT_EQ(explosion.getFrame(), 0);
    EXPECT_EQ(explosion.body.getPose().y, 2.0f);
    explosion.update(100.05f);
    EXPECT_EQ(explosion.getFrame(), 0);
}

}  // namespace
