#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "combat/beam_table.h"

namespace {

// Looking along +x from the origin, z up; the camera's -y axis is its side.
const BeamCamera kCamera = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, -1, 0}};
constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
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
        {"a helix 100 long: 100 quads", BeamMode::Helix, {5, 5, 5}, {0, 100, 0}, 100, {}},
        {"a helix shorter than 1: none", BeamMode::Helix, {5, 5, 5}, {0, 0.99f, 0}, 0, {}},
        {"a helix along (1, 1, -1)",
         BeamMode::Helix,
         {},
         {kDiagonal, kDiagonal, -kDiagonal},
         50,
         {}},
        {"a helix of absurd length is cut", BeamMode::Helix, {}, {0, 1e7f, 0}, 4096, {}},
        // Straight at the camera the band's width takes the camera's up: the cap starts at
        // S + 2 u + 0.5 U, u = extent x U.
        {"a band pointing at the camera",
         BeamMode::Band,
         {10, 0, 0},
         {100, 0, 0},
         3,
         BeamVec{10, -2, 0.5f}},
        // 100 deep the spot grows to 1.4: S - 0.7 side - 0.7 up.
        {"a far spot grows", BeamMode::Spot, {100, 0, 0}, {}, 1, BeamVec{100, 0.7f, -0.7f}},
        {"a start that is not a number", BeamMode::Band, {kNan, 0, 0}, {1, 0, 0}, 0, {}},
        {"an unknown mode", 3, {}, {0, 10, 0}, 0, {}},
    };
    for (const auto& shape : shapes) {
        SCOPED_TRACE(shape.name);
        const auto corners = beamQuads(shape.mode, shape.start, shape.extent, kCamera);
        ASSERT_EQ(corners.size(), shape.quads * 4);
        for (const BeamCorner& c : corners) {
            ASSERT_TRUE(std::isfinite(c.p.x) && std::isfinite(c.p.y) && std::isfinite(c.p.z));
            // The ribbon winds 3 units round the axis, 0.3 to either side.
            if (shape.mode == BeamMode::Helix) {
                ASSERT_NEAR(offAxis(c.p, shape.start, shape.extent), 3.0f, 0.31f);
            }
        }
        if (!shape.first) continue;
        EXPECT_NEAR(corners[0].p.x, shape.first->x, 1e-4f);
        EXPECT_NEAR(corners[0].p.y, shape.first->y, 1e-4f);
        EXPECT_NEAR(corners[0].p.z, shape.first->z, 1e-4f);
    }
}

TEST(BeamTableTest, CreatesOnlyWhileHoldingAtMostAThousand) {
    BeamTable beams;
    const float white[4] = {1, 1, 1, 1};
    for (std::int32_t id = 0; id <= 1000; ++id)
        ASSERT_NE(beams.add(id, Pose{}, {1, 0, 0}, white, 0, 0, BeamMode::Band), nullptr);
    addRailBeams(beams, 6000, Pose{});
    EXPECT_EQ(beams.find(6000), nullptr);  // with 1001 a rail shot leaves no trail
    beams.remove(7);
    const Beam* replaced = beams.add(3, Pose{}, {1, 0, 0}, white, 0, 0, BeamMode::Helix);
    EXPECT_EQ(beams.find(3), replaced);
    EXPECT_EQ(beams.size(), 1000u);
}

// A rail shot of client 0 with serial 3 once replaced, and on its removal deleted, a
// fence segment; the fence keeps a table of its own.
TEST(BeamTableTest, RailShotsComeAndGoInPairsAndLeaveTheFence) {
    BeamTable fence;
    buildFence(fence, 10.0f);
    EXPECT_EQ(fence.size(), 24u);
    ASSERT_NE(fence.find(-29), nullptr);
    EXPECT_EQ(fence.find(-29)->getStart().z, -20.0f);
    ASSERT_NE(fence.find(49), nullptr);
    EXPECT_EQ(fence.find(49)->getExtent().x, -1600.0f);  // (1600, 0) back to (0, 0)

    BeamTable shots;
    addRailBeams(shots, 3, Pose{1, 2, 3, 11, 2, 3});
    ASSERT_NE(shots.find(3), nullptr);
    ASSERT_NE(shots.find(-997), nullptr);
    EXPECT_EQ(shots.find(3)->getMode(), BeamMode::Helix);
    EXPECT_EQ(shots.find(3)->getExtent().x, 10.0f);
    EXPECT_EQ(shots.find(-997)->getColour()[0], 0.5f);
    removeRailBeams(shots, 3);
    EXPECT_EQ(shots.size(), 0u);
    EXPECT_EQ(fence.size(), 24u);
    EXPECT_EQ(railCoreId(std::numeric_limits<std::int32_t>::min()), 2147482648);
}

}  // namespace
