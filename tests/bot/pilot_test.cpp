// The pilot's decisions, one frame of view at a time, without a match.
#include "pilot/pilot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

float flat(float, float) {
    return 0.0f;
}
float ridge(float x, float) {  // a wall of earth across x = 900
    return std::fabs(x - 900.0f) < 20.0f ? 100.0f : 0.0f;
}

// The own Voka at (800, 800) facing +x, its camera 16 above; one other player.
struct Case {
    const char* name;
    float targetX, targetY;
    bool destroyed;
    float (*ground)(float, float);
    PlayerValues values;
    float aimOffDegrees;  // the crosshair's yaw away from the target
    int frames;           // of 0.1 s, the same view each
    bool fire;
    char steer;  // 'L'eft, 'R'ight, '-' neither; '?' roaming where it likes
};

TEST(Pilot, FiresOnlyAtAVisibleTargetInReachOnceAimedSteersForWhatItNeedsPrefersTheRail) {
    const PlayerValues healthy{100, 0, 200, 0}, empty{100, 0, 0, 0}, hurt{30, 0, 200, 0},
        rail{100, 0, 200, 3};
    const Case cases[] = {
        {"aimed, after the reaction time", 1000, 800, false, flat, healthy, 0, 3, true, '-'},
        {"aimed, before the reaction time", 1000, 800, false, flat, healthy, 0, 1, false, '-'},
        {"behind a ridge", 1000, 800, false, ridge, healthy, 0, 3, false, '?'},
        {"beyond sight", 1600, 800, false, flat, healthy, 0, 3, false, '?'},
        {"without ammunition", 1000, 800, false, flat, empty, 0, 3, false, '-'},
        {"at a wreck", 1000, 800, true, flat, healthy, 0, 3, false, '?'},
        {"crosshair 10 degrees right", 1000, 800, false, flat, healthy, -10, 3, false, '-'},
        {"to the left, crosshair ahead", 800, 1000, false, flat, healthy, -90, 1, false, 'L'},
        {"hurt, a health item to the right", 1000, 800, false, flat, hurt, 0, 3, true, 'R'},
        {"rail rounds left: takes the rail, holds fire", 1000, 800, false, flat, rail, 0, 3, false,
         '-'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const driving::GroundHeight ground = c.ground;
        PilotView view;
        view.pose = {800, 800, 0, 0, 0, 0};
        view.eye[0] = view.eye[1] = 800;
        view.eye[2] = 16;
        const float dx = c.targetX - 800, dy = c.targetY - 800, dz = 5 - 16;
        const float yaw = std::atan2(dy, dx) + c.aimOffDegrees / 57.29578f;
        const float flatLength = std::hypot(dx, dy), length = std::hypot(flatLength, dz);
        view.aim[0] = std::cos(yaw) * flatLength / length;
        view.aim[1] = std::sin(yaw) * flatLength / length;
        view.aim[2] = dz / length;
        view.values = c.values;
        view.weapon = WEAPON_MG;
        view.players = {{(2 << 16) | 1, c.targetX, c.targetY, 0, c.destroyed}};
        view.items = {{ITEM_POWER25, 800, 600, 0}};
        view.ground = &ground;
        Pilot pilot({0.0f, 0.2f, 300.0f, 1.0f}, 7);
        PilotCommand command;
        for (int i = 0; i < c.frames; ++i) command = pilot.fly(view, 0.1f);
        EXPECT_EQ(command.input.fireButton, c.fire);
        EXPECT_EQ(command.weapon, c.values.ammoRail > 0 ? WEAPON_RAIL : WEAPON_MG);
        if (c.steer != '?') {
            EXPECT_EQ(command.input.left, c.steer == 'L');
            EXPECT_EQ(command.input.right, c.steer == 'R');
        }
        // Towards the target, at most 300 degrees a second.
        EXPECT_NEAR(command.input.look.yaw, std::clamp(-c.aimOffDegrees, -30.0f, 30.0f), 0.01f);
    }
}

}  // namespace
