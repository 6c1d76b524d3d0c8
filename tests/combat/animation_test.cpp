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

// Frames of `dt` seconds with the fire button held or not, and the machine gun's spin
// after each: 450 degrees a second wrapped at 360; let go, the barrels coast on a factor
// that falls by the frame time and stops at 0, never turning them back. The rail gun
// never spins.
TEST(WeaponTest, BarrelSpinsWhileFiringAndRunsDownWithinASecond) {
    const struct {
        float dt;
        bool fire;
        float angle, factor;
    } frames[] = {{0.5f, true, 225, 1},     {0.5f, true, 90, 1},      {0.1f, true, 135, 1},
                  {0.4f, false, 243, 0.6f}, {0.4f, false, 279, 0.2f}, {0.4f, false, 279, 0},
                  {0.4f, false, 279, 0}};
    for (const std::int32_t number : {WEAPON_MG, WEAPON_RAIL}) {
        FrameClock::reset();
        Weapon weapon;  // the spin needs no model
        weapon.type = static_cast<std::uint8_t>(number);
        float now = 0.0f;
        for (const auto& frame : frames) {
            FrameClock::tick(now += frame.dt);
            weapon.setFireButton(frame.fire);
            weapon.update();
            const bool spins = number == WEAPON_MG;
            EXPECT_NEAR(weapon.getSpinAngle(), spins ? frame.angle : 0, 1e-3f) << now;
            EXPECT_NEAR(weapon.getSpinFactor(), spins ? frame.factor : 0, 1e-6f) << now;
        }
    }
    FrameClock::reset();
}

}  // namespace
