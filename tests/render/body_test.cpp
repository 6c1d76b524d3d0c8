#include "render/body.h"

#include <gtest/gtest.h>

namespace {

// velocity = (1, 0, 0) + (4, 0, -4) / 2 * 0.5 = (2, 0, -1); position moves by it * 0.5.
// Without mass the force is ignored.
TEST(Body, IntegratesVelocityThenPositionAndIgnoresForceWithoutMass) {
    for (const float mass : {2.0f, 0.0f}) {
        Body body;
        body.setMass(mass);
        body.setVelocity(1.0f, 0.0f, 0.0f);
        body.addForce(4.0f, 0.0f, -2.0f);
        body.addForce(0.0f, 0.0f, -2.0f);
        body.integrate(0.5f);
        EXPECT_FLOAT_EQ(body.getVelocity()[2], mass > 0 ? -1.0f : 0.0f);
        EXPECT_FLOAT_EQ(body.getPose().x, mass > 0 ? 1.0f : 0.5f);
        EXPECT_FLOAT_EQ(body.getPose().z, mass > 0 ? -0.5f : 0.0f);
    }
}

}  // namespace
