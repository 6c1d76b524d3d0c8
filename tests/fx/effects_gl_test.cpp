// The head-up display over a grey frame and the lens flare over a black one, in a real
// window, with one solid colour per image so that a pixel tells which image went where;
// then the match frame's whole-screen passes: motion blur through the accumulation
// buffer, the darkening of stencil-marked pixels and the hit flash.

#include <algorithm>
#include <cmath>
#include <tuple>

#include "fx/hit_flash.h"
#include "fx/hud.h"
#include "fx/lens_flare.h"
#include "fx/screen_passes.h"
#include "net/protocol/game_codes.h"
#include "render/frustum.h"
#include "render/shared_textures.h"
#include "render/texture.h"
#include "sound_fixture.h"
#include "support/gl_fixture.h"
#include "world/level_registry.h"
#include "world/world_gl_fixture.h"

namespace {

using testing_support::Rgb;
constexpr Rgb kMask{128, 128, 128}, kGrey = kMask, kCrosshair{0, 0, 90}, kMg{90, 0, 0},
                                    kRail{0, 90, 0}, kMap{0, 0, 100}, kRed{255, 0, 0},
                                    kGreen{0, 255, 0}, kBlue{0, 0, 255}, kYellow{255, 255, 0};

class EffectsGl : public SoundFixture<testing_support::GlTest> {
  protected:
    void SetUp() override {
        SoundFixture::SetUp();
        SharedTextures::clear();
        using namespace testing_support;
        constexpr Rgb white{255, 255, 255};
        const std::pair<std::string, Rgb> images[] = {
            {"CrossHairMask.bmp", kMask}, {"CrossHair.bmp", kCrosshair}, {"mg.tga", kMg},
            {"railgun.tga", kRail},       {"Glow.bmp", white},           {"BigGlow.bmp", white},
            {"Halo.bmp", white},          {"Streaks.bmp", white}};
        for (const auto& [name, c] : images)
            writeFile(dir.file("textures/" + name),
                      name.ends_with(".tga") ? solidTga(8, 8, c) : solidBmp(8, 8, c));
        // The right half differs: the map shows the image turned, so on its left.
        writeFile(dir.file("textures/map.bmp"), bmpFile(8, 8, [](int x, int) {
                      return x < 4 ? kMap : Rgb{200, 0, 0};
                  }));
        fill(128, 128, 128);  // kGrey
    }

    // The pixel at a point of the display's 2D units.
    static Rgb at(float x, float y) {
        const auto p = readPixel(static_cast<int>((x + 1) / 2 * kWidth),
                                 static_cast<int>((y + 1) / 2 * kHeight), GL_BACK);
        return {p[0], p[1], p[2]};
    }
    static void expectNear(Rgb got, Rgb want, const char* what) {
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], 2) << what << " channel " << i;
    }
    // Is this colour within 3 pixels of a point of the 2D units (or anywhere, and how often)?
    static int count(Rgb colour, float x = 0, float y = 0, int around = kWidth) {
        const auto pixels = readWindow(GL_BACK);
        const int cx = static_cast<int>((x + 1) / 2 * kWidth),
                  cy = static_cast<int>((y + 1) / 2 * kHeight);
        int found = 0;
        for (int i = 0; i < kWidth * kHeight; ++i)
            found += std::abs(i % kWidth - cx) <= around && std::abs(i / kWidth - cy) <= around &&
                     std::equal(colour.begin(), colour.end(), pixels[i].begin());
        return found;
    }
    // The frame: one colour everywhere (0 to 255 per channel), depth and stencil cleared.
    static void fill(int r, int g, int b) {
        glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    }

    testing_support::ScopedWorkingDir inDir{dir.path()};
};

// Blending multiplies the mask in and adds the crosshair, the icon and the map (whose
// colour adds squared); without it each is opaque over the last. The icon is the rail
// gun's for 7 alone. On the map: items by colour (none for an unknown code), the own
// marker and the heading in yellow, untinted by the map; no map while the shared table
// is empty.
TEST_F(EffectsGl, HudBlendsWithTransparencyAndShowsTheMarkersAtTheirMapPlaces) {
    auto level = std::make_unique<Level>();
    level->setId(4711);
    const std::uint8_t codes[] = {ITEM_POWER25, ITEM_AMMO_RAIL, ITEM_AMOR_100, 99};
    for (int i = 0; i < 4; ++i)
        level->putItem({i, codes[i], Pose{i % 2 ? 1200.0f : 400.0f, i < 2 ? 400.0f : 1200.0f}});
    LevelRegistry::instance().addLevel(std::move(level));
    LevelRegistry::instance().setCurrentLevel(4711);
    // Transparency, weapon, map loaded; then the crosshair (over the grey 128 masked to 64),
    // the icon and the map seen.
    const std::tuple<bool, int, bool, Rgb, Rgb, Rgb> cases[] = {
        {true, 2, true, {64, 64, 154}, {218, 128, 128}, {128, 128, 167}},
        {false, 7, true, kCrosshair, kRail, kMap},
        {false, 5, false, kCrosshair, kMg, kGrey},
        {true, -1, false, {64, 64, 154}, {218, 128, 128}, kGrey}};
    for (const auto& [transparency, weapon, mapLoaded, crosshair, icon, map] : cases) {
        SharedTextures::clear();
        if (mapLoaded)
            loadTexture(SharedTextures::table(), "./textures/map.bmp", SharedTextures::kTerrain);
        glClear(GL_COLOR_BUFFER_BIT);
        Settings::setTransparency(transparency);
        // At the map's centre (0.75, 0.7), heading up the map.
        Hud().draw({.weapon = weapon, .eye = {800, 800, 0, 0}, .aim = {0, 1, 0, 0}});
        SCOPED_TRACE(testing::Message() << transparency << " " << weapon << " " << mapLoaded);
        expectNear(at(0, 0), crosshair, "crosshair");
        expectNear(at(-0.7f, -0.7f), icon, "icon");
        expectNear(at(0.88f, 0.83f), map, "map");
        const auto near = [](float x, float y, Rgb colour) { return count(colour, x, y, 3) > 0; };
        EXPECT_TRUE(near(0.825f, 0.625f, kRed) && near(0.675f, 0.625f, kGreen) &&
                    near(0.825f, 0.775f, kBlue));
        EXPECT_FALSE(near(0.675f, 0.775f, kRed) || near(0.675f, 0.775f, kGreen) ||
                     near(0.675f, 0.775f, kBlue));
        EXPECT_TRUE(near(0.75f, 0.7f, kYellow) && near(0.75f, 0.76f, kYellow)) << "own, heading";
    }
    LevelRegistry::instance().setCurrentLevel(-1);
}

// The display's update sets the three engine volumes (40 km/h: two bands at 80 of
// 255, 40 of the mixer's 128) and keeps the loops playing, heard in the mix; with the
// cockpit off nothing is drawn and they stay as they were. Sound off holds running
// loops silent and never starts silent ones.
TEST_F(EffectsGl, HudDrivesTheEngineAndCockpitOffSkipsEverything) {
    for (const int soundOff : {-1, 1, 0}) {  // never, after the first frame, from the start
        open();
        Settings::setSound(soundOff != 0);
        Hud hud;
        HudInput in{.speed = 40};
        for (const bool cockpit : {true, false}) {
            Settings::setCockpit(cockpit);
            glClear(GL_COLOR_BUFFER_BIT);
            hud.draw(in);
            in.speed = 200;
            for (int band = 0; band < 3 && soundOff < 0; ++band)
                EXPECT_EQ(Mix_Volume(Sample::EngineLow + band, -1), band < 2 ? 40 : 0) << band;
        }
        EXPECT_EQ(count(kGrey), kWidth * kHeight);
        Settings::setCockpit(true);
        Settings::setSound(soundOff < 0);
        hud.draw({.speed = 40});
        waitForMixing();
        auto mix = audio->closeAndListen();
        ASSERT_GT(mix.size(), 4000u);
        std::sort(mix.end() - 2000, mix.end());
        EXPECT_NEAR(mix[mix.size() - 1000], soundOff < 0 ? 2 * 3000 * 40 / 128 : 0, 3) << soundOff;
        EXPECT_TRUE(soundOff != 0 || DiskAudio::loudSamples(mix) == 0) << "started";
    }
}

// The match's sun, and a camera 2200 units from it along -x at its height.
const Vec3f kSun{-800, -800, 2000}, kCamera{-3000, -800, 2000};

// A black frame seen from the match's view turned by `yaw` about z (at 0 the sun is in
// the middle), then the flare; before it, a hill up to `hillTop` 1000 units ahead, in
// the depth buffer only.
void drawFlare(float yaw, float hillTop) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    world_testing::lookFrom(kCamera.x, kCamera.y, kCamera.z, yaw, 60.0);
    Frustum::instance().extract();
    if (hillTop > 0) {
        glEnable(GL_DEPTH_TEST);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        const float wall[16] = {0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, -2000, 0, 0, 1};
        glPushMatrix();
        glMultMatrixf(wall);  // (y, z) of the rectangle at x = -2000
        glRectf(-2000, 0, 400, hillTop);
        glPopMatrix();
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glDisable(GL_DEPTH_TEST);
    }
    const float radians = yaw * 3.14159265f / 180.0f;
    LensFlare().draw(kSun, kCamera, {std::cos(radians), std::sin(radians), 0}, 0, yaw);
}

// With the sun in the middle every element lies on it: they add up to white, or without
// transparency the last one (a 200-unit glow, 18.9 pixels here) covers the others,
// square to the view, inside the big glare; neither takes the fog. Behind the camera,
// outside the view (though the chain would reach into it), or with the pixel under the
// sun's centre behind a hill: nothing. A hill just below it hides nothing.
TEST_F(EffectsGl, LensFlareAddsUpOnACentredSunAndNeedsItsCentreInView) {
    glEnable(GL_FOG);
    const Rgb last{102, 26, 230};
    // yaw, hill top, drawn, transparency
    const std::tuple<float, float, bool, bool> cases[] = {
        {180, 0, false, true}, {-60, 0, false, true}, {0, 2005, false, true},
        {0, 1995, true, true}, {0, 0, true, true},    {0, 0, true, false}};
    for (const auto& [yaw, hillTop, drawn, transparency] : cases) {
        Settings::setTransparency(transparency);
        drawFlare(yaw, hillTop);
        EXPECT_EQ(count({0, 0, 0}) < kWidth * kHeight, drawn) << yaw << " " << hillTop;
        if (hillTop == 0 && drawn)
            expectNear(at(0, 0), transparency ? Rgb{255, 255, 255} : last, "centre");
    }
    expectNear(at(17.0f / 160, 0), last, "right");
    expectNear(at(0, -17.0f / 120), last, "below");
    expectNear(at(21.0f / 160, 0), Rgb{153, 153, 204}, "big glare");
    glDisable(GL_FOG);
}

// --- The match frame's whole-screen passes over a known frame ---------------------

// A blended frame lies between the running average and the new frame (where exactly
// depends on the driver's colour encoding); a clock that has not moved leaves the frame
// as drawn, and the average carries on from the last blend.
TEST_F(EffectsGl, MotionBlurAveragesOnlyWhenTheMillisecondClockMoved) {
    glClearAccum(0, 0, 0, 1);
    glClear(GL_ACCUM_BUFFER_BIT);
    MotionBlur blur;
    // clock, red of the frame before the pass, blends
    const std::tuple<float, int, bool> steps[] = {{1000.0f, 200, true},   {1000.0f, 200, false},
                                                  {1000.05f, 200, false}, {1001.0f, 0, true},
                                                  {1002.0f, 200, true},   {NAN, 10, false}};
    int average = 0;
    for (const auto& [clockMs, drawn, blends] : steps) {
        fill(drawn, 0, 0);
        EXPECT_EQ(blur.apply(clockMs), blends) << clockMs;
        const int shown = readPixel(kWidth / 2, kHeight / 2, GL_BACK)[0];
        const int low = blends ? std::min(average, drawn) + 1 : drawn;
        const int high = blends ? std::max(average, drawn) - 1 : drawn;
        EXPECT_TRUE(shown >= low && shown <= high) << clockMs << ": " << shown;
        average = blends ? shown : average;
    }
}

// The left half is marked as shadowed: black while playing without transparency, a
// fifth of its colour with blending; the unmarked half stays. Then the flash's red over
// a blue frame: opaque without blending, added to it with.
TEST_F(EffectsGl, ShadowDarkeningCoversOnlyMarkedPixelsAndTheHitFlashAddsRed) {
    for (const auto& [blend, dark] : {std::pair<bool, std::uint8_t>{false, 0}, {true, 40}}) {
        fill(200, 200, 200);
        glEnable(GL_SCISSOR_TEST);  // the stencil cleared to 1 over the left half
        glScissor(0, 0, kWidth / 2, kHeight);
        glClearStencil(1);
        glClear(GL_STENCIL_BUFFER_BIT);
        glClearStencil(0);
        glDisable(GL_SCISSOR_TEST);
        darkenShadows(blend);
        expectNear(at(-0.5f, 0), {dark, dark, dark}, "marked");
        expectNear(at(0.5f, 0), {200, 200, 200}, "unmarked");
        EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
        fill(0, 0, 100);
        drawHitFlash(blend ? 0.5f : 1.0f, blend);
        expectNear(at(-0.9f, -0.9f), {175, 23, static_cast<std::uint8_t>(blend ? 123 : 23)},
                   "flash");
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
    }
}

}  // namespace
