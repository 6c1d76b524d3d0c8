// The flare's decisions without a window: where the elements go, whether the sun is in
// view, and which pixel's depth decides whether it is hidden.
#include "fx/lens_flare.h"

#include <gtest/gtest.h>

#include <cmath>

#include "render/frustum.h"
#include "render/matrix4.h"

namespace {

TEST(LensFlareRules, ElementsRunFromTheSunToTheViewAxis) {
    const Vec3f sun{100, 0, 0};
    // Looking at the sun every element lies on it; looking along +y the view axis meets
    // the sun's distance at (0, 100, 0).
    const auto centred = LensFlare::elementPositions(sun, {}, {1, 0, 0});
    const auto aside = LensFlare::elementPositions(sun, {}, {0, 1, 0});
    ASSERT_TRUE(centred && aside);
    for (std::size_t i = 0; i < LensFlare::kTable.size(); ++i) {
        const float t = LensFlare::kTable[i].t;
        EXPECT_EQ((*centred)[i].x, 100.0f);
        EXPECT_NEAR((*aside)[i].x, 100 - 100 * t, 1e-3f) << i;
        EXPECT_NEAR((*aside)[i].y, 100 * t, 1e-3f) << i;
    }
    EXPECT_FALSE(LensFlare::elementPositions(sun, {}, {NAN, 1, 0}));
    EXPECT_FALSE(LensFlare::elementPositions(sun, {0, INFINITY, 0}, {0, 1, 0}));
}

// The match's camera at the origin, z up, turned by `yaw` about z, with a 60 degree
// perspective over a 320 x 240 viewport.
TEST(LensFlareRules, SunMustBeInViewAndItsCentrePixelDecides) {
    const float f = 1.0f / std::tan(3.14159265f / 6), n = 0.01f, far = 10000;
    const Matrix4 projection{{f * 0.75f, 0, 0, 0, 0, f, 0, 0, 0, 0, (far + n) / (n - far), -1, 0, 0,
                              2 * far * n / (n - far), 0}};
    const int viewport[4] = {0, 0, 320, 240};
    const struct {
        float yaw;
        Vec3f sun;
        bool inView;
        int x, y;  // the probed pixel; -1 for none, -2 for any
    } cases[] = {{0, {2000, -10, 7}, true, 161, 120},
                 {90, {10, 2000, 7}, true, 161, 120},
                 {0, {2000, -10, 500}, true, 161, 171},
                 {0, {2000, -1500, 7}, true, 315, 120},
                 {0, {2000, 2000, 0}, false, -1, -1},
                 {0, {2000, 0, 1300}, false, -1, -1},
                 // Behind the camera the projection folds back into the window.
                 {180, {2000, -10, 7}, false, -2, -2}};
    for (const auto& c : cases) {
        const Matrix4 view =
            Matrix4::identity().rotate(-90, 1, 0, 0).rotate(90, 0, 0, 1).rotate(-c.yaw, 0, 0, 1);
        Frustum frustum;
        frustum.extract(projection.m, view.m);
        EXPECT_EQ(LensFlare::inView(frustum, c.sun), c.inView) << c.yaw << " " << c.sun.y;
        double p[16], m[16];
        for (int i = 0; i < 16; ++i) p[i] = projection.m[i], m[i] = view.m[i];
        const auto probe = LensFlare::depthProbe(c.sun, m, p, viewport);
        ASSERT_EQ(probe.has_value(), c.x != -1) << c.yaw << " " << c.sun.y;
        if (!probe || c.x == -2) continue;
        EXPECT_EQ(probe->x, c.x);
        EXPECT_EQ(probe->y, c.y);
        EXPECT_TRUE(probe->hiddenBy(static_cast<float>(probe->depth) - 1e-4f));
    }
    // Only something nearer hides; the same depth does not.
    EXPECT_FALSE((LensFlare::DepthProbe{0, 0, 0.5}.hiddenBy(0.5f)));
}

}  // namespace
