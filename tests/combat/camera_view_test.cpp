#include "combat/camera_view.h"

#include <gtest/gtest.h>

#include <cmath>

#include "net/player_status.h"

namespace {

struct EyeCase {
    bool switched;  // after one nextCameraOffset
    float heading, lookYaw, lookPitch;
    float eye[3], aim[3];
};

// The eye rides at the player's offset in the vehicle's frame turned by its heading: 3
// behind and 16 above at first, 6 ahead and 13 above after a switch. The aim turns
// further with the look.
TEST(CameraView, EyeSitsAtTheOffsetAndAimsAlongTheLook) {
    const EyeCase cases[] = {
        {false, 0, 0, 0, {97, 200, 31}, {1, 0, 0}},
        {true, 0, 0, 0, {106, 200, 28}, {1, 0, 0}},
        {false, 90, 0, 0, {100, 197, 31}, {0, 1, 0}},
        {false, 0, 90, 0, {97, 200, 31}, {0, 1, 0}},
        {false, 0, 0, 30, {97, 200, 31}, {0.866f, 0, 0.5f}},
    };
    for (const EyeCase& c : cases) {
        PlayerStatus::resetAll();
        if (c.switched) PlayerStatus::nextCameraOffset();
        float offset[3];
        PlayerStatus::getCameraOffset(offset);
        const Pose vehicle{100, 200, 15, 0, 0, c.heading};
        const Pose look{0, 0, 0, 0, c.lookPitch, c.lookYaw};
        const camera_view::Frame f = camera_view::frame(vehicle, look, offset);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(f.eye[i], c.eye[i], 1e-3) << c.heading << " " << c.lookYaw << " " << i;
            EXPECT_NEAR(f.aim[i], c.aim[i], 1e-3) << c.heading << " " << c.lookYaw << " " << i;
        }
        EXPECT_EQ(f.eye[3], 1.0f);
        EXPECT_EQ(f.aim[3], 1.0f);
    }
    PlayerStatus::resetAll();
}

TEST(CameraView, YawIsBroughtTowardZeroTo360Once) {
    const float kOffset[3] = {-3, 0, 16};
    const float cases[][3] = {{350, 20, 10}, {10, -30, 340}, {700, 60, 400}, {90, 0, 90}};
    for (const auto& c : cases) {
        const Pose vehicle{0, 0, 0, 0, 4, c[0]};
        const Pose look{0, 0, 0, 0, -10, c[1]};
        const camera_view::Frame f = camera_view::frame(vehicle, look, kOffset);
        EXPECT_FLOAT_EQ(f.pose.rotZ, c[2]) << c[0] << " + " << c[1];
        EXPECT_FLOAT_EQ(f.pose.rotY, -6.0f);
    }
}

}  // namespace
