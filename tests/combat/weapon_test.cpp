#include "combat/weapon.h"

#include <gtest/gtest.h>

#include <vector>

#include "net/protocol/game_codes.h"
#include "platform/frame_clock.h"

namespace {

// One frame: its length and whether the fire button is held; then the expected spin.
struct Frame {
    float dt;
    bool fire;
    float angle;
    float factor;
};

struct Spin {
    const char* name;
    std::int32_t weapon;
    std::vector<Frame> frames;
};

TEST(WeaponTest, BarrelSpinsWhileFiringAndRunsDownWithinASecond) {
    const Spin cases[] = {
        {"firing turns 450 degrees a second and wraps at 360",
         WEAPON_MG,
         {{0.5f, true, 225.0f, 1.0f}, {0.5f, true, 90.0f, 1.0f}}},
        {"let go, the barrels coast on a falling factor",
         WEAPON_MG,
         {{0.1f, true, 45.0f, 1.0f},
          {0.5f, false, 45.0f + 0.5f * 0.5f * 450.0f, 0.5f},
          {0.5f, false, 157.5f, 0.0f},
          {0.5f, false, 157.5f, 0.0f}}},
        {"the rail gun does not spin", WEAPON_RAIL, {{0.5f, true, 0.0f, 0.0f}}},
    };
    for (const Spin& spin : cases) {
        SCOPED_TRACE(spin.name);
        FrameClock::reset();
        Weapon weapon;
        weapon.type = static_cast<std::uint8_t>(spin.weapon);
        float now = 0.0f;
        for (const Frame& frame : spin.frames) {
            now += frame.dt;
            FrameClock::tick(now);
            weapon.setFireButton(frame.fire);
            EXPECT_EQ(weapon.update(), 0);
            EXPECT_NEAR(weapon.getSpinAngle(), frame.angle, 1e-3f);
            EXPECT_NEAR(weapon.getSpinFactor(), frame.factor, 1e-6f);
        }
    }
    FrameClock::reset();
}

TEST(WeaponTest, OnlyNumbersTwoAndSevenHaveModels) {
    EXPECT_STREQ(weaponModelBase(WEAPON_MG), "./models/weapon_mg");
    EXPECT_STREQ(weaponModelBase(WEAPON_RAIL), "./models/weapon_railgun");
    Weapon unknown(9);
    EXPECT_EQ(unknown.number(), 9);
    EXPECT_TRUE(unknown.models[0]->objects.empty());
    // Nothing to draw and no OpenGL call: this runs without a window.
    EXPECT_EQ(unknown.draw(Pose{}, nullptr), 0);
}

}  // namespace
