#include <gtest/gtest.h>

#include <vector>

#include "combat/explosion.h"

namespace {

TEST(ExplosionTest, ShowsAtMostOnePictureAnUpdateAndOnlyAfterMoreThanATenth) {
    std::vector<float> fiveFps;
    std::vector<int> oneEach;
    for (int k = 1; k <= Explosion::kFrames + 2; ++k) {
        fiveFps.push_back(0.2f * static_cast<float>(k));
        oneEach.push_back(k < Explosion::kFrames ? k : Explosion::kFrames);
    }
    const struct {
        const char* name;
        std::vector<float> times;
        std::vector<int> frames;
    } runs[] = {{"a tenth exactly is not enough", {0.1f, 0.15f}, {0, 1}},
                {"a long pause still gives one picture", {5.0f, 5.05f, 5.2f}, {1, 1, 2}},
                {"at 5 fps every frame advances, 15 in all", fiveFps, oneEach}};
    for (const auto& run : runs) {
        Explosion explosion(false);
        explosion.start(Pose{}, 0.0f);
        for (std::size_t i = 0; i < run.times.size(); ++i) {
            explosion.update(run.times[i]);
            EXPECT_EQ(explosion.getFrame(), run.frames[i]) << run.name << ", update " << i;
        }
    }
}

}  // namespace
