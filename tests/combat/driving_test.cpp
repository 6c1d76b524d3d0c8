#include "combat/driving.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

Body moving(float heading, float vx, float vy, float steering = 0.0f) {
    Body body;
    body.setMass(145.0f);
    Pose pose;
    pose.rotX = steering;
    pose.rotZ = heading;
    body.setPose(pose);
    body.setVelocity(vx, vy, -3.0f);
    return body;
}

struct RedirectCase {
    float heading, vx, vy, wantX, wantY;
};

// The squared shares in every quadrant; the axes leave the velocity alone.
TEST(Driving, RedirectKeepsTheSpeedAlongTheHeading) {
    const RedirectCase cases[] = {
        {45, 100, 0, 50, 50},   {135, 0, 100, -50, 50}, {-135, -60, 40, -50, -50},
        {315, 100, 0, 50, -50}, {60, 100, 0, 25, 75},   {0, 30, -5, 30, -5},
        {90, 30, -5, 30, -5},
    };
    for (const RedirectCase& c : cases) {
        Body body = moving(c.heading, c.vx, c.vy);
        driving::redirect(body);
        EXPECT_NEAR(body.getVelocity()[0], c.wantX, 1e-3) << c.heading;
        EXPECT_NEAR(body.getVelocity()[1], c.wantY, 1e-3) << c.heading;
        EXPECT_EQ(body.getVelocity()[2], -3.0f);
    }
}

struct SpeedCase {
    void (*operation)(Body&, float);
    float heading, vx, vy, wantSpeed;
};

// Accelerating stops at 160 but may pass it by one step; braking takes from x only.
TEST(Driving, AccelerateAndDecelerateStepAt150APerUnit) {
    const SpeedCase cases[] = {
        {driving::accelerate, 0, 159.9f, 0, 161.4f}, {driving::accelerate, 0, 160, 0, 160},
        {driving::accelerate, 0, -20, 0, 21.5f},     {driving::decelerate, 0, 10, 0, 8.5f},
        {driving::decelerate, 0, 1, 0, 0},           {driving::decelerate, 90, 0, 100, 100},
    };
    for (const SpeedCase& c : cases) {
        Body body = moving(c.heading, c.vx, c.vy);
        c.operation(body, 0.01f);
        const float* v = body.getVelocity();
        EXPECT_NEAR(std::fabs(v[0]) + std::fabs(v[1]), c.wantSpeed, 1e-3) << c.vx;
    }
}

TEST(Driving, SteeringStopsNearFiftyWhileTheHeadingTurnsOn) {
    for (const float direction : {1.0f, -1.0f}) {
        Body body = moving(0, 50, 0);
        for (int i = 0; i < 100; ++i)
            (direction > 0 ? driving::steerLeft : driving::steerRight)(body, 0.03f);
        EXPECT_NEAR(body.getPose().rotZ, direction * 450.0f, 1e-2);
        const float steering = body.getPose().rotX * direction;
        EXPECT_GE(steering, 50.0f);
        EXPECT_LT(steering, 50.0f + 4.5f);
    }
}

TEST(Driving, CentreSteeringStepsBackAndSnapsWithinOnePointSix) {
    const float cases[][2] = {{1.5f, 0}, {-1.5f, 0}, {10, 8.5f}, {-10, -8.5f}};
    for (const auto& c : cases) {
        Body body = moving(30, 0, 0, c[0]);
        driving::centreSteering(body, 0.01f);
        EXPECT_FLOAT_EQ(body.getPose().rotX, c[1]) << c[0];
    }
}

TEST(Driving, LookAndSpeedStayInRange) {
    Pose look;
    driving::look(look, 100, -30);
    driving::look(look, -20, -70);
    EXPECT_EQ(look.rotZ, 70.0f);
    EXPECT_EQ(look.rotY, -90.0f);
    EXPECT_EQ(driving::speed(moving(0, -3.7f, 2.5f)), 6);
    EXPECT_EQ(driving::speed(moving(0, std::numeric_limits<float>::quiet_NaN(), 0)), 0);
    EXPECT_EQ(driving::speed(moving(0, 1e30f, 0)), 2147483520);
}

// The heading is wrapped once, for good; the look yaw is raised only while destroyed.
TEST(Driving, CameraPoseWrapsTheHeadingOnce) {
    const float cases[][2] = {{370, 10}, {-370, -10}, {720, 360}, {-90, -90}};
    for (const auto& c : cases) {
        Body body = moving(c[0], 0, 0);
        Pose look, pose, lookOut;
        look.rotZ = 12;
        for (const bool destroyed : {false, true}) {
            driving::getCameraPose(body, look, destroyed, pose, lookOut);
            EXPECT_EQ(pose.rotZ, c[1]) << c[0];
            EXPECT_EQ(body.getPose().rotZ, c[1]);
            EXPECT_EQ(lookOut.rotZ, destroyed ? 62.0f : 12.0f);
        }
    }
}

// A ridge across x = 100 with 45-degree flanks.
float crest(float x, float /*y*/) {
    return std::fmax(0.0f, 50.0f - std::fabs(x - 100.0f));
}

// Below integer speed 80 the Voka hugs the ground over the ridge; from 80 it flies off.
TEST(Driving, SlowVokasStayOnTheGroundOverACrest) {
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

TEST(Driving, StepFollowsTheSlopeAndFallsTwiceInTheAir) {
    // On the ground: pitch takes the slope ahead, the camera's follows at 50 per second.
    Body body = moving(0, 10, 0);
    Pose look;
    driving::step(body, look, 0.1f, [](float x, float) { return x; });
    EXPECT_NEAR(body.getPose().rotY, 45.0f, 1e-3);
    EXPECT_NEAR(look.rotX, 5.0f, 1e-4);
    EXPECT_EQ(body.getVelocity()[2], 0.0f);
    // In the air: the gravity force through the mass, then 150 a second more.
    Body flying = moving(0, 100, 0);
    flying.setVelocity(100, 0, 0);
    driving::step(flying, look, 0.1f, [](float, float) { return -10.0f; });
    EXPECT_NEAR(flying.getVelocity()[2], -9.81f / 145 * 0.1f - 15.0f, 1e-5);
    EXPECT_EQ(look.rotX, 5.0f);
}

}  // namespace
