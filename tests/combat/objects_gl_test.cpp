// Match objects drawn in a real window: explosions, beams, items, weapons, the prototypes
// and their copies, and the Voka.
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <memory>
#include <vector>

#include "combat/beam_table.h"
#include "combat/explosion.h"
#include "combat/prototypes.h"
#include "combat/voka.h"
#include "combat/voka_state.h"
#include "combat/weapon.h"
#include "net/player_status.h"
#include "net/protocol/game_codes.h"
#include "platform/frame_clock.h"
#include "render/frustum.h"
#include "render/gl_extensions.h"
#include "render/texture.h"
#include "world/ground_fog.h"
#include "world/item.h"
#include "world/sky.h"
#include "world/world_gl_fixture.h"

namespace {

using Pixel = std::array<std::uint8_t, 4>;
using Vec = std::array<double, 3>;
constexpr Pixel kBackground = {0, 0, 255, 255};

class ObjectsGlTest : public world_testing::WorldGlTest {
  protected:
    void TearDown() override {
        Frustum::instance() = Frustum{};
        glClearStencil(0);
        PlayerStatus::resetAll();
        FrameClock::reset();
        WorldGlTest::TearDown();
    }

    // Orthographic over `halfWidth` units either side, or in perspective when it is 0.
    static void look(Vec eye, Vec centre, Vec up, double halfWidth) {
        glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        const double aspect = static_cast<double>(kWidth) / kHeight;
        if (halfWidth > 0.0)
            glOrtho(-halfWidth, halfWidth, -halfWidth / aspect, halfWidth / aspect, 0.01, 5000.0);
        else
            gluPerspective(60.0, aspect, 1.0, 1000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(eye[0], eye[1], eye[2], centre[0], centre[1], centre[2], up[0], up[1], up[2]);
    }

    // (right, up) units from the window's middle, in a view of one unit a pixel.
    static Pixel at(float right, float up) {
        return readPixel(kWidth / 2 + static_cast<int>(std::floor(right)),
                         kHeight / 2 + static_cast<int>(std::floor(up)), GL_BACK);
    }
};

struct Probe {
    float right, up;  // from the explosion's position, as the camera sees it
    Pixel colour;
};

// A Voka's square is 100 wide and high with its foot 20 below, an impact's 8 with its foot
// 2 below; with transparency the picture adds to what lies behind it; no fog touches it.
TEST_F(ObjectsGlTest, ExplosionSquareHasItsSizeFootAndBlend) {
    for (int i = 0; i < Explosion::kFrames; ++i)
        testing_support::writeFile(
            dir.file("textures/expl_a0" + std::to_string(100 + i).substr(1) + ".bmp"),
            testing_support::solidBmp(4, 4, {128, 0, 0}));
    Explosion prototype(true);
    prototype.initGL();
    const Pixel red = {128, 0, 0, 255}, added = {64, 0, 255, 255};
    const struct {
        const char* name;
        float size, cameraYaw;
        bool ground, transparency, fogged;
        int updates;
        float halfWidth, foot;  // world units
        Pixel inside;
    } squares[] = {
        {"a Voka's", 1.0f, 0.0f, false, false, false, 0, 50, 20, red},
        {"an impact's, facing a camera looking north", 0.08f, 90.0f, true, false, false, 3, 4, 2,
         red},
        {"with transparency", 1.0f, 0.0f, false, true, false, 0, 50, 20, added},
        {"in the ground fog", 1.0f, 0.0f, false, false, true, 0, 50, 20, red},
        {"after the last picture", 1.0f, 0.0f, false, false, false, 15, 50, 20, kBackground},
    };
    for (const auto& square : squares) {
        SCOPED_TRACE(square.name);
        Settings::setTransparency(square.transparency);
        Explosion explosion = prototype;
        explosion.setSize(square.size);
        explosion.setGround(square.ground);
        explosion.start(Pose{}, 0.0f);
        for (int k = 1; k <= square.updates; ++k) explosion.update(static_cast<float>(k));
        const double yaw = square.cameraYaw * 3.14159265358979 / 180.0;
        look({-1000.0 * std::cos(yaw), -1000.0 * std::sin(yaw), 0.0}, {0, 0, 0}, {0, 0, 1},
             kWidth / 2.0);
        glEnable(GL_CULL_FACE);  // the picture's front faces the camera
        if (square.fogged) {     // as the match sets it, with a coordinate deep in the fog
            Settings::setHasFogCoord(true);
            Settings::setFog(true);
            ASSERT_TRUE(ground_fog::setUp());
            gl_ext::fogCoordf(ground_fog::kEnd);
        }
        explosion.draw(Pose{0, 0, 0, 0, 0, square.cameraYaw}, nullptr);
        glDisable(GL_FOG);
        gl_ext::fogCoordf(0.0f);
        const float top = 2 * square.halfWidth - square.foot, side = square.halfWidth;
        const Probe probes[] = {{0, 0.5f - square.foot, square.inside},
                                {side - 0.5f, top - 0.5f, square.inside},
                                {0, -0.5f - square.foot, kBackground},
                                {0, top + 0.5f, kBackground},
                                {side + 0.5f, 0, kBackground}};
        for (const Probe& p : probes)
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(at(p.right, p.up)[c], p.colour[c], 3) << p.right << ", " << p.up;
    }
}

// A band from x = -100 to 100 seen from above: 1 unit wide at its start, 4 at its end,
// glowing unlit at 0.8 of its red.
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
    look({0, 0, 1000}, {0, 0, 0}, {0, 1, 0}, kWidth / 2.0);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_LIGHTING);
    fence.drawAll(Pose{}, nullptr);
    const Pixel glow = {204, 0, 0, 255}, dark = {0, 0, 0, 255};
    const Probe probes[] = {{-90, 0, glow}, {90, 1.5f, glow}, {-90, 1.5f, dark}, {110, 0, dark}};
    for (const Probe& p : probes) EXPECT_EQ(at(p.right, p.up), p.colour) << p.right << ", " << p.up;
    SharedTextures::clear();
}

// A twentieth of a second of fire turns the machine gun's barrels 22.5 degrees.
TEST_F(ObjectsGlTest, WeaponsDrawTheirModelsAndTheMachineGunsBarrelsTurn) {
    loadGamePrototypes();
    for (const bool mg : {true, false}) {
        Weapon weapon(9);
        (mg ? ModelStore::copyWeaponMg : ModelStore::copyWeaponRail)(weapon);
        std::vector<Pixel> frames[2];
        for (auto& pixels : frames) {
            look({5, 0.4, -0.37}, {-0.16, 0.4, -0.37}, {0, 1, 0}, 0.25);
            weapon.draw(Pose{}, nullptr);
            pixels = readWindow(GL_BACK);
            FrameClock::reset();
            FrameClock::tick(0.05f);
            weapon.setFireButton(true);
            weapon.update();
        }
        EXPECT_GT(drawnPixels(kBackground), 1000) << mg;
        EXPECT_EQ(frames[0] != frames[1], mg);
    }
}

// Without their prototypes the copies stay empty and answer -1 (the weapons 0); the
// percentage runs through regardless. Loaded, copies share the prototypes' meshes and
// texture names: they read nothing, so they are made with the game's models and textures
// gone. Codes of other kinds answer -1 in any case.
TEST_F(ObjectsGlTest, CopiesShareThePrototypesAndReadNothing) {
    using P = Prototype;
    Voka red, green;
    Explosion explosion(false);
    Sky sky(false);
    Weapon machineGun, railGun;
    Item items[6];  // codes 133 on
    std::atomic<float> progress{0.0f};
    ModelStore::loadPrototypes(progress);
    EXPECT_EQ(progress.load(), 100.0f);
    EXPECT_EQ(ModelStore::copyExplosion(explosion) + ModelStore::copyVoka(red, TYPE_VOKA_RED) +
                  ModelStore::copyFromPrototype(items[4], ITEM_AMOR_50),
              -3);
    EXPECT_EQ(ModelStore::copyWeaponMg(machineGun), 0);
    EXPECT_TRUE(machineGun.models[0]->objects.empty() && red.models[0]->objects.empty());

    loadGamePrototypes();
    std::filesystem::remove_all(dir.file("models"));
    std::filesystem::remove_all(dir.file("textures"));
    int failed = ModelStore::copyVoka(red, TYPE_VOKA_RED) +
                 ModelStore::copyVoka(green, TYPE_VOKA_GREEN) +
                 ModelStore::copyExplosion(explosion) + ModelStore::copySky(sky) +
                 ModelStore::copyWeaponMg(machineGun) + ModelStore::copyWeaponRail(railGun);
    for (int i = 0; i < 6; ++i) failed += ModelStore::copyFromPrototype(items[i], ITEM_POWER25 + i);
    ASSERT_EQ(failed, 0);
    const SceneObject* copies[] = {
        &red,      &green,    &explosion, &sky,      &machineGun, &railGun, &red.getExplosion(),
        &items[0], &items[1], &items[2],  &items[3], &items[4],   &items[5]};
    const P slots[] = {P::VokaRed,     P::VokaGreen,  P::Explosion,    P::Sky,
                       P::WeaponMg,    P::WeaponRail, P::Explosion,    P::ItemPower25,
                       P::ItemPower15, P::ItemAmmoMg, P::ItemAmmoRail, P::ItemAmor50,
                       P::ItemAmor100};
    for (int i = 0; i < 13; ++i) {
        const SceneObject *copy = copies[i], *prototype = ModelStore::prototype(slots[i]);
        ASSERT_NE(prototype, nullptr);
        EXPECT_FALSE(copy->models[0]->objects.empty());
        EXPECT_TRUE(std::equal(copy->models, copy->models + 3, prototype->models) &&
                    std::equal(copy->textures, copy->textures + SceneObject::kTextureSlots,
                               prototype->textures))
            << i;
    }
    const auto* itemModel = items[0].models[0].get();
    for (const std::int32_t code : {132, 139, -133})
        EXPECT_EQ(ModelStore::copyFromPrototype(items[0], code), -1) << code;
    EXPECT_EQ(items[0].models[0].get(), itemModel);
    EXPECT_EQ(ModelStore::copyVoka(green, TYPE_BULLET_MG), -1);
    EXPECT_EQ(ModelStore::sharedTexture(-1), 0u);
}

constexpr float kLight[4] = {600, 500, 2000, 1};
constexpr float kHalfWidth = 12.0f;  // world units either side of the window's middle
constexpr float kUnitsPerPixel = 2 * kHalfWidth / testing_support::GlTest::kWidth;
// Steered and pitched, so that the hit tests see every turn of the draw's matrix.
constexpr Pose kStand{800, 800, 50, 40, 8, 30};
// The middle of the car at kStand: its origin is the rear axle, its nose 14 units ahead.
constexpr float kCentre[2] = {805, 803};

class VokaGlTest : public ObjectsGlTest {
  protected:
    void SetUp() override {
        ObjectsGlTest::SetUp();
        loadGamePrototypes();
        Settings::setShadow(false);
        Settings::setLod(0);
    }

    static std::unique_ptr<Voka> copy(std::int32_t type) {
        auto voka = std::make_unique<Voka>();
        EXPECT_EQ(ModelStore::copyVoka(*voka, type), 0);
        voka->body.setPose(kStand);
        return voka;
    }

    // Straight down onto the car, world x to the right and y up, kUnitsPerPixel a pixel.
    static std::vector<Pixel> draw(SceneObject& voka) {
        look({kCentre[0], kCentre[1], kStand.z + 100}, {kCentre[0], kCentre[1], 0}, {0, 1, 0},
             kHalfWidth);
        glClear(GL_STENCIL_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        voka.draw(Pose{}, kLight);
        return readWindow(GL_BACK);
    }
    static int countDrawn(SceneObject& voka) {
        draw(voka);
        return drawnPixels(kBackground);
    }

    float muzzle[4] = {};
};

// The frustum is taken from a camera south of the Voka (or an item in its place) looking
// at it, or away: with culling on what is out of view draws nothing, but the own Voka.
TEST_F(VokaGlTest, WhatIsOutOfViewDrawsNothingButTheOwnVoka) {
    const struct {
        const char* name;
        bool item, local, inView, culling, drawn;
    } cases[] = {{"remote in view", false, false, true, true, true},
                 {"remote out of view", false, false, false, true, false},
                 {"own out of view", false, true, false, true, true},
                 {"remote out of view, culling off", false, false, false, false, true},
                 {"an item in view", true, false, true, true, true},
                 {"an item out of view", true, false, false, true, false}};
    for (const auto& c : cases) {
        look({800, 700, 60}, {800, c.inView ? 800.0 : 600.0, 60}, {0, 0, 1}, 0.0);
        Frustum::instance().extract();
        Settings::setFrustumCulling(c.culling);
        auto voka = copy(TYPE_VOKA_GREEN);
        voka->setLocalDriven(c.local);
        Item item;
        ModelStore::copyFromPrototype(item, ITEM_AMMO_RAIL);
        item.setPosition(kCentre[0], kCentre[1], kStand.z);
        EXPECT_EQ(countDrawn(c.item ? static_cast<SceneObject&>(item) : *voka) > 0, c.drawn)
            << c.name;
    }
    auto lost = copy(TYPE_VOKA_GREEN);  // no place, no number for the shots
    lost->setLocalDriven(true);
    lost->body.setPose({std::nanf(""), 800, 50, 0, 0, 0});
    draw(*lost);
    PlayerStatus::getMuzzle(muzzle);
    EXPECT_TRUE(std::isfinite(muzzle[0]));
}

// Without shadows no part's light is touched, and the body stays under the stencil
// test: where the stencil holds 1 only wheels and weapon show.
TEST_F(VokaGlTest, ShadowsOffComputeNoLightAndTheBodyIsStillStencilTested) {
    auto voka = copy(TYPE_VOKA_RED);
    auto& objects = voka->models[0]->objects;
    for (const bool shadows : {false, true}) {
        Settings::setShadow(shadows);
        for (auto& object : objects) std::fill_n(object.lightPosition, 4, 7.0f);
        glClearStencil(0);
        const int open = countDrawn(*voka);
        int untouched = 0;
        for (const auto& object : objects) untouched += object.lightPosition[0] == 7.0f;
        EXPECT_EQ(untouched, shadows ? 0 : static_cast<int>(objects.size())) << shadows;
        if (shadows) continue;
        glClearStencil(1);
        const int masked = countDrawn(*voka);
        EXPECT_TRUE(masked > 200 && masked < open / 2) << masked << " of " << open;
    }
}

// Every pixel of the drawn car (but a few lamp edges) lies over its hit box, which covers
// little more than the car. The own Voka's muzzle is at the tip of its drawn weapon.
TEST_F(VokaGlTest, HitTestsFindTheCarWhereItIsDrawn) {
    auto voka = copy(TYPE_VOKA_GREEN);
    voka->setCurrentWeapon(0);
    const std::vector<Pixel> car = draw(*voka);
    VokaState rules(TYPE_VOKA_GREEN);
    rules.body = voka->body;
    rules.placeHitBox();
    int covered = 0, hits = 0, missed = 0;
    for (int i = 0; i < kWidth * kHeight; ++i) {
        const float x = kCentre[0] + (i % kWidth + 0.5f - kWidth / 2.0f) * kUnitsPerPixel;
        const float y = kCentre[1] + (i / kWidth + 0.5f - kHeight / 2.0f) * kUnitsPerPixel;
        const float top[4] = {x, y, kStand.z + 100, 1}, bottom[4] = {x, y, 0, 1};
        const bool hit = rules.rayHit(top, bottom), drawn = car[i] != kBackground;
        covered += drawn, hits += hit, missed += drawn && !hit;
    }
    EXPECT_TRUE(covered > 2000 && missed < covered / 100 && hits < covered * 5 / 4)
        << covered << " drawn, " << hits << " hit, " << missed << " missed";
    EXPECT_TRUE(rules.sphereHit(kStand.x, kStand.y, kStand.z + 55) &&
                !rules.sphereHit(kStand.x, kStand.y, kStand.z + 65));

    voka->setLocalDriven(true);
    voka->setCurrentWeapon(WEAPON_MG);
    const std::vector<Pixel> armed = draw(*voka);
    PlayerStatus::getMuzzle(muzzle);
    const int mx = static_cast<int>((muzzle[0] - kCentre[0]) / kUnitsPerPixel + kWidth / 2.0f);
    const int my = static_cast<int>((muzzle[1] - kCentre[1]) / kUnitsPerPixel + kHeight / 2.0f);
    int weaponNearMuzzle = 0;
    for (int d = 0; d < 25; ++d) {
        const int i = (my + d / 5 - 2) * kWidth + mx + d % 5 - 2;
        weaponNearMuzzle += armed.at(i) != car.at(i);  // throws when the muzzle is off the window
    }
    EXPECT_GT(weaponNearMuzzle, 0) << mx << " " << my;
}

}  // namespace
