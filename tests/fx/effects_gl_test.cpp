// The head-up display over a grey frame and the lens flare over a black one, in a real
// window, with one solid colour per image so that a pixel tells which image went where.
#include <GL/glu.h>

#include <cmath>

#include "fx/hud.h"
#include "fx/lens_flare.h"
#include "net/protocol/game_codes.h"
#include "platform/frame_clock.h"
#include "render/frustum.h"
#include "render/shared_textures.h"
#include "render/status_message.h"
#include "render/texture.h"
#include "sound_fixture.h"
#include "support/gl_fixture.h"
#include "world/level_registry.h"

namespace {

using testing_support::Rgb;
constexpr Rgb kMask{128, 128, 128}, kCrosshair{0, 0, 90}, kMg{90, 0, 0}, kRail{0, 90, 0};
constexpr Rgb kMap{0, 0, 200}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255};
constexpr Rgb kYellow{255, 255, 0};

class EffectsGl : public SoundFixture<testing_support::GlTest> {
  protected:
    void SetUp() override {
        SoundFixture::SetUp();
        FrameClock::reset();
        SharedTextures::clear();
        showStatusMessage("");
        using testing_support::solidBmp;
        const Rgb white{255, 255, 255};
        const std::pair<const char*, std::string> images[] = {
            {"CrossHairMask.bmp", solidBmp(8, 8, kMask)},
            {"CrossHair.bmp", solidBmp(8, 8, kCrosshair)},
            {"mg.tga", testing_support::solidTga(8, 8, kMg)},
            {"railgun.tga", testing_support::solidTga(8, 8, kRail)},
            // The right half differs: the map shows the image turned, so on its left.
            {"map.bmp",
             testing_support::bmpFile(8, 8, [](int x, int) { return x < 4 ? kMap : kRed; })},
            {"Glow.bmp", solidBmp(8, 8, white)},
            {"BigGlow.bmp", solidBmp(8, 8, white)},
            {"Halo.bmp", solidBmp(8, 8, white)},
            {"Streaks.bmp", solidBmp(8, 8, white)}};
        for (const auto& [name, contents] : images)
            testing_support::writeFile(dir.file("textures/") + name, contents);
        inDir = std::make_unique<testing_support::ScopedWorkingDir>(dir.path());
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        grey = at(0, 0);
    }
    void TearDown() override {
        glDisable(GL_FOG);
        inDir.reset();
        SharedTextures::clear();
        SoundFixture::TearDown();
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
    // Pixels of this colour within `around` pixels of a point of the 2D units.
    static int count(Rgb colour, float x = 0, float y = 0, int around = kWidth) {
        const std::vector<std::uint8_t> rgba = readFrame();
        const int cx = static_cast<int>((x + 1) / 2 * kWidth),
                  cy = static_cast<int>((y + 1) / 2 * kHeight);
        int found = 0;
        for (int row = std::max(0, cy - around); row < std::min(kHeight, cy + around + 1); ++row)
            for (int col = std::max(0, cx - around); col < std::min(kWidth, cx + around + 1); ++col)
                found += std::equal(colour.begin(), colour.end(), &rgba[(row * kWidth + col) * 4u]);
        return found;
    }
    static bool near(float x, float y, Rgb colour) { return count(colour, x, y, 3) > 0; }

    std::unique_ptr<testing_support::ScopedWorkingDir> inDir;
    Rgb grey{};
};

// --- Head-up display -------------------------------------------------------------

// Blending multiplies the mask in and adds the crosshair, the icon and the map (whose
// colour adds squared); without it each is opaque over the last. The icon is the rail
// gun's for 7 alone.
TEST_F(EffectsGl, HudBlendsWithTransparencyAndIsOpaqueWithout) {
    loadTexture(SharedTextures::table(), "./textures/map.bmp", SharedTextures::kTerrain);
    for (const auto& [transparency, weapon] :
         {std::pair{true, 2}, {false, 7}, {false, 5}, {true, -1}}) {
        glClear(GL_COLOR_BUFFER_BIT);
        Settings::setTransparency(transparency);
        HudInput in;
        in.weapon = weapon;
        Hud().draw(in);
        const int g = grey[0];
        const auto add = [g](int v) { return static_cast<std::uint8_t>(std::min(255, g + v)); };
        const auto masked = static_cast<std::uint8_t>(g * kMask[0] / 255);
        const Rgb icon = weapon == 7 ? kRail : kMg;
        SCOPED_TRACE(testing::Message() << transparency << " " << weapon);
        expectNear(
            at(0, 0),
            transparency ? Rgb{masked, masked, static_cast<std::uint8_t>(masked + 90)} : kCrosshair,
            "crosshair");
        expectNear(at(-0.7f, -0.7f), transparency ? Rgb{add(icon[0]), add(icon[1]), add(0)} : icon,
                   "icon");
        expectNear(at(0.88f, 0.83f), transparency ? Rgb{grey[0], grey[1], 255} : kMap, "map");
    }
}

// Items by colour (none for an unknown code), the own marker and the heading in yellow,
// untinted by the map; no map while the shared table is empty; no heading without a
// finite direction.
TEST_F(EffectsGl, HudMarkersShowInTheirColoursAtTheirMapPlaces) {
    auto level = std::make_unique<Level>();
    level->setId(4711);
    const std::uint8_t codes[] = {ITEM_POWER25, ITEM_AMMO_RAIL, ITEM_AMOR_100, 99};
    for (int i = 0; i < 4; ++i)
        level->putItem(
            {i, codes[i], Pose{i % 2 ? 1200.0f : 400.0f, i < 2 ? 400.0f : 1200.0f, 0, 0, 0, 0}});
    LevelRegistry::instance().addLevel(std::move(level));
    LevelRegistry::instance().setCurrentLevel(4711);
    for (const auto& [mapLoaded, aimX] : {std::pair{true, 0.0f}, {false, 0.0f}, {true, NAN}}) {
        SharedTextures::clear();
        if (mapLoaded)
            loadTexture(SharedTextures::table(), "./textures/map.bmp", SharedTextures::kTerrain);
        glClear(GL_COLOR_BUFFER_BIT);
        HudInput in;
        in.eye[0] = in.eye[1] = 800;  // the map's centre (0.75, 0.7)
        in.aim[0] = aimX;
        in.aim[1] = 1;
        Hud().draw(in);
        SCOPED_TRACE(testing::Message() << mapLoaded << " " << aimX);
        EXPECT_TRUE(near(0.825f, 0.625f, kRed));
        EXPECT_TRUE(near(0.675f, 0.625f, kGreen));
        EXPECT_TRUE(near(0.825f, 0.775f, kBlue));
        EXPECT_EQ(
            near(0.675f, 0.775f, kRed) + near(0.675f, 0.775f, kGreen) + near(0.675f, 0.775f, kBlue),
            0);
        EXPECT_TRUE(near(0.75f, 0.7f, kYellow));
        EXPECT_EQ(near(0.75f, 0.76f, kYellow), !std::isnan(aimX)) << "heading";
        expectNear(at(0.88f, 0.83f), mapLoaded ? Rgb{grey[0], grey[1], 255} : grey, "map");
    }
    LevelRegistry::instance().setCurrentLevel(-1);
}

TEST_F(EffectsGl, HudDrivesTheEngineAndCockpitOffSkipsEverything) {
    open();
    Hud hud;
    HudInput in;
    in.speed = 40;
    for (const bool cockpit : {true, false}) {
        Settings::setCockpit(cockpit);
        glClear(GL_COLOR_BUFFER_BIT);
        hud.draw(in);
        in.speed = 200;  // not heard with the cockpit off: 40 km/h stays
        const std::int32_t want[3] = {80, 80, 0};
        for (int band = 0; band < 3; ++band) {
            EXPECT_EQ(Mix_Volume(Sample::EngineLow + band, -1), mixerVolume(want[band])) << band;
            EXPECT_EQ(Mix_Playing(Sample::EngineLow + band), 1) << band;
        }
    }
    EXPECT_EQ(count(grey), kWidth * kHeight);
}

// --- Lens flare --------------------------------------------------------------------

// The match's sun, and a camera 2200 units from it along -x at its height.
const Vec3f kSun{-800, -800, 2000};
const Vec3f kCamera{-3000, -800, 2000};

class LensFlareGl : public EffectsGl {
  protected:
    void SetUp() override {
        EffectsGl::SetUp();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        gluPerspective(60.0, static_cast<double>(kWidth) / kHeight, 0.01, 10000.0);
        glMatrixMode(GL_MODELVIEW);
    }
    // The match's view turned by `yaw` about z (at 0 the sun is in the middle), then the
    // flare; before it, a hill up to `hillTop` 1000 units ahead, in the depth buffer only.
    static void drawFlare(float yaw, float hillTop = 0) {
        glLoadIdentity();
        glRotatef(-90, 1, 0, 0);
        glRotatef(90, 0, 0, 1);
        glRotatef(-yaw, 0, 0, 1);
        glTranslatef(-kCamera.x, -kCamera.y, -kCamera.z);
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
};

// With the sun in the middle every element lies on it: they add up to white, or without
// transparency the last one (a 200-unit glow, 18.9 pixels here) covers the others,
// square to the view, inside the big glare; neither takes the fog.
TEST_F(LensFlareGl, CentredSunAddsUpWithTransparencyAndIsOpaqueWithout) {
    glEnable(GL_FOG);
    const Rgb last{102, 26, 230};
    for (const bool transparency : {true, false}) {
        glClear(GL_COLOR_BUFFER_BIT);
        Settings::setTransparency(transparency);
        drawFlare(0);
        expectNear(at(0, 0), transparency ? Rgb{255, 255, 255} : last, "centre");
    }
    expectNear(at(17.0f / 160, 0), last, "right");
    expectNear(at(0, -17.0f / 120), last, "below");
    expectNear(at(21.0f / 160, 0), Rgb{153, 153, 204}, "big glare");
}

// Behind the camera, outside the view (though the chain would reach into it), or with
// the pixel under the sun's centre behind a hill: nothing. A hill just below it hides
// nothing.
TEST_F(LensFlareGl, NothingWhenTheSunIsOutOfViewOrItsCentreHidden) {
    const struct {
        float yaw, hillTop;
        bool drawn;
    } cases[] = {{180, 0, false}, {-60, 0, false}, {0, 2005, false}, {0, 1995, true}};
    for (const auto& c : cases) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawFlare(c.yaw, c.hillTop);
        EXPECT_EQ(count({0, 0, 0}) < kWidth * kHeight, c.drawn) << c.yaw << " " << c.hillTop;
    }
}

}  // namespace
