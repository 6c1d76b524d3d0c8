// The match frame's whole-screen passes over a known frame: motion blur through the
// accumulation buffer, the darkening of stencil-marked pixels and the hit flash.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "fx/hit_flash.h"
#include "fx/screen_passes.h"
#include "support/gl_fixture.h"

namespace {

class ScreenPasses : public testing_support::GlTest {
  protected:
    // The frame: one colour everywhere (0 to 255 per channel), stencil 0.
    static void fill(int r, int g, int b) {
        glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    }
    static void expectPixel(int x, int y, std::array<int, 3> want) {
        const auto got = readPixel(x, y, GL_BACK);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], 2) << x << " channel " << i;
    }
};

// A blended frame lies between the running average and the new frame (where exactly
// depends on the driver's colour encoding); a clock that has not moved leaves the frame
// as drawn, and the average carries on from the last blend.
TEST_F(ScreenPasses, MotionBlurAveragesOnlyWhenTheMillisecondClockMoved) {
    glClearAccum(0, 0, 0, 1);
    glClear(GL_ACCUM_BUFFER_BIT);
    MotionBlur blur;
    const struct {
        float clockMs;
        int drawn;  // red of the frame before the pass
        bool blends;
    } steps[] = {{1000.0f, 200, true}, {1000.0f, 200, false}, {1000.05f, 200, false},
                 {1001.0f, 0, true},   {1002.0f, 200, true},  {NAN, 10, false}};
    int average = 0;
    for (const auto& s : steps) {
        fill(s.drawn, 0, 0);
        EXPECT_EQ(blur.apply(s.clockMs), s.blends) << s.clockMs;
        const int shown = readPixel(kWidth / 2, kHeight / 2, GL_BACK)[0];
        const int low = s.blends ? std::min(average, s.drawn) + 1 : s.drawn;
        const int high = s.blends ? std::max(average, s.drawn) - 1 : s.drawn;
        EXPECT_TRUE(shown >= low && shown <= high) << s.clockMs << ": " << shown;
        average = s.blends ? shown : average;
    }
}

// The left half is marked as shadowed: black while playing without transparency, a
// fifth of its colour with blending; the unmarked half stays. Then the flash's red over
// a blue frame: opaque without blending, added to it with.
TEST_F(ScreenPasses, ShadowDarkeningCoversOnlyMarkedPixelsAndTheHitFlashAddsRed) {
    for (const auto& [blend, shadowed] : {std::pair{false, 0}, {true, 40}}) {
        fill(200, 200, 200);
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_ALWAYS, 1, ~0u);
        glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glRectf(-1, -1, 0, 1);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glDisable(GL_STENCIL_TEST);
        darkenShadows(blend);
        expectPixel(kWidth / 4, kHeight / 2, {shadowed, shadowed, shadowed});
        expectPixel(3 * kWidth / 4, kHeight / 2, {200, 200, 200});
        EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
        fill(0, 0, 100);
        drawHitFlash(blend ? 0.5f : 1.0f, blend);
        expectPixel(10, 10, {175, 23, blend ? 123 : 23});
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
    }
}

}  // namespace
