// Shots and what they show without a window: the rays, the traces and their impacts, the
// beams' geometry and table, and the explosion's pictures.
#include "combat/bullet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "combat/beam_table.h"
#include "combat/explosion.h"
#include "net/protocol/game_codes.h"

namespace {

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();

constexpr auto flat = [](float, float) { return 10.0f; };
// 100 high from x = 300 on.
constexpr auto cliff = [](float x, float) { return x >= 300.0f ? 100.0f : 10.0f; };

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

// Looking along +x from the origin, z up; the camera's -y axis is its side.
const BeamCamera kCamera = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, -1, 0}};
constexpr float kDiagonal = 50.5f / 1.7320508f;  // (1, 1, -1) 50.5 long

// The distance of a corner from the line through `s` along `d`.
float offAxis(BeamVec p, BeamVec s, BeamVec d) {
    const BeamVec v{p.x - s.x, p.y - s.y, p.z - s.z};
    const BeamVec c{v.y * d.z - v.z * d.y, v.z * d.x - v.x * d.z, v.x * d.y - v.y * d.x};
    return std::sqrt((c.x * c.x + c.y * c.y + c.z * c.z) / (d.x * d.x + d.y * d.y + d.z * d.z));
}

TEST(BeamGeometryTest, QuadsOfEachMode) {
    const struct {
        const char* name;
        std::int32_t mode;
        BeamVec start, extent;
        std::size_t quads;
        std::optional<BeamVec> first;  // the first corner, where it is checked
    } shapes[] = {
        {"a helix shorter than 1", BeamMode::Helix, {5, 5, 5}, {0, 0.99f, 0}, 0, {}},
        {"diagonal", BeamMode::Helix, {5, 5, 5}, {kDiagonal, kDiagonal, -kDiagonal}, 50, {}},
        {"a helix of absurd length is cut", BeamMode::Helix, {}, {0, 1e7f, 0}, 4096, {}},
        // Straight at the camera the band's width takes the camera's up.
        {"a band at the camera", BeamMode::Band, {10, 0, 0}, {100, 0, 0}, 3, BeamVec{10, -2, 0.5f}},
        {"a far spot grows", BeamMode::Spot, {100, 0, 0}, {}, 1, BeamVec{100, 0.7f, -0.7f}},
        {"a start that is not a number", BeamMode::Band, {kNan, 0, 0}, {1, 0, 0}, 0, {}},
        {"an unknown mode", 3, {}, {0, 10, 0}, 0, {}},
    };
    for (const auto& shape : shapes) {
        SCOPED_TRACE(shape.name);
        const auto corners = beamQuads(shape.mode, shape.start, shape.extent, kCamera);
        ASSERT_EQ(corners.size(), shape.quads * 4);
        // The ribbon winds 3 units round the axis, 0.3 to either side.
        for (std::size_t i = 0; shape.mode == BeamMode::Helix && i < corners.size(); ++i)
            ASSERT_NEAR(offAxis(corners[i].p, shape.start, shape.extent), 3.0f, 0.31f);
        if (!shape.first) continue;
        const BeamVec p = corners[0].p;
        EXPECT_LT(std::hypot(p.x - shape.first->x, p.y - shape.first->y, p.z - shape.first->z),
                  1e-4f);
    }
}

// A beam is created only while the table holds at most a thousand; a rail shot's core
// takes an id of its own, even for the lowest serial.
TEST(BeamTableTest, CreatesOnlyWhileHoldingAtMostAThousand) {
    BeamTable beams;
    const float white[4] = {1, 1, 1, 1};
    for (std::int32_t id = 0; id <= 1000; ++id)
        ASSERT_NE(beams.add(id, Pose{}, {1, 0, 0}, white, 0, 0, BeamMode::Band), nullptr);
    EXPECT_EQ(beams.add(1001, Pose{}, {1, 0, 0}, white, 0, 0, BeamMode::Band), nullptr);
    EXPECT_EQ(railCoreId(std::numeric_limits<std::int32_t>::min()), 2147482648);
}

TEST(ExplosionTest, ShowsAtMostOnePictureAnUpdateAndOnlyAfterMoreThanATenth) {
    std::vector<float> fiveFps;
    std::vector<int> oneEach;
    for (int k = 1; k <= Explosion::kFrames + 2; ++k) {
        fiveFps.push_back(0.2f * static_cast<float>(k));
        oneEach.push_back(k < Explosion::kFrames ? k : Explosion::kFrames);
    }
    const struct {
        const char* name;
        std::vector<float> times;
        std::vector<int> frames;
    } runs[] = {{"a tenth exactly is not enough", {0.1f, 0.15f}, {0, 1}},
                {"a long pause still gives one picture", {5.0f, 5.05f, 5.2f}, {1, 1, 2}},
                {"at 5 fps every frame advances, 15 in all", fiveFps, oneEach}};
    for (const auto& run : runs) {
        Explosion explosion(false);
        explosion.start(Pose{}, 0.0f);
        for (std::size_t i = 0; i < run.times.size(); ++i) {
            explosion.update(run.times[i]);
            EXPECT_EQ(explosion.getFrame(), run.frames[i]) << run.name << ", update " << i;
        }
    }
}

}  // namespace
