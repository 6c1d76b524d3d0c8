#include "combat/driving.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "combat/camera_view.h"
#include "net/player_status.h"

namespace {

Body moving(float heading, float vx, float vy, float steering = 0) {
    Body body;
    body.setMass(145);
    body.setPose({0, 0, 0, steering, 0, heading});
    body.setVelocity(vx, vy, -3);
    return body;
}

struct Call {
    const char* name;
    void (*operation)(Body&, float);
    float heading, steering, vx, vy;
    float wantX, wantY, wantSteering;
};

// One call each with a step of 0.01 (1.5 of speed or steering).
TEST(Driving, SingleCallsOfTheDrivingOperations) {
    const auto redirect = [](Body& body, float) { driving::redirect(body); };
    const Call calls[] = {
        {"redirect 45", redirect, 45, 0, 100, 0, 50, 50, 0},
        {"redirect -135", redirect, -135, 0, -60, 40, -50, -50, 0},
        {"accelerate at 159.9", driving::accelerate, 0, 0, 159.9f, 0, 161.4f, 0, 0},
        {"accelerate at 160", driving::accelerate, 0, 0, 160, 0, 160, 0, 0},
        {"decelerate below 0", driving::decelerate, 0, 0, 1, 0, 0, 0, 0},
        {"decelerate along y", driving::decelerate, 90, 0, 0, 100, 0, 100, 0},
        {"centre from 1.5", driving::centreSteering, 0, 1.5f, 0, 0, 0, 0, 0},
        {"centre from -10", driving::centreSteering, 0, -10, 0, 0, 0, 0, -8.5f},
    };
    for (const Call& c : calls) {
        Body body = moving(c.heading, c.vx, c.vy, c.steering);
        c.operation(body, 0.01f);
        const float* v = body.getVelocity();
        EXPECT_TRUE(std::hypot(v[0] - c.wantX, v[1] - c.wantY) < 1e-3f && v[2] == -3.0f &&
                    std::fabs(body.getPose().rotX - c.wantSteering) < 1e-5f)
            << c.name << ": " << v[0] << " " << v[1] << " " << body.getPose().rotX;
    }
}

TEST(Driving, SteeringStopsNearFiftyWhileTheHeadingTurnsOn) {
    for (const float direction : {1.0f, -1.0f}) {
        Body body = moving(0, 50, 0);
        for (int i = 0; i < 100; ++i)
            (direction > 0 ? driving::steerLeft : driving::steerRight)(body, 0.03f);
        const float steering = body.getPose().rotX * direction;
        EXPECT_TRUE(std::fabs(body.getPose().rotZ - direction * 450.0f) < 1e-2f &&
                    steering >= 50.0f && steering < 54.5f)
            << body.getPose().rotZ << " " << steering;
    }
}

TEST(Driving, LookSpeedAndCameraPoseStayInRange) {
    Pose look;
    driving::look(look, 100, -30);
    driving::look(look, -20, -70);
    EXPECT_EQ(std::make_pair(look.rotZ, look.rotY), std::make_pair(70.0f, -90.0f));
    EXPECT_EQ(driving::speed(moving(0, -3.7f, 2.5f)) +
                  driving::speed(moving(0, std::numeric_limits<float>::quiet_NaN(), 0)),
              6);
    // The heading is wrapped once, for good; the look yaw is raised only while destroyed.
    const float wraps[][2] = {{370, 10}, {-370, -10}, {720, 360}, {-90, -90}};
    for (const auto& w : wraps) {
        Body body = moving(w[0], 0, 0);
        for (const bool destroyed : {false, true}) {
            Pose pose, lookOut;
            driving::getCameraPose(body, look, destroyed, pose, lookOut);
            EXPECT_TRUE(pose.rotZ == w[1] && body.getPose().rotZ == w[1] &&
                        lookOut.rotZ == (destroyed ? 120.0f : 70.0f))
                << w[0] << " " << destroyed;
        }
    }
}

// A ridge across x = 100 with 45-degree flanks: below integer speed 80 the Voka hugs the
// ground over it; from 80 it flies off.
TEST(Driving, SlowVokasStayOnTheGroundOverACrest) {
    const auto crest = [](float x, float) { return std::fmax(0.0f, 50.0f - std::fabs(x - 100)); };
    for (const float speed : {79.9f, 80.0f}) {
        Body body = moving(0, speed, 0);
        Pose look;
        bool flew = false;
        for (int frame = 0; frame < 150; ++frame) {
            driving::step(body, look, 0.02f, crest);
            flew = flew || body.getPose().z > crest(body.getPose().x, 0) + 1e-3f;
        }
        EXPECT_EQ(flew, speed >= 80.0f) << speed;
    }
}

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
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(std::fabs(f.eye[i] - c.eye[i]) < 1e-3f &&
                        std::fabs(f.aim[i] - c.aim[i]) < 1e-3f)
                << c.heading << " " << i << ": " << f.eye[i] << " " << f.aim[i];
        EXPECT_FLOAT_EQ(f.pose.rotZ, c.yaw);
    }
    PlayerStatus::resetAll();
}

}  // namespace
