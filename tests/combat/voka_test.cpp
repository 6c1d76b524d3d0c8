// The Voka without a window: the wreck, the kinds it refuses, and the network pose and
// hit box of its rules.
#include "combat/voka.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "combat/voka_state.h"
#include "support/captured_errors.h"

namespace {

// Pieces spread from -20.5 to 20.5 across x about the middle one, the rest of 20.5 along
// y; a one-piece model flies straight along y.
TEST(Voka, ExplodingSpreadsTheWreckPieces) {
    const std::vector<float> spreads[] = {{-20.5f, 0, 20.5f}, {0}, {-20.5f, -10.25f, 0, 10.25f}};
    for (const std::vector<float>& vx : spreads) {
        Voka voka;
        voka.type = TYPE_VOKA_GREEN;
        voka.models[0]->objects.resize(vx.size());
        ASSERT_EQ(voka.animate(1, 0.0f), 0);
        std::vector<float> got;
        for (const auto& piece : voka.getDebris()) {
            const float* v = piece.getVelocity();
            EXPECT_TRUE(std::fabs(std::hypot(v[0], v[1]) - 20.5f) < 1e-4f && v[2] == 20.7f);
            got.push_back(v[0]);
        }
        EXPECT_EQ(got, vx);
    }
}

TEST(VokaState, NetworkPoseAndAHitBoxThatAWreckLeavesBehind) {
    VokaState own(TYPE_VOKA_RED), remote(TYPE_VOKA_GREEN);
    own.body.setPose({1, 2, 3, 4, 5, 6});
    own.publishPose();
    remote.netPose() = own.netPose();
    EXPECT_TRUE(remote.adoptPose() && remote.body.getPose().rotZ == 6.0f);
    remote.netPose().store({9, std::numeric_limits<float>::infinity(), 0, 0, 0, 0});
    EXPECT_TRUE(!remote.adoptPose() && remote.body.getPose().x == 1.0f);
    // Never placed, the box stands at the origin, unscaled.
    const float a[4] = {-1, 0.2f, -0.2f, 1}, b[4] = {1, 0.2f, -0.2f, 1};
    EXPECT_TRUE(own.rayHit(a, b) && own.sphereHit(0, 2.4f, 0) && !own.sphereHit(0, 2.5f, 0));
    // Placed, it follows the Voka (as the GL tests show); a wreck's stays where it was
    // destroyed.
    own.body.setPose({100, 100, 0, 0, 0, 0});
    own.placeHitBox();
    own.setDestroyed(true);
    own.body.setPose({500, 100, 0, 0, 0, 0});
    own.placeHitBox();
    EXPECT_TRUE(own.sphereHit(100, 100, 0) && !own.sphereHit(500, 100, 0));
}

TEST(Voka, OtherKindsShowTheirMessages) {
    testing_support::CapturedErrors errors;
    Voka voka(TYPE_BULLET_MG, Pose{});
    EXPECT_EQ(voka.animate(2), -1);
    EXPECT_EQ(errors.texts(),
              (std::vector<std::string>{"wrong voka type", "unknown animation typ in voka"}));
}

}  // namespace
