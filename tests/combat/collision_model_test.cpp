#include "combat/collision_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace {

constexpr float kLow[3] = {-0.133f, 0.0f, -0.555f};
constexpr float kHigh[3] = {0.133f, 0.427f, 0.1f};
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// The reference knows only the box, grown (or, with a negative margin, shrunk) by
// `margin`: a segment meets its surface when it meets the solid box (slabs) without lying
// wholly inside it; a sphere when the surface is within reach.
struct Box {
    float low[3], high[3];
    explicit Box(float margin) {
        for (int i = 0; i < 3; ++i) low[i] = kLow[i] - margin, high[i] = kHigh[i] + margin;
    }
    bool inside(const float* p) const {
        for (int i = 0; i < 3; ++i)
            if (!(p[i] > low[i] && p[i] < high[i])) return false;
        return true;
    }
    bool segment(const float* a, const float* b) const {
        double t0 = 0, t1 = 1;
        for (int i = 0; i < 3; ++i) {
            const double d = double(b[i]) - a[i];
            if (d == 0) {
                if (a[i] < low[i] || a[i] > high[i]) return false;
                continue;
            }
            double near = (low[i] - a[i]) / d, far = (high[i] - a[i]) / d;
            if (near > far) std::swap(near, far);
            t0 = std::max(t0, near);
            t1 = std::min(t1, far);
        }
        return t0 <= t1 && !(inside(a) && inside(b));
    }
    bool sphere(const float* c, float r) const {
        double outside = 0, depth = 1e9;
        for (int i = 0; i < 3; ++i) {
            const double below = low[i] - c[i], above = c[i] - high[i];
            const double gap = std::max({below, above, 0.0});
            outside += gap * gap;
            depth = std::min({depth, -below, -above});
        }
        return outside > 0 ? std::sqrt(outside) <= r : depth <= r;
    }
};

bool segment(const CollisionModel& box, const float* a, const float* b) {
    const float d[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    return box.segmentHit(a, d, std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]));
}

// Cases within 1e-4 of the surface, where the answer depends on rounding, are left out.
TEST(CollisionModel, AgreesWithTheBoxOnRandomSegmentsAndSpheres) {
    const CollisionModel box = vokaCollisionBox();
    EXPECT_EQ(box.triangleCount(), 12);
    const Box grown(1e-4f), shrunk(-1e-4f);
    std::mt19937 random(11);
    std::uniform_real_distribution<float> coordinate(-0.8f, 0.8f), radius(0.0f, 0.5f);
    int hits[2] = {0, 0}, compared[2] = {0, 0};
    for (int i = 0; i < 20000; ++i) {
        float a[3], b[3];
        for (int k = 0; k < 3; ++k) a[k] = coordinate(random), b[k] = coordinate(random) * 0.4f;
        const float r = radius(random);
        if (grown.segment(a, b) == shrunk.segment(a, b)) {
            ++compared[0];
            hits[0] += grown.segment(a, b);
            ASSERT_EQ(segment(box, a, b), grown.segment(a, b)) << i;
        }
        if (grown.sphere(a, r) == shrunk.sphere(a, r)) {
            ++compared[1];
            hits[1] += grown.sphere(a, r);
            ASSERT_EQ(box.sphereHit(a, r), grown.sphere(a, r)) << i;
        }
    }
    for (int kind = 0; kind < 2; ++kind) {
        EXPECT_GT(compared[kind], 19800) << kind;
        EXPECT_GT(hits[kind], 2000) << kind;  // both answers well represented
        EXPECT_LT(hits[kind], 18000) << kind;
    }
}

struct SegmentCase {
    const char* name;
    float a[3], b[3];
    bool hit;
};

TEST(CollisionModel, NamedSegments) {
    const CollisionModel box = vokaCollisionBox();
    const SegmentCase cases[] = {
        {"through", {-1, 0.2f, -0.2f}, {1, 0.2f, -0.2f}, true},
        {"ends on the top face", {0, 1, 0}, {0, 0.427f, 0}, true},
        {"stops short of the top", {0, 1, 0}, {0, 0.428f, 0}, false},
        {"along the top edge", {0.133f, 0.427f, -0.4f}, {0.133f, 0.427f, -0.1f}, true},
        {"beside the side face", {0.134f, 0.2f, -1}, {0.134f, 0.2f, 1}, false},
        {"lying on the top face", {-0.05f, 0.427f, -0.2f}, {0.05f, 0.427f, -0.3f}, true},
        {"zero length on a face", {0, 0.427f, 0}, {0, 0.427f, 0}, false},
        {"from inside out", {0, 0.2f, -0.2f}, {0, 0.2f, -3}, true},
        {"wholly inside", {0, 0.1f, -0.1f}, {0, 0.3f, -0.3f}, false},
        {"not a number", {kNaN, 0.2f, -0.2f}, {1, 0.2f, -0.2f}, false},
        {"infinitely far", {-kInf, 0.2f, -0.2f}, {1, 0.2f, -0.2f}, false},
    };
    for (const SegmentCase& c : cases) EXPECT_EQ(segment(box, c.a, c.b), c.hit) << c.name;
    const float origin[3] = {-1, 0.2f, -0.2f}, along[3] = {1, 0, 0};
    EXPECT_FALSE(box.segmentHit(origin, along, kInf));
    EXPECT_FALSE(box.segmentHit(origin, along, kNaN));
}

// A lone triangle has no neighbours to catch a segment in its plane: its edges must.
TEST(CollisionModel, SegmentInTheTrianglesPlaneHitsAcrossItsEdges) {
    CollisionModel triangle;
    triangle.addTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    const float across[2][3] = {{-1, 0.25f, 0}, {2, 0.25f, 0}},
                past[2][3] = {{-1, 1.5f, 0}, {2, 1.5f, 0}};
    EXPECT_TRUE(segment(triangle, across[0], across[1]));
    EXPECT_FALSE(segment(triangle, past[0], past[1]));
}

TEST(CollisionModel, NamedSpheres) {
    const CollisionModel box = vokaCollisionBox();
    const float touching[3] = {0, 2.427f, 0}, beyond[3] = {0, 2.43f, 0}, far[3] = {9, 9, 9};
    const float nan[3] = {kNaN, 0, 0};
    EXPECT_TRUE(box.sphereHit(touching, 2.0f));
    EXPECT_FALSE(box.sphereHit(beyond, 2.0f));
    EXPECT_TRUE(box.sphereHit(far, 20.0f));  // the box wholly inside the ball
    EXPECT_FALSE(box.sphereHit(nan, 2.0f));
    EXPECT_FALSE(box.sphereHit(far, kNaN));
}

}  // namespace
