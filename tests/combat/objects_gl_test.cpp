// The match objects drawn in a real window and read back.
#include <GL/gl.h>
#include <GL/glu.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "combat/beam_table.h"
#include "combat/bullet.h"
#include "combat/explosion.h"
#include "combat/prototypes.h"
#include "combat/weapon.h"
#include "net/player_status.h"
#include "net/protocol/game_codes.h"
#include "platform/frame_clock.h"
#include "render/frustum.h"
#include "render/shared_textures.h"
#include "render/texture.h"
#include "support/e2e_runner.h"
#include "world/item.h"
#include "world/world_gl_fixture.h"

namespace {

using Pixel = std::array<std::uint8_t, 4>;

constexpr Pixel kBackground = {0, 0, 255, 255};

class ObjectsGlTest : public world_testing::WorldGlTest {
  protected:
    void TearDown() override {
        glDisable(GL_CULL_FACE);
        WorldGlTest::TearDown();
    }

    static void clear() {
        glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    }

    // An orthographic view of `halfWidth` units either side of `centre` (and three
    // quarters of that up and down), seen from `eye`, with z up unless `up` says else.
    static void look(const double eye[3], const double centre[3], double halfWidth,
                     const double up[3]) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-halfWidth, halfWidth, -halfWidth * 0.75, halfWidth * 0.75, 0.01, 5000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(eye[0], eye[1], eye[2], centre[0], centre[1], centre[2], up[0], up[1], up[2]);
    }

    static std::vector<Pixel> readWindow() {
        std::vector<Pixel> pixels(static_cast<std::size_t>(kWidth * kHeight));
        glFinish();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    static int countDrawn(const std::vector<Pixel>& pixels) {
        int drawn = 0;
        for (const Pixel& p : pixels) drawn += p != kBackground ? 1 : 0;
        return drawn;
    }

    void loadPrototypes() {
        testing_support::copyGameData(dir.path());
        registerPrototypes();
        std::atomic<float> progress{0.0f};
        ModelStore::loadPrototypes(progress);
        ModelStore::uploadPrototypes();
    }
};

// --- Explosion -------------------------------------------------------------------

struct Square {
    const char* name;
    float size;
    bool ground;
    float cameraYaw;  // the camera looks along this heading, straight at the explosion
    bool transparency;
    int updates;  // pictures shown before the draw
    // Heights (world z) and sideways offsets that must be covered, and that must not.
    std::vector<float> insideZ, outsideZ, outsideSide;
    Pixel inside;
};

// One world unit a pixel; the explosion stands at the origin, the window's middle.
TEST_F(ObjectsGlTest, ExplosionSquareHasItsSizeFootAndBlend) {
    for (int i = 0; i < Explosion::kFrames; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "textures/expl_a%03i.bmp", i);
        testing_support::writeFile(dir.file(name), testing_support::solidBmp(4, 4, {128, 0, 0}));
    }
    Explosion prototype(true);
    prototype.initGL();
    const Square squares[] = {
        {"a Voka's: 100 high, foot 20 below",
         1.0f,
         false,
         0.0f,
         false,
         0,
         {-19.0f, 50.0f, 79.0f},
         {-21.0f, 81.0f},
         {51.0f},
         {128, 0, 0, 255}},
        {"an impact's: 8 high, foot 2 below, turned to a camera looking north",
         0.08f,
         true,
         90.0f,
         false,
         3,
         {-1.5f, 2.0f, 5.5f},
         {-2.5f, 6.5f},
         {4.5f},
         {128, 0, 0, 255}},
        {"with transparency the picture adds its square",
         1.0f,
         false,
         0.0f,
         true,
         0,
         {50.0f},
         {},
         {},
         {64, 0, 255, 255}},
        {"the last picture shown, nothing is left",
         1.0f,
         false,
         0.0f,
         false,
         Explosion::kFrames,
         {},
         {50.0f},
         {},
         kBackground},
    };
    const double up[3] = {0.0, 0.0, 1.0};
    const double origin[3] = {0.0, 0.0, 0.0};
    for (const Square& square : squares) {
        SCOPED_TRACE(square.name);
        Settings::setTransparency(square.transparency);
        Explosion explosion(false);
        explosion = prototype;
        explosion.setSize(square.size);
        explosion.setGround(square.ground);
        explosion.start(Pose{}, 0.0f);
        for (int k = 1; k <= square.updates; ++k) explosion.update(static_cast<float>(k));
        clear();
        const double yaw = square.cameraYaw * 3.14159265358979 / 180.0;
        const double eye[3] = {-1000.0 * std::cos(yaw), -1000.0 * std::sin(yaw), 0.0};
        look(eye, origin, kWidth / 2.0, up);
        glEnable(GL_CULL_FACE);  // the picture faces the camera
        Pose camera;
        camera.rotZ = square.cameraYaw;
        EXPECT_EQ(explosion.draw(camera, nullptr), 0);
        // The pixel whose centre is at a sideways offset and height from the origin.
        const auto col = [](float side) { return kWidth / 2 + static_cast<int>(std::floor(side)); };
        const auto row = [](float z) { return kHeight / 2 + static_cast<int>(std::floor(z)); };
        const int x = col(0.5f);
        for (float z : square.insideZ) {
            const Pixel p = readPixel(x, row(z), GL_BACK);
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(p[c], square.inside[c], 3) << "z " << z;
        }
        for (float z : square.outsideZ) EXPECT_EQ(readPixel(x, row(z), GL_BACK), kBackground);
        for (float side : square.outsideSide) {
            EXPECT_EQ(readPixel(col(side), row(0.5f), GL_BACK), kBackground) << side;
            EXPECT_EQ(readPixel(col(-side), row(0.5f), GL_BACK), kBackground) << side;
        }
    }
}

// --- Beams -----------------------------------------------------------------------

// A fence band from x = -100 to 100 along y = 0 seen from straight above, one world unit
// a pixel: 1 unit wide at its start, widening to 4 at its end, glowing red.
TEST_F(ObjectsGlTest, BandBeamLiesWhereItsEndsAreAndWidens) {
    testing_support::writeFile(dir.file("textures/kreis.tga"),
                               testing_support::solidTga(4, 4, {255, 255, 255}));
    loadTexture(SharedTextures::table(), "./textures/kreis.tga", SharedTextures::kCircle);
    const float eye[4] = {0, 0, 1000, 1}, aim[4] = {0, 0, -1, 0};
    const float up[4] = {0, 1, 0, 0}, side[4] = {-1, 0, 0, 0};
    PlayerStatus::setEye(eye);
    PlayerStatus::setAim(aim);
    PlayerStatus::setUp(up);
    PlayerStatus::setSide(side);
    BeamTable fence;
    const float red[4] = {1.0f, 0.0f, 0.0f, 0.8f};
    fence.add(1, Pose{-100, 0, 0}, {200, 0, 0}, red, 0.0f, 0.0f, BeamMode::Band);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const double top[3] = {0.0, 0.0, 1000.0}, centre[3] = {0.0, 0.0, 0.0};
    const double north[3] = {0.0, 1.0, 0.0};
    look(top, centre, kWidth / 2.0, north);
    glEnable(GL_LIGHTING);  // the match draws lit; a glow must not be
    fence.drawAll(Pose{}, nullptr);
    const struct {
        float x, y;
        bool lit;
    } pixels[] = {{0, 0, true},       {-90, 0, true}, {90, 1.5f, true}, {90, -1.5f, true},
                  {-90, 1.5f, false}, {0, 5, false},  {-110, 0, false}, {110, 0, false}};
    for (const auto& p : pixels) {
        const Pixel got = readPixel(kWidth / 2 + static_cast<int>(std::floor(p.x)),
                                    kHeight / 2 + static_cast<int>(std::floor(p.y)), GL_BACK);
        // Added at 0.8 of the red over black.
        const Pixel expected = p.lit ? Pixel{204, 0, 0, 255} : Pixel{0, 0, 0, 255};
        EXPECT_EQ(got, expected) << p.x << ", " << p.y;
    }
    SharedTextures::clear();
    PlayerStatus::resetAll();
}

// --- Bullets ---------------------------------------------------------------------

// The two bullet textures are read once; every later shot takes the same names.
TEST_F(ObjectsGlTest, ShotsShareTheBulletTextures) {
    testing_support::copyGameData(dir.path());
    Bullet first(TYPE_BULLET_MG);
    Bullet second(TYPE_BULLET_RAIL);
    EXPECT_NE(first.textures[0], 0u);
    EXPECT_NE(first.textures[1], first.textures[0]);
    EXPECT_EQ(second.textures[0], first.textures[0]);
    EXPECT_EQ(second.textures[1], first.textures[1]);
}

// --- Items -----------------------------------------------------------------------

// An item (about 5 units tall) at (100, 100, 0) seen from 20 units west, where its face turns at
// spin 0. With culling on it draws only when the frustum of the frame holds it.
void lookEastAt(double x, double y) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(
        60.0,
        static_cast<double>(testing_support::GlTest::kWidth) / testing_support::GlTest::kHeight,
        1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(x - 20.0, y, 3.0, x, y, 3.0, 0.0, 0.0, 1.0);
}

TEST_F(ObjectsGlTest, ItemDrawsAtItsPlaceUnlessCulled) {
    loadPrototypes();
    const struct {
        const char* name;
        std::int32_t code;
        bool culling;
        double frustumX;  // where the frustum of the frame looks
        bool drawn;
    } rows[] = {
        {"culling off", ITEM_AMOR_100, false, 800.0, true},
        {"in the frustum", ITEM_AMMO_RAIL, true, 100.0, true},
        {"outside the frustum", ITEM_AMMO_RAIL, true, 800.0, false},
        {"an unknown code", 140, false, 100.0, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Item item;
        ModelStore::copyFromPrototype(item, row.code);
        item.setPosition(100.0f, 100.0f, 0.0f);
        Settings::setFrustumCulling(row.culling);
        lookEastAt(row.frustumX, row.frustumX);
        Frustum::instance().extract();
        lookEastAt(100.0, 100.0);
        clear();
        item.draw(Pose{}, nullptr);
        const auto pixels = readWindow();
        EXPECT_EQ(countDrawn(pixels) > 500, row.drawn) << countDrawn(pixels);
        if (!row.drawn) continue;
        // Centred on its place: the middle of the window is covered, the corners are not.
        EXPECT_NE(readPixel(kWidth / 2, kHeight / 2, GL_BACK), kBackground);
        EXPECT_EQ(readPixel(5, 5, GL_BACK), kBackground);
        EXPECT_EQ(readPixel(kWidth - 5, kHeight - 5, GL_BACK), kBackground);
    }
}

// With shadows on, the item's volume from a light high above marks the stencil buffer
// from the item down to the ground below it; with them off nothing is marked.
TEST_F(ObjectsGlTest, ItemCastsItsShadowOnTheGroundBelow) {
    loadPrototypes();
    Item item;
    ModelStore::copyFromPrototype(item, ITEM_POWER25);
    item.setPosition(100.0f, 100.0f, 0.0f);
    const float light[4] = {100.0f, 100.0f, 1000.0f, 1.0f};
    for (bool shadow : {true, false}) {
        Settings::setShadow(shadow);
        lookEastAt(100.0, 100.0);
        clear();
        glEnable(GL_DEPTH_TEST);
        glBegin(GL_QUADS);
        glVertex3f(0.0f, 0.0f, 0.0f);
        glVertex3f(200.0f, 0.0f, 0.0f);
        glVertex3f(200.0f, 200.0f, 0.0f);
        glVertex3f(0.0f, 200.0f, 0.0f);
        glEnd();
        item.draw(Pose{}, light);
        glDisable(GL_DEPTH_TEST);
        std::vector<std::uint8_t> stencil(static_cast<std::size_t>(kWidth * kHeight));
        glReadPixels(0, 0, kWidth, kHeight, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, stencil.data());
        // How many pixels are marked, and where they lie on average.
        int marked = 0;
        long sumX = 0, sumY = 0;
        for (int i = 0; i < kWidth * kHeight; ++i) {
            if (stencil[static_cast<std::size_t>(i)] == 0) continue;
            marked += 1;
            sumX += i % kWidth;
            sumY += i / kWidth;
        }
        // The volume runs from the item's whole outline down to the ground; a light left
        // in world space sends a sliver of it elsewhere.
        EXPECT_EQ(marked > 500, shadow) << marked;
        if (marked > 0) {
            EXPECT_NEAR(sumX / marked, kWidth / 2, 20);
        }
    }
}

// --- Weapons ---------------------------------------------------------------------

// Both weapons seen from the side, half a unit across the window; any other number has
// nothing to draw.
TEST_F(ObjectsGlTest, WeaponsDrawTheirModelsAndTheMachineGunsBarrelsTurn) {
    loadPrototypes();
    const double eye[3] = {5.0, 0.4, -0.37};
    const double centre[3] = {-0.16, 0.4, -0.37};
    const double up[3] = {0.0, 1.0, 0.0};
    struct Case {
        std::int32_t number;
        int (*copy)(Weapon&);
        bool drawn;
        bool barrelsTurn;
    };
    const Case cases[] = {{WEAPON_MG, ModelStore::copyWeaponMg, true, true},
                          {WEAPON_RAIL, ModelStore::copyWeaponRail, true, false},
                          {9, nullptr, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        Weapon weapon(9);
        if (c.copy != nullptr) c.copy(weapon);
        EXPECT_EQ(weapon.number(), c.number);
        std::vector<Pixel> frames[2];
        for (auto& pixels : frames) {
            clear();
            look(eye, centre, 0.25, up);
            weapon.draw(Pose{}, nullptr);
            pixels = readWindow();
            FrameClock::reset();
            FrameClock::tick(0.05f);  // a twentieth of a second of fire: 22.5 degrees
            weapon.setFireButton(true);
            weapon.update();
        }
        EXPECT_EQ(countDrawn(frames[0]) > 200, c.drawn) << countDrawn(frames[0]);
        EXPECT_EQ(frames[0] != frames[1], c.barrelsTurn);
    }
    FrameClock::reset();
}

}  // namespace
