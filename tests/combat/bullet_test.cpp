#include "combat/bullet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "net/protocol/game_codes.h"
#include "platform/frame_clock.h"

namespace {

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();

float flat(float, float) {
    return 10.0f;
}
// A wall of ground 100 high from x = 300 on.
float cliff(float x, float) {
    return x >= 300.0f ? 100.0f : 10.0f;
}

struct Aim {
    const char* name;
    ShotInput input;
    float (*ground)(float, float);
    bool usable;
    ShotPoint impact;
};

TEST(ShotTest, TheRayStopsAtTheFirstSampleNotAboveTheGround) {
    const ShotPoint muzzle{1, 2, 3};
    const Aim aims[] = {
        {"at the sky: 998 units out",
         {muzzle, {0, 0.6f, 0.8f}, {100, 100, 50}},
         flat,
         true,
         {100, 100 + 998 * 0.6f, 50 + 998 * 0.8f}},
        {"straight down from under the ground: the eye itself",
         {muzzle, {0, 0, -1}, {100, 100, 5}},
         flat,
         true,
         {100, 100, 5}},
        {"straight down from 50: the sample level with the ground",
         {muzzle, {0, 0, -1}, {100, 100, 50}},
         flat,
         true,
         {100, 100, 10}},
        {"level into a cliff", {muzzle, {1, 0, 0}, {0, 0, 50}}, cliff, true, {300, 0, 50}},
        {"an aim that is not a number", {muzzle, {kNan, 0, 0}, {0, 0, 50}}, flat, false, muzzle},
        {"an aim beyond the floats", {muzzle, {1e38f, 0, 0}, {0, 0, 50}}, flat, false, muzzle},
        {"nothing finite at all", {{kNan, 0, 0}, {0, 0, kNan}, {0, kNan, 0}}, flat, false, {}},
    };
    for (const Aim& aim : aims) {
        SCOPED_TRACE(aim.name);
        const Shot shot = aimShot(aim.input, aim.ground);
        EXPECT_EQ(shot.usable, aim.usable);
        EXPECT_NEAR(shot.state.rotX, aim.impact.x, 1e-3f);
        EXPECT_NEAR(shot.state.rotY, aim.impact.y, 1e-3f);
        EXPECT_NEAR(shot.state.rotZ, aim.impact.z, 1e-3f);
        for (float v : {shot.state.x, shot.state.y, shot.state.z, shot.rayStart.x,
                        shot.effectPoint.x, shot.effectPoint.y, shot.effectPoint.z})
            EXPECT_TRUE(std::isfinite(v));
    }
}

TEST(BulletTest, OwnShotCarriesMuzzleAndImpactAndItsEffectStandsBeforeTheImpact) {
    const ShotInput input{{1, 2, 3}, {1, 0, 0}, {0, 0, 50}};
    Bullet own(TYPE_BULLET_MG, input, cliff);
    EXPECT_EQ(own.netPose().load(), (net::Pose{1, 2, 3, 300, 0, 50}));
    float ray[6];
    own.getRay(ray);
    EXPECT_EQ(ray[2], 50.0f);
    EXPECT_FALSE(own.hasHit());
    EXPECT_FALSE(own.isRemote());
    EXPECT_EQ(own.impactEffect().getSize(), Bullet::kOwnEffectSize);
    EXPECT_TRUE(own.impactEffect().isGround());
    EXPECT_EQ(own.impactEffect().body.getPose().x, 298.0f);

    // Input that is not finite hits nobody.
    EXPECT_TRUE(Bullet(TYPE_BULLET_RAIL, ShotInput{{}, {kNan, 0, 0}, {}}, flat).hasHit());
}

TEST(BulletTest, RemoteShotShowsItsEffectAtTheImpactAndDropsNonFiniteFloats) {
    Bullet remote(TYPE_BULLET_RAIL, net::Pose{1, kNan, 3, 4, 5, INFINITY});
    EXPECT_TRUE(remote.isRemote());
    EXPECT_EQ(remote.netPose().load(), (net::Pose{1, 0, 3, 4, 5, 0}));
    EXPECT_EQ(remote.impactEffect().getSize(), Bullet::kRemoteEffectSize);
    const Pose at = remote.impactEffect().body.getPose();
    EXPECT_EQ(at.x, 4.0f);
    EXPECT_EQ(at.z, 0.0f);
}

TEST(BulletTest, LifetimeAndHitWindowByTypeAndAge) {
    const struct {
        std::uint8_t type;
        float age;
        bool expired, inWindow;
    } rows[] = {
        {TYPE_BULLET_MG, 0.099f, false, true},  {TYPE_BULLET_MG, 0.1f, false, false},
        {TYPE_BULLET_MG, 1.09f, false, false},  {TYPE_BULLET_MG, 1.1f, true, false},
        {TYPE_BULLET_RAIL, 0.05f, false, true}, {TYPE_BULLET_RAIL, 1.99f, false, false},
        {TYPE_BULLET_RAIL, 2.0f, true, false},  {WEAPON_RAIL, 0.0f, false, false},
        {WEAPON_RAIL, 100.0f, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << int{row.type} << " at " << row.age);
        FrameClock::reset();
        FrameClock::tick(row.age);
        Bullet bullet(row.type, net::Pose{});
        bullet.update();
        EXPECT_EQ(bullet.getAge(), row.age);
        EXPECT_EQ(bullet.isExpired(), row.expired);
        EXPECT_EQ(bullet.inHitWindow(), row.inWindow);
    }
    FrameClock::reset();
}

}  // namespace
