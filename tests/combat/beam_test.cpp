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
        {"a helix 100 long", BeamMode::Helix, {5, 5, 5}, {0, 100, 0}, 100, {}},
        {"a helix shorter than 1", BeamMode::Helix, {5, 5, 5}, {0, 0.99f, 0}, 0, {}},
        {"a helix along (1, 1, -1)",
         BeamMode::Helix,
         {},
         {kDiagonal, kDiagonal, -kDiagonal},
         50,
         {}},
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

}  // namespace
