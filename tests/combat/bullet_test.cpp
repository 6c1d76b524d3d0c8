#include "combat/bullet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "net/protocol/game_codes.h"

namespace {

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();

float flat(float, float) {
    return 10.0f;
}
float cliff(float x, float) {  // 100 high from x = 300 on
    return x >= 300.0f ? 100.0f : 10.0f;
}

TEST(ShotTest, TheRayStopsAtTheFirstSampleNotAboveTheGround) {
    const ShotPoint muzzle{1, 2, 3};
    const struct {
        const char* name;
        ShotInput input;
        float (*ground)(float, float);
        bool usable;
        ShotPoint impact;
    } aims[] = {
        {"at the sky: 998 units out",
         {muzzle, {0, 0.6f, 0.8f}, {100, 100, 50}},
         flat,
         true,
         {100, 100 + 998 * 0.6f, 50 + 998 * 0.8f}},
        {"down from 50", {muzzle, {0, 0, -1}, {100, 100, 50}}, flat, true, {100, 100, 10}},
        {"level into a cliff", {muzzle, {1, 0, 0}, {0, 0, 50}}, cliff, true, {300, 0, 50}},
        {"an aim that is not a number", {muzzle, {kNan, 0, 0}, {0, 0, 50}}, flat, false, muzzle},
        {"an aim beyond the floats", {muzzle, {1e38f, 0, 0}, {0, 0, 50}}, flat, false, muzzle},
    };
    for (const auto& aim : aims) {
        SCOPED_TRACE(aim.name);
        const Shot shot = aimShot(aim.input, aim.ground);
        EXPECT_EQ(shot.usable, aim.usable);
        EXPECT_LT(std::hypot(shot.state.rotX - aim.impact.x, shot.state.rotY - aim.impact.y,
                             shot.state.rotZ - aim.impact.z),
                  1e-3f);
        EXPECT_TRUE(isFinite(shot.rayStart) && isFinite(shot.effectPoint));
    }
}

TEST(BulletTest, OwnAndRemoteShotsCarryMuzzleAndImpactWithTheirEffects) {
    const ShotState own(TYPE_BULLET_MG, ShotInput{{1, 2, 3}, {1, 0, 0}, {0, 0, 50}}, cliff);
    EXPECT_TRUE(own.getState().rotX == 300.0f && own.getRayStart().z == 50.0f && !own.hasHit());
    const Bullet ownTrace(own);
    // 2 before the impact
    EXPECT_TRUE(ownTrace.impactEffect().getSize() == Bullet::kOwnEffectSize &&
                ownTrace.impactEffect().isGround() &&
                ownTrace.impactEffect().body.getPose().x == 298.0f);
    // Input that is not finite hits nobody.
    EXPECT_TRUE(ShotState(TYPE_BULLET_RAIL, ShotInput{{}, {kNan, 0, 0}, {}}, flat).hasHit());

    ShotState remote(TYPE_BULLET_RAIL, net::Pose{1, kNan, 3, 4, 5, INFINITY});
    EXPECT_TRUE(remote.isRemote());
    EXPECT_EQ(remote.netPose().load(), (net::Pose{1, 0, 3, 4, 5, 0}));
    const Bullet remoteTrace(remote);
    EXPECT_TRUE(remoteTrace.impactEffect().getSize() == Bullet::kRemoteEffectSize &&
                remoteTrace.impactEffect().body.getPose().x == 4.0f);  // at the impact
}

TEST(BulletTest, LifetimeAndHitWindowByTypeAndAge) {
    const struct {
        std::uint8_t type;
        float age;
        bool expired, inWindow;
    } rows[] = {
        {TYPE_BULLET_MG, 0.099f, false, true}, {TYPE_BULLET_MG, 0.1f, false, false},
        {TYPE_BULLET_MG, 1.1f, true, false},   {TYPE_BULLET_RAIL, 1.99f, false, false},
        {TYPE_BULLET_RAIL, 2.0f, true, false}, {WEAPON_RAIL, 100.0f, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << int{row.type} << " at " << row.age);
        ShotState shot(row.type, net::Pose{});
        shot.age(row.age);
        EXPECT_EQ(shot.isExpired(), row.expired);
        EXPECT_EQ(shot.inHitWindow(), row.inWindow);
    }
}

}  // namespace
