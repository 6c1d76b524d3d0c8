// The Voka's rules without a window: animations, the frame steps, the network pose and
// the hit tests before any draw.
#include "combat/voka.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <vector>

#include "combat/model_store.h"
#include "net/player_status.h"
#include "platform/frame_clock.h"
#include "support/captured_errors.h"

namespace {

// A Voka whose full model has `objects` empty mesh objects, on flat ground at height 0.
Voka withObjects(int objects) {
    Voka voka;
    voka.type = TYPE_VOKA_GREEN;
    voka.models[0]->objects.resize(static_cast<std::size_t>(objects));
    voka.setGround([](float, float) { return 0.0f; });
    return voka;
}

struct Wreck {
    int pieces;
    std::vector<float> vx;
};

// Pieces spread from -20.5 to 20.5 across x about the middle one; the rest of 20.5 along
// y, 20.7 up. A one-piece model (no middle to spread about) flies straight along y.
TEST(Voka, ExplodingSpreadsTheWreckPieces) {
    const Wreck wrecks[] = {{3, {-20.5f, 0, 20.5f}},
                            {1, {0}},
                            {5, {-20.5f, -10.25f, 0, 10.25f, 20.5f}},
                            {4, {-20.5f, -10.25f, 0, 10.25f}}};
    for (const Wreck& w : wrecks) {
        Voka voka = withObjects(w.pieces);
        voka.body.setPose({100, 200, 30, 0, 0, 45});
        ASSERT_EQ(voka.animate(1, 0.0f), 0);
        EXPECT_TRUE(voka.isDestroyed());
        ASSERT_EQ(voka.getDebris().size(), w.vx.size());
        for (std::size_t i = 0; i < w.vx.size(); ++i) {
            const Body& piece = voka.getDebris()[i];
            const float* v = piece.getVelocity();
            EXPECT_FLOAT_EQ(v[0], w.vx[i]) << w.pieces << " " << i;
            EXPECT_FLOAT_EQ(v[1], std::sqrt(20.5f * 20.5f - w.vx[i] * w.vx[i]));
            EXPECT_FLOAT_EQ(v[2], 20.7f);
            EXPECT_EQ(piece.getPose().y, 200.0f);
            EXPECT_EQ(piece.getForce()[2], -25.0f);
        }
    }
}

// The explosion runs by the clock given, at most one picture an update; the pieces fly
// by the frame time.
TEST(Voka, WreckFliesUntilTheExplosionIsDone) {
    Voka voka = withObjects(3);
    voka.createExplosion();  // no explosion prototype: an empty one, which still runs
    voka.animate(1, 0.0f);
    FrameClock::reset();
    FrameClock::tick(0.5f);
    for (int update = 1; update <= Explosion::kFrames; ++update) {
        EXPECT_FALSE(voka.isExplosionDone()) << update;
        if (update % 2 == 0) {
            voka.update(0.2f * static_cast<float>(update));
        } else {
            voka.updateRemote(0.2f * static_cast<float>(update));
        }
    }
    EXPECT_TRUE(voka.isExplosionDone());
    EXPECT_NEAR(voka.getDebris()[1].getPose().y, 20.5f * 0.5f * 15, 1e-2);
    voka.resetDestroyed();
    EXPECT_FALSE(voka.isDestroyed() || voka.isExplosionDone());
    FrameClock::reset();
}

TEST(Voka, HitSwingRisesToEightyAndFallsBackOnce) {
    Voka voka = withObjects(5);
    testing_support::CapturedErrors errors;
    EXPECT_EQ(voka.animate(2), -1);
    EXPECT_EQ(errors.texts(), std::vector<std::string>{"unknown animation typ in voka"});
    EXPECT_FALSE(voka.isDestroyed());
    voka.animate(0);
    const std::pair<int, std::int32_t> after[] = {{1, 1}, {79, 1}, {80, 2}, {159, 2}, {160, 0}};
    int updates = 0;
    for (const auto& [count, state] : after) {
        for (; updates < count; ++updates) voka.update(0.0f);
        EXPECT_EQ(voka.getSwingState(), state) << count;
        if (count == 79) {
            voka.animate(0);  // a second hit while swinging changes nothing
            EXPECT_EQ(voka.getSwingCount(), 79);
        }
    }
    EXPECT_EQ(voka.getSwingCount(), 0);
}

// The wheels turn back by the speed each frame; the weapon is the player's; the right
// button holds the look straight.
TEST(Voka, UpdateTurnsTheWheelsTakesTheWeaponAndResetsTheLook) {
    Voka voka = withObjects(5);
    voka.body.setVelocity(100.7f, 0, 0);
    voka.look(30, 20);
    PlayerStatus::setWeapon(WEAPON_RAIL);
    FrameClock::reset();
    for (int i = 0; i < 4; ++i) voka.update(0.0f);
    EXPECT_EQ(voka.getWheelAngle(), -40);  // -400 keeps the sign of the remainder
    EXPECT_EQ(voka.getCurrentWeapon(), WEAPON_RAIL);
    EXPECT_EQ(voka.getLookPose().rotZ, 30.0f);
    voka.setRightButton(true);
    voka.update(0.0f);
    EXPECT_EQ(voka.getLookPose().rotZ, 0.0f);
    EXPECT_EQ(voka.getLookPose().rotY, 0.0f);
    PlayerStatus::resetAll();
}

TEST(Voka, AdoptsOnlyFinitePosesFromTheNetwork) {
    Voka own = withObjects(0), remote = withObjects(0);
    own.body.setPose({1, 2, 3, 4, 5, 6});
    own.publishPose();
    remote.netPose() = own.netPose();
    EXPECT_TRUE(remote.adoptPose());
    EXPECT_EQ(remote.body.getPose().rotZ, 6.0f);
    remote.netPose().store({9, std::numeric_limits<float>::infinity(), 0, 0, 0, 0});
    EXPECT_FALSE(remote.adoptPose());
    EXPECT_EQ(remote.body.getPose().x, 1.0f);
}

// Never drawn, a Voka is tested as if it stood at the origin unscaled; without its
// collision model nothing hits.
TEST(Voka, HitTestsBeforeTheFirstDraw) {
    Voka voka = withObjects(5);
    const float a[4] = {-1, 0.2f, -0.2f, 1}, b[4] = {1, 0.2f, -0.2f, 1};
    EXPECT_FALSE(voka.rayHit(a, b));
    EXPECT_FALSE(voka.sphereHit(0, 0, 0));
    voka.buildCollisionModel();
    EXPECT_TRUE(voka.rayHit(a, b));
    EXPECT_TRUE(voka.sphereHit(0, 2.4f, 0));
    EXPECT_FALSE(voka.sphereHit(0, 2.5f, 0));
}

// The copy takes the prototype's models and state, and an explosion of its own copied
// from the explosion prototype.
TEST(Voka, CopiesComeFromTheirPrototypeWithAnExplosionOfTheirOwn) {
    ModelStore::reset();
    Voka target;
    EXPECT_EQ(ModelStore::copyVoka(target, TYPE_VOKA_GREEN), -1);
    ModelStore::setFactory(Prototype::VokaGreen, [] {
        auto made = std::make_unique<Voka>();
        made->type = TYPE_VOKA_GREEN;
        made->setPlayerName("prototype");
        return std::unique_ptr<SceneObject>(std::move(made));
    });
    ModelStore::setFactory(Prototype::Explosion, makeExplosionPrototype);
    std::atomic<float> progress{0.0f};
    ModelStore::loadPrototypes(progress);
    EXPECT_EQ(ModelStore::copyVoka(target, TYPE_VOKA_RED), -1);
    EXPECT_EQ(ModelStore::copyVoka(target, TYPE_BULLET_MG), -1);
    EXPECT_EQ(target.type, 1);
    ASSERT_EQ(ModelStore::copyVoka(target, TYPE_VOKA_GREEN), 0);
    EXPECT_EQ(target.type, TYPE_VOKA_GREEN);
    EXPECT_EQ(target.getPlayerName(), "prototype");
    EXPECT_EQ(target.models[0], ModelStore::prototype(Prototype::VokaGreen)->models[0]);
    EXPECT_EQ(target.getExplosion().models[0],
              ModelStore::prototype(Prototype::Explosion)->models[0]);
    ModelStore::reset();
}

TEST(Voka, OtherTypesReadNothing) {
    testing_support::CapturedErrors errors;
    const Voka voka(TYPE_BULLET_MG, Pose{});
    EXPECT_EQ(errors.texts(), std::vector<std::string>{"wrong voka type"});
    for (const auto& model : voka.models) EXPECT_TRUE(model->objects.empty());
}

}  // namespace
