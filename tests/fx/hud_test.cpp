// The display's rules without a window: gear, engine speed, the map and the text lines.
#include "fx/hud.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

// Each 30 km/h band climbs from 2000 rpm and ends a gear; the remainder keeps the
// speed's sign. The jitter adds 0 to 100 and spreads over that range.
TEST(HudRules, GearAndEngineSpeedFollowTheBands) {
    const struct {
        std::int32_t speed, gear, lowestRpm;
    } cases[] = {{0, 1, 2000},    {29, 1, 7800},        {30, 1, 2000},
                 {31, 2, 2200},   {-20, 1, -2000},      {-29, 0, -3800},
                 {-1000, -32, 0}, {100000, 3334, 4000}, {INT_MIN, -71582787, 400}};
    for (const auto& c : cases) {
        EXPECT_EQ(gear(c.speed), c.gear) << c.speed;
        for (const float frameTime : {0.0f, 0.016f, -1.0f, 1e30f, NAN}) {
            const std::int32_t rpm = engineSpeed(c.speed, frameTime);
            EXPECT_TRUE(rpm >= c.lowestRpm && rpm <= c.lowestRpm + 100) << c.speed << " " << rpm;
        }
    }
    int lowest = 100, highest = 0;
    for (int step = 1; step < 200; ++step) {
        lowest = std::min(lowest, engineSpeed(0, step * 0.0005f) - 2000);
        highest = std::max(highest, engineSpeed(0, step * 0.0005f) - 2000);
    }
    EXPECT_LT(lowest, 10);
    EXPECT_GT(highest, 90);
}

// The arena turned by 180 degrees onto the map.
TEST(HudRules, WorldToMapTurnsTheArenaOntoTheMap) {
    const struct {
        float x, y, mapX, mapY;
    } cases[] = {{0, 0, 0.9f, 0.55f},
                 {1600, 1600, 0.6f, 0.85f},
                 {800, 800, 0.75f, 0.7f},
                 {1600, 0, 0.6f, 0.55f}};
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(worldToMap(c.x, c.y).x, c.mapX) << c.x << ", " << c.y;
        EXPECT_FLOAT_EQ(worldToMap(c.x, c.y).y, c.mapY) << c.x << ", " << c.y;
    }
}

// A tenth of the map's width along the direction normalised in three dimensions, x
// mirrored; nothing that is not finite makes a line.
TEST(HudRules, HeadingLinePointsAlongTheViewOnTheMirroredMap) {
    const struct {
        float eyeX, aimX, aimY, aimZ, dx, dy;
    } cases[] = {{800, 1, 0, 0, -0.1f, 0},
                 {800, 0, 1, 0, 0, 0.1f},
                 {800, 3, 0, 4, -0.06f, 0},
                 {800, NAN, 1, 0, NAN, 0},
                 {INFINITY, 1, 0, 0, NAN, 0}};
    for (const auto& c : cases) {
        const float eye[4] = {c.eyeX, 800, 0, 1};
        const float aim[4] = {c.aimX, c.aimY, c.aimZ, 0};
        const auto line = headingLine(eye, aim);
        ASSERT_EQ(line.has_value(), !std::isnan(c.dx)) << c.eyeX << " " << c.aimX;
        if (!line) continue;
        EXPECT_NEAR(line->to.x - line->from.x, c.dx, 1e-6f) << c.aimX;
        EXPECT_NEAR(line->to.y - line->from.y, c.dy, 1e-6f) << c.aimX;
    }
}

TEST(HudRules, FramerateLineComesAndGoesWithoutMovingTheOthers) {
    HudInput in;
    in.speed = 31;
    in.frags = INT_MIN;
    const HudText on = hudText(in, 60, 0.02f, true, INT_MIN);
    const HudText off = hudText(in, 60, 0.02f, false, INT_MIN);
    ASSERT_EQ(on.count, 8);
    ASSERT_EQ(off.count, 7);
    EXPECT_STREQ(on.lines[1].text, "FPS: 60");
    for (int i = 0, j = 0; i < on.count; ++i) {
        if (i == 1) continue;
        EXPECT_STREQ(on.lines[i].text, off.lines[j].text);
        EXPECT_EQ(on.lines[i].x, off.lines[j].x);
        EXPECT_EQ(on.lines[i].y, off.lines[j++].y);
    }
    EXPECT_STREQ(off.lines[off.engineLine + 1].text, "gear: 2");
    EXPECT_STREQ(on.lines[6].text, "Frags: -2147483648/-2147483648");  // the widest line
}

}  // namespace
