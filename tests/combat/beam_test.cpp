#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "combat/beam_table.h"
#include "platform/frame_clock.h"

namespace {

// Looking along +x from the origin, z up; the camera's -y axis is its side.
const BeamCamera kCamera = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, -1, 0}};
constexpr float kNan = std::numeric_limits<float>::quiet_NaN();

float distanceFromLine(BeamVec p, BeamVec start, BeamVec direction) {
    const BeamVec d{p.x - start.x, p.y - start.y, p.z - start.z};
    const BeamVec c{d.y * direction.z - d.z * direction.y, d.z * direction.x - d.x * direction.z,
                    d.x * direction.y - d.y * direction.x};
    const float l = std::sqrt(direction.x * direction.x + direction.y * direction.y +
                              direction.z * direction.z);
    return std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z) / l;
}

struct Shape {
    const char* name;
    std::int32_t mode;
    BeamVec start, extent;
    std::size_t quads;
    bool checkFirst;
    BeamVec first;  // the first corner, when checked
};

TEST(BeamGeometryTest, QuadsOfEachMode) {
    const float diagonal = 50.5f / std::sqrt(3.0f);
    const Shape shapes[] = {
        {"a helix 100 long: 100 quads", BeamMode::Helix, {5, 5, 5}, {0, 100, 0}, 100, false, {}},
        {"a helix shorter than 1: none", BeamMode::Helix, {5, 5, 5}, {0, 0.99f, 0}, 0, false, {}},
        {"a helix along (1, 1, -1)",
         BeamMode::Helix,
         {5, 5, 5},
         {diagonal, diagonal, -diagonal},
         50,
         false,
         {}},
        {"a helix of absurd length is cut", BeamMode::Helix, {}, {0, 1e7f, 0}, 4096, false, {}},
        // Straight at the camera the band takes the camera's up for its width: the cap
        // starts at S + 2 u + 0.5 U with u = extent x U.
        {"a band pointing at the camera",
         BeamMode::Band,
         {10, 0, 0},
         {100, 0, 0},
         3,
         true,
         {10, -2, 0.5f}},
        // 100 deep: the spot grows to 1.4, its first corner S - 0.7 side - 0.7 up.
        {"a far spot grows", BeamMode::Spot, {100, 0, 0}, {}, 1, true, {100, 0.7f, -0.7f}},
        {"a start that is not a number", BeamMode::Band, {kNan, 0, 0}, {1, 0, 0}, 0, false, {}},
        {"an unknown mode", 3, {}, {0, 10, 0}, 0, false, {}},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.name);
        const auto corners = beamQuads(shape.mode, shape.start, shape.extent, kCamera);
        ASSERT_EQ(corners.size(), shape.quads * 4);
        for (const BeamCorner& c : corners) {
            ASSERT_TRUE(std::isfinite(c.p.x) && std::isfinite(c.p.y) && std::isfinite(c.p.z));
            if (shape.mode == BeamMode::Helix) {
                // The ribbon winds 3 units round the axis, 0.3 either side.
                const float d = distanceFromLine(c.p, shape.start, shape.extent);
                ASSERT_GT(d, 2.69f);
                ASSERT_LT(d, 3.31f);
            }
        }
        if (!shape.checkFirst) continue;
        EXPECT_NEAR(corners[0].p.x, shape.first.x, 1e-4f);
        EXPECT_NEAR(corners[0].p.y, shape.first.y, 1e-4f);
        EXPECT_NEAR(corners[0].p.z, shape.first.z, 1e-4f);
    }
}

TEST(BeamTest, FadesByItsRatesTimesFiftyOfItself) {
    FrameClock::reset();
    FrameClock::tick(0.1f);
    const float colour[4] = {0.5f, 0.5f, 0.5f, 0.5f};
    Beam rail(Pose{}, {1, 0, 0}, colour, -0.015f, 0.0f, BeamMode::Helix);
    Beam glowing(Pose{}, {1, 0, 0}, colour, 0.0f, 0.01f, BeamMode::Band);
    rail.update();
    glowing.update();
    EXPECT_FLOAT_EQ(rail.getColour()[3], 0.5f * (1.0f - 0.1f * 0.015f * 50.0f));
    EXPECT_FLOAT_EQ(rail.getColour()[0], 0.5f);
    EXPECT_FLOAT_EQ(glowing.getColour()[1], 0.5f * (1.0f + 0.1f * 0.01f * 50.0f));
    EXPECT_FLOAT_EQ(glowing.getColour()[3], 0.5f);
    FrameClock::reset();
}

TEST(BeamTableTest, CreatesOnlyWhileHoldingAtMostAThousand) {
    BeamTable beams;
    const float colour[4] = {1, 1, 1, 1};
    for (std::int32_t id = 0; id <= 1000; ++id)
        ASSERT_NE(beams.add(id, Pose{}, {1, 0, 0}, colour, 0, 0, BeamMode::Band), nullptr);
    EXPECT_EQ(beams.size(), 1001u);
    EXPECT_EQ(beams.add(5000, Pose{}, {1, 0, 0}, colour, 0, 0, BeamMode::Band), nullptr);
    addRailBeams(beams, 6000, Pose{});
    EXPECT_EQ(beams.find(6000), nullptr);  // a rail shot then leaves no trail
    beams.remove(7);
    const Beam* replaced = beams.add(3, Pose{}, {1, 0, 0}, colour, 0, 0, BeamMode::Helix);
    EXPECT_EQ(beams.find(3), replaced);
    EXPECT_EQ(beams.size(), 1000u);
}

// A rail shot of client 0 with serial 3 would have replaced, and on its removal deleted,
// the lowest fence segment of the second edge; the fence keeps a table of its own.
TEST(BeamTableTest, RailShotsComeAndGoInPairsAndLeaveTheFence) {
    BeamTable fence;
    buildFence(fence, 10.0f);
    EXPECT_EQ(fence.size(), 24u);
    ASSERT_NE(fence.find(-29), nullptr);
    EXPECT_EQ(fence.find(-29)->getStart().z, -20.0f);
    ASSERT_NE(fence.find(49), nullptr);
    EXPECT_EQ(fence.find(49)->getStart().x, 1600.0f);  // the edge from (1600, 0) back home
    EXPECT_EQ(fence.find(49)->getExtent().x, -1600.0f);

    BeamTable shots;
    addRailBeams(shots, 3, Pose{1, 2, 3, 11, 2, 3});
    const Beam* helix = shots.find(3);
    const Beam* core = shots.find(-997);
    ASSERT_NE(helix, nullptr);
    ASSERT_NE(core, nullptr);
    EXPECT_EQ(helix->getMode(), BeamMode::Helix);
    EXPECT_EQ(core->getMode(), BeamMode::Band);
    EXPECT_EQ(helix->getExtent().x, 10.0f);
    EXPECT_EQ(core->getColour()[0], 0.5f);
    removeRailBeams(shots, 3);
    EXPECT_EQ(shots.size(), 0u);
    EXPECT_EQ(fence.size(), 24u);
    EXPECT_EQ(railCoreId(std::numeric_limits<std::int32_t>::min()), 2147482648);
}

}  // namespace
