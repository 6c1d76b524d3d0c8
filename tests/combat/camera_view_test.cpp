#include "combat/camera_view.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kBehind[3] = {-3, 0, 16};  // offset 1, the one the match starts with
constexpr float kAhead[3] = {6, 0, 13};

struct EyeCase {
    const float* offset;
    float heading, lookYaw, lookPitch;
    float eye[3], aim[3];
};

// The eye rides at the offset in the vehicle's frame turned by its heading; the aim
// turns further with the look.
TEST(CameraView, EyeSitsAtTheOffsetAndAimsAlongTheLook) {
    const EyeCase cases[] = {
        {kBehind, 0, 0, 0, {97, 200, 31}, {1, 0, 0}},
        {kAhead, 0, 0, 0, {106, 200, 28}, {1, 0, 0}},
        {kBehind, 90, 0, 0, {100, 197, 31}, {0, 1, 0}},
        {kBehind, 0, 90, 0, {97, 200, 31}, {0, 1, 0}},
        {kBehind, 0, 0, 30, {97, 200, 31}, {0.866f, 0, 0.5f}},
    };
    for (const EyeCase& c : cases) {
        const Pose vehicle{100, 200, 15, 0, 0, c.heading};
        const Pose look{0, 0, 0, 0, c.lookPitch, c.lookYaw};
        const camera_view::Frame f = camera_view::frame(vehicle, look, c.offset);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(f.eye[i], c.eye[i], 1e-3) << c.heading << " " << c.lookYaw << " " << i;
            EXPECT_NEAR(f.aim[i], c.aim[i], 1e-3) << c.heading << " " << c.lookYaw << " " << i;
        }
        EXPECT_EQ(f.eye[3], 1.0f);
        EXPECT_EQ(f.aim[3], 1.0f);
    }
}

TEST(CameraView, YawIsBroughtTowardZeroTo360Once) {
    const float cases[][3] = {{350, 20, 10}, {10, -30, 340}, {700, 60, 400}, {90, 0, 90}};
    for (const auto& c : cases) {
        const Pose vehicle{0, 0, 0, 0, 4, c[0]};
        const Pose look{0, 0, 0, 0, -10, c[1]};
        const camera_view::Frame f = camera_view::frame(vehicle, look, kBehind);
        EXPECT_FLOAT_EQ(f.pose.rotZ, c[2]) << c[0] << " + " << c[1];
        EXPECT_FLOAT_EQ(f.pose.rotY, -6.0f);
    }
}

// Roll and body pitch turn the offset too: the eye stays 16.28 from the vehicle, and the
// view matrix takes it back to the origin.
TEST(CameraView, ViewTakesTheEyeToTheOriginLookingDownMinusZ) {
    const Pose vehicle{5, 6, 7, 20, 3, 33}, look{0, 0, 0, -15, 12, 40};
    const camera_view::Frame f = camera_view::frame(vehicle, look, kBehind);
    const float distance = std::hypot(f.eye[0] - 5, f.eye[1] - 6, f.eye[2] - 7);
    EXPECT_NEAR(distance, std::hypot(3.0f, 16.0f), 1e-4);
    float inEye[4], ahead[4];
    const Matrix4 view = camera_view::view(vehicle, look, kBehind);
    view.transform(f.eye, inEye);
    const float aimPoint[4] = {f.eye[0] + f.aim[0], f.eye[1] + f.aim[1], f.eye[2] + f.aim[2], 1};
    view.transform(aimPoint, ahead);
    const float wantEye[3] = {0, 0, 0}, wantAhead[3] = {0, 0, -1};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(inEye[i], wantEye[i], 1e-4) << i;
        EXPECT_NEAR(ahead[i], wantAhead[i], 1e-4) << i;
    }
}

}  // namespace
