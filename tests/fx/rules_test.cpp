// The display's and the flare's rules without a window: gear, engine speed, engine
// volumes, the map, the text lines, and what the flare refuses.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <string>
#include <tuple>

#include "fx/engine_sound.h"
#include "fx/hud.h"
#include "fx/lens_flare.h"

namespace {

// Each 30 km/h band climbs from 2000 rpm and ends a gear; the remainder keeps the
// speed's sign. The jitter adds 0 to 100.
TEST(HudRules, GearAndEngineSpeedFollowTheBands) {
    const std::array<std::int32_t, 3> cases[] = {
        {0, 1, 2000},    {29, 1, 7800},        {30, 1, 2000},
        {31, 2, 2200},   {-20, 1, -2000},      {-29, 0, -3800},
        {-1000, -32, 0}, {100000, 3334, 4000}, {INT_MIN, -71582787, 400}};
    for (const auto& [speed, gearShown, lowestRpm] : cases) {
        EXPECT_EQ(gear(speed), gearShown) << speed;
        for (const float frameTime : {0.0f, 0.016f, -1.0f, 1e30f, NAN}) {
            const std::int32_t rpm = engineSpeed(speed, frameTime);
            EXPECT_TRUE(rpm >= lowestRpm && rpm <= lowestRpm + 100) << speed << " " << rpm;
        }
    }
}

// The three loops cross-fade with the speed; negative values are silence.
TEST(HudRules, EngineBandsCrossFadeWithSpeed) {
    const std::array<std::int32_t, 4> cases[] = {
        {0, 160, 0, 0},  {40, 80, 80, 0},  {75, 10, 150, 0}, {76, 8, 168, 0},
        {80, 0, 160, 0}, {160, 0, 0, 160}, {200, 0, 0, 240}, {-20, 200, 0, 0}};
    for (const auto& c : cases) {
        const EngineVolumes v = engineVolumes(c[0]);
        EXPECT_EQ(
            (std::array{c[0], std::max(v.low, 0), std::max(v.middle, 0), std::max(v.high, 0)}), c);
    }
}

// A tenth of the map's width along the direction normalised in three dimensions, x
// mirrored; nothing that is not finite makes a line.
TEST(HudRules, HeadingLinePointsAlongTheViewOnTheMirroredMapIfFinite) {
    // eye x, aim x, y, z, line x, y
    const std::array<float, 6> cases[] = {{800, 1, 0, 0, -0.1f, 0},
                                          {800, 0, 1, 0, 0, 0.1f},
                                          {800, 3, 0, 4, -0.06f, 0},
                                          {800, NAN, 1, 0, NAN, 0},
                                          {INFINITY, 1, 0, 0, NAN, 0}};
    for (const auto& [eyeX, aimX, aimY, aimZ, dx, dy] : cases) {
        const float eye[4] = {eyeX, 800, 0, 1}, aim[4] = {aimX, aimY, aimZ, 0};
        const auto line = headingLine(eye, aim);
        ASSERT_EQ(line.has_value(), !std::isnan(dx)) << eyeX << " " << aimX;
        if (!line) continue;
        EXPECT_NEAR(std::hypot(line->to.x - line->from.x - dx, line->to.y - line->from.y - dy), 0,
                    1e-6f)
            << aimX;
    }
    // Nor does the flare place its elements.
    EXPECT_TRUE(LensFlare::elementPositions({100, 0, 0}, {}, {1, 0, 0}));
    EXPECT_FALSE(LensFlare::elementPositions({100, 0, 0}, {}, {NAN, 1, 0}));
    EXPECT_FALSE(LensFlare::elementPositions({100, 0, 0}, {0, INFINITY, 0}, {0, 1, 0}));
}

// The framerate line comes and goes without moving the others.
TEST(HudRules, FramerateLineComesAndGoesWithoutMovingTheOthers) {
    HudInput in{.speed = 31, .frags = INT_MIN};
    const HudText on = hudText(in, 60, 0.02f, true, INT_MIN);
    const HudText off = hudText(in, 60, 0.02f, false, INT_MIN);
    ASSERT_EQ(std::make_pair(on.count, off.count), std::make_pair(8, 7));
    EXPECT_STREQ(on.lines[1].text, "FPS: 60");
    for (int i = 0; i < off.count; ++i) {
        const auto& same = on.lines[i == 0 ? 0 : i + 1];
        EXPECT_EQ(std::tuple(std::string(same.text), same.x, same.y),
                  std::tuple(std::string(off.lines[i].text), off.lines[i].x, off.lines[i].y));
    }
    EXPECT_STREQ(off.lines[off.engineLine + 1].text, "gear: 2");
    EXPECT_STREQ(on.lines[6].text, "Frags: -2147483648/-2147483648");  // the widest line
}

}  // namespace
