#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "combat/voka.h"
#include "combat/voka_geometry.h"
#include "combat/voka_state.h"
#include "net/player_status.h"
#include "platform/frame_clock.h"
#include "render/frustum.h"
#include "world/world_gl_fixture.h"

namespace {

using Pixel = std::array<std::uint8_t, 4>;
constexpr Pixel kBackground = {0, 0, 255, 255};
constexpr float kLight[4] = {600, 500, 2000, 1};
constexpr float kHalfWidth = 12.0f;  // world units either side of the window's middle
constexpr float kUnitsPerPixel = 2 * kHalfWidth / testing_support::GlTest::kWidth;
constexpr Pose kStand{800, 800, 50, 0, 0, 30};
// The middle of the car at kStand: its origin is the rear axle, its nose 14 units ahead.
constexpr float kCentre[2] = {805, 803};

class VokaGlTest : public world_testing::WorldGlTest {
  protected:
    void SetUp() override {
        WorldGlTest::SetUp();
        loadGamePrototypes();
        Settings::setShadow(false);
        Settings::setLod(0);
        LodGrid::instance().updateLodGrid(Pose{});
        FrameClock::reset();
    }
    void TearDown() override {
        Frustum::instance() = Frustum{};
        PlayerStatus::resetAll();
        glClearStencil(0);
        glDisable(GL_DEPTH_TEST);
        WorldGlTest::TearDown();
    }

    static std::unique_ptr<Voka> copy(std::int32_t type) {
        auto voka = std::make_unique<Voka>();
        EXPECT_EQ(ModelStore::copyVoka(*voka, type), 0);
        voka->body.setPose(kStand);
        return voka;
    }

    // Straight down onto the car, world x to the right and y up, kUnitsPerPixel a pixel.
    static std::vector<Pixel> draw(Voka& voka) {
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-kHalfWidth, kHalfWidth, -kHalfWidth * 0.75, kHalfWidth * 0.75, 1, 500);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(-kCentre[0], -kCentre[1], -kStand.z - 100);
        voka.draw(Pose{}, kLight);
        return readWindow(GL_BACK);
    }
    static int countDrawn(Voka& voka) {
        draw(voka);
        return drawnPixels(kBackground);
    }
};

// The hit tests use what each draw stores (HitTestsFindTheCarWhereItIsDrawn).
TEST_F(VokaGlTest, WorldToModelIsTheGlChain) {
    std::mt19937 random(9);
    std::uniform_real_distribution<float> position(0, 1600), angle(-400, 400);
    for (int round = 0; round < 30; ++round) {
        const Pose p{position(random), position(random), position(random) / 8,
                     angle(random),    angle(random),    angle(random)};
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(-90, 1, 0, 0);
        glRotatef(90, 0, 0, 1);
        glRotatef(voka_geometry::lean(p), 1, 0, 0);
        glRotatef(p.rotY, 0, 1, 0);
        glRotatef(-p.rotZ, 0, 0, 1);
        glScalef(0.04f, 0.04f, 0.04f);
        glTranslatef(-p.x, -p.y, -p.z);
        expectModelview(voka_geometry::worldToModel(p).m, "world to model");
    }
}

// The frustum is taken from a camera south of the Voka looking at it, or away.
TEST_F(VokaGlTest, RemoteVokasOutOfViewDrawNothingTheOwnAlways) {
    const struct {
        const char* name;
        bool local, inView, culling, drawn;
    } cases[] = {{"remote in view", false, true, true, true},
                 {"remote out of view", false, false, true, false},
                 {"own out of view", true, false, true, true},
                 {"remote out of view, culling off", false, false, false, true}};
    for (const auto& c : cases) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60, 4.0 / 3.0, 0.01, 10000);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(800, 700, 60, 800, c.inView ? 800 : 600, 60, 0, 0, 1);
        Frustum::instance().extract();
        Settings::setFrustumCulling(c.culling);
        auto voka = copy(TYPE_VOKA_GREEN);
        voka->setLocalDriven(c.local);
        EXPECT_EQ(countDrawn(*voka) > 0, c.drawn) << c.name;
    }
    auto lost = copy(TYPE_VOKA_GREEN);  // no place, no number for the shots
    lost->setLocalDriven(true);
    lost->body.setPose({std::nanf(""), 800, 50, 0, 0, 0});
    draw(*lost);
    float muzzle[4];
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
        EXPECT_GT(masked, 200);
        EXPECT_LT(masked, open / 2);
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
    EXPECT_GT(covered, 2000);
    EXPECT_LT(missed, covered / 100);
    EXPECT_LT(hits, covered * 5 / 4);
    EXPECT_TRUE(rules.sphereHit(kStand.x, kStand.y, kStand.z + 55));
    EXPECT_FALSE(rules.sphereHit(kStand.x, kStand.y, kStand.z + 65));

    voka->setLocalDriven(true);
    voka->setCurrentWeapon(WEAPON_MG);
    const std::vector<Pixel> armed = draw(*voka);
    float muzzle[4];
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
