#include "combat/collision_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// The reference knows only the box, grown by `m` (shrunk when negative): a segment meets
// its surface when it meets the solid box without lying wholly inside.
bool boxSegment(float m, const float* a, const float* b) {
    const float low[3] = {-0.133f - m, -m, -0.555f - m},
                high[3] = {0.133f + m, 0.427f + m, 0.1f + m};
    double t0 = 0, t1 = 1;
    bool bothInside = true;
    for (int i = 0; i < 3; ++i) {
        bothInside = bothInside && std::min(a[i], b[i]) > low[i] && std::max(a[i], b[i]) < high[i];
        const double d = double(b[i]) - a[i];
        if (d == 0 && (a[i] < low[i] || a[i] > high[i])) return false;
        const double s = (low[i] - a[i]) / d, e = (high[i] - a[i]) / d;  // infinite when d is 0
        t0 = std::max(t0, std::min(s, e)), t1 = std::min(t1, std::max(s, e));
    }
    return t0 <= t1 && !bothInside;
}

bool segment(const CollisionModel& model, const float* a, const float* b) {
    const float d[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    return model.segmentHit(a, d, std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]));
}

// Cases within 1e-4 of the surface, where the answer depends on rounding, are left out.
// Spheres are named below and checked against the drawn car in the GL tests.
TEST(CollisionModel, AgreesWithTheBoxOnRandomSegments) {
    const CollisionModel box = vokaCollisionBox();
    std::mt19937 random(11);
    std::uniform_real_distribution<float> coordinate(-0.8f, 0.8f);
    int compared = 0, hits = 0;
    for (int i = 0; i < 20000; ++i) {
        float a[3], b[3];
        for (int k = 0; k < 3; ++k) a[k] = coordinate(random), b[k] = coordinate(random) * 0.4f;
        const bool hit = boxSegment(1e-4f, a, b);
        if (hit != boxSegment(-1e-4f, a, b)) continue;
        ASSERT_EQ(segment(box, a, b), hit) << i;
        ++compared, hits += hit;
    }
    // Both answers well represented.
    EXPECT_TRUE(compared > 19800 && hits > 2000 && hits < 18000) << compared << " " << hits;
}

struct Named {
    const char* name;
    float a[3], b[3];
    bool hit;
};

TEST(CollisionModel, NamedSegmentsAndSpheres) {
    const CollisionModel box = vokaCollisionBox();
    const Named segments[] = {
        {"ends on the top face", {0, 1, 0}, {0, 0.427f, 0}, true},
        {"along the top edge", {0.133f, 0.427f, -0.4f}, {0.133f, 0.427f, -0.1f}, true},
        {"beside the side face", {0.134f, 0.2f, -1}, {0.134f, 0.2f, 1}, false},
        {"zero length on a face", {0, 0.427f, 0}, {0, 0.427f, 0}, false},
        {"not a number", {kNaN, 0.2f, -0.2f}, {1, 0.2f, -0.2f}, false},
        {"infinitely far", {-kInf, 0.2f, -0.2f}, {1, 0.2f, -0.2f}, false},
    };
    for (const Named& c : segments) EXPECT_EQ(segment(box, c.a, c.b), c.hit) << c.name;
    // Spheres: centre in `a`, radius in b[0].
    const Named spheres[] = {{"touching the top", {0, 2.427f, 0}, {2}, true},
                             {"just above", {0, 2.43f, 0}, {2}, false},
                             {"not a number", {kNaN, 0, 0}, {2}, false},
                             {"radius not a number", {0, 0, 0}, {kNaN}, false}};
    for (const Named& c : spheres) EXPECT_EQ(box.sphereHit(c.a, c.b[0]), c.hit) << c.name;
}

// A lone triangle has no neighbours to catch a segment in its plane: its edges must.
TEST(CollisionModel, SegmentInTheTrianglesPlaneHitsAcrossItsEdges) {
    CollisionModel triangle;
    triangle.addTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    const float from[3] = {-1, 0.25f, 0}, to[3] = {2, 0.25f, 0}, past[3] = {2, 1.5f, 0};
    EXPECT_TRUE(segment(triangle, from, to) && !segment(triangle, past, to));
}

}  // namespace
