// The flip-book of the explosion and the machine gun's barrels, driven by given clocks.
#include <gtest/gtest.h>

#include <vector>

#include "combat/explosion.h"
#include "combat/weapon.h"
#include "net/protocol/game_codes.h"
#include "platform/frame_clock.h"

namespace {

// Clock readings of updates after a start at 0 s, and the picture after each.
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
        SCOPED_TRACE(run.name);
        Explosion explosion(false);
        explosion.start(Pose{}, 0.0f);
        for (std::size_t i = 0; i < run.times.size(); ++i) {
            explosion.update(run.times[i]);
            EXPECT_EQ(explosion.getFrame(), run.frames[i]) << "update " << i;
            EXPECT_EQ(explosion.isFinished(), run.frames[i] == Explosion::kFrames);
        }
    }
}

// Frames of `dt` seconds with the fire button held or not, and the spin after each.
TEST(WeaponTest, BarrelSpinsWhileFiringAndRunsDownWithinASecond) {
    struct Frame {
        float dt;
        bool fire;
        float angle, factor;
    };
    const struct {
        const char* name;
        std::int32_t weapon;
        std::vector<Frame> frames;
    } cases[] = {
        {"450 degrees a second, wrapped at 360",
         WEAPON_MG,
         {{0.5f, true, 225, 1}, {0.5f, true, 90, 1}}},
        {"let go, the barrels coast on a falling factor",
         WEAPON_MG,
         {{0.1f, true, 45, 1},
          {0.5f, false, 157.5f, 0.5f},
          {0.5f, false, 157.5f, 0},
          {0.5f, false, 157.5f, 0}}},
        {"the rail gun does not spin", WEAPON_RAIL, {{0.5f, true, 0, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FrameClock::reset();
        Weapon weapon;  // the spin needs no model
        weapon.type = static_cast<std::uint8_t>(c.weapon);
        float now = 0.0f;
        for (const Frame& frame : c.frames) {
            FrameClock::tick(now += frame.dt);
            weapon.setFireButton(frame.fire);
            weapon.update();
            EXPECT_NEAR(weapon.getSpinAngle(), frame.angle, 1e-3f);
            EXPECT_NEAR(weapon.getSpinFactor(), frame.factor, 1e-6f);
        }
    }
    FrameClock::reset();
}

}  // namespace
