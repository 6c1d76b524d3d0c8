#include "combat/camera_view.h"

#include <gtest/gtest.h>

#include "net/player_status.h"

namespace {

// The eye rides 3 behind and 16 above at first, 6 ahead and 13 above after a switch,
// turned by the heading; the aim turns further with the look; the yaw is wrapped once.
TEST(CameraView, EyeSitsAtTheOffsetAndAimsAlongTheLook) {
    const struct {
        bool switched;
        float heading, lookYaw, lookPitch;
        float eye[3], aim[3], yaw;
    } cases[] = {
        {false, 0, 0, 0, {97, 200, 31}, {1, 0, 0}, 0},
        {true, 0, 0, 0, {106, 200, 28}, {1, 0, 0}, 0},
        {false, 90, 0, 30, {100, 197, 31}, {0, 0.866f, 0.5f}, 90},
        {false, 350, 20, 0, {97.046f, 200.521f, 31}, {0.985f, 0.174f, 0}, 10},
    };
    for (const auto& c : cases) {
        PlayerStatus::resetAll();
        if (c.switched) PlayerStatus::nextCameraOffset();
        float offset[3];
        PlayerStatus::getCameraOffset(offset);
        const Pose vehicle{100, 200, 15, 0, 0, c.heading};
        const Pose look{0, 0, 0, 0, c.lookPitch, c.lookYaw};
        const camera_view::Frame f = camera_view::frame(vehicle, look, offset);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(f.eye[i], c.eye[i], 1e-3) << c.heading << " " << i;
            EXPECT_NEAR(f.aim[i], c.aim[i], 1e-3) << c.heading << " " << i;
        }
        EXPECT_FLOAT_EQ(f.pose.rotZ, c.yaw);
    }
    PlayerStatus::resetAll();
}

}  // namespace
