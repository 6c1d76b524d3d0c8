#include "render/body.h"

#include <gtest/gtest.h>

namespace {

TEST(Body, IntegratesVelocityThenPositionAndIgnoresForceWithoutMass) {
    Body body;
    body.setPose(Pose{0, 0, 0, 10, 20, 30});
    body.setMass(2.0f);
    body.setVelocity(1.0f, 0.0f, 0.0f);
    body.addForce(4.0f, 0.0f, -2.0f);
    body.addForce(0.0f, 0.0f, -2.0f);
    body.integrate(0.5f);
    // velocity = (1, 0, 0) + (4, 0, -4) / 2 * 0.5 = (2, 0, -1); position moves by it * 0.5.
    EXPECT_FLOAT_EQ(body.getVelocity()[2], -1.0f);
    EXPECT_FLOAT_EQ(body.getPose().x, 1.0f);
    EXPECT_FLOAT_EQ(body.getPose().z, -0.5f);

    Body massless;
    massless.setVelocity(0.0f, 3.0f, 0.0f);
    massless.addForce(100.0f, 0.0f, 0.0f);
    massless.integrate(1.0f);
    EXPECT_FLOAT_EQ(massless.getPose().x, 0.0f);
}

}  // namespace
