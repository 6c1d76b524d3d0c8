// The Voka's rules without a window: animations, frame steps, copies, the network pose
// and the hit tests before any draw.
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

// Pieces spread from -20.5 to 20.5 across x about the middle one, the rest of 20.5 along
// y; a one-piece model (no middle to spread about) flies straight along y.
TEST(Voka, ExplodingSpreadsTheWreckPieces) {
    const std::vector<float> spreads[] = {
        {-20.5f, 0, 20.5f}, {0}, {-20.5f, -10.25f, 0, 10.25f, 20.5f}, {-20.5f, -10.25f, 0, 10.25f}};
    for (const std::vector<float>& vx : spreads) {
        Voka voka = withObjects(static_cast<int>(vx.size()));
        voka.body.setPose({100, 200, 30, 0, 0, 45});
        ASSERT_EQ(voka.animate(1, 0.0f), 0);
        ASSERT_TRUE(voka.isDestroyed());
        ASSERT_EQ(voka.getDebris().size(), vx.size());
        for (std::size_t i = 0; i < vx.size(); ++i) {
            const float* v = voka.getDebris()[i].getVelocity();
            EXPECT_FLOAT_EQ(v[0], vx[i]) << vx.size() << " " << i;
            EXPECT_FLOAT_EQ(v[1], std::sqrt(20.5f * 20.5f - vx[i] * vx[i]));
            EXPECT_FLOAT_EQ(v[2], 20.7f);
            EXPECT_EQ(voka.getDebris()[i].getPose().y, 200.0f);
        }
    }
}

// The explosion runs by the clock given, one picture an update at most; the pieces fly
// by the frame time under their weight.
TEST(Voka, WreckFliesUntilTheExplosionIsDone) {
    Voka voka = withObjects(3);
    voka.animate(1, 0.0f);
    FrameClock::reset();
    FrameClock::tick(0.5f);
    for (int update = 1; update <= Explosion::kFrames; ++update) {
        EXPECT_FALSE(voka.isExplosionDone()) << update;
        const float now = 0.2f * static_cast<float>(update);
        if (update % 2 == 0) voka.update(now);  // the own and the remote step alike
        if (update % 2 == 1) voka.updateRemote(now);
    }
    EXPECT_TRUE(voka.isExplosionDone());
    const Pose middle = voka.getDebris()[1].getPose();
    EXPECT_NEAR(middle.y, 20.5f * 7.5f, 1e-2);
    EXPECT_NEAR(middle.z, 20.7f * 7.5f - 25.0f * 0.25f * 120, 1e-1);  // Σ over 15 steps
    voka.resetDestroyed();
    EXPECT_FALSE(voka.isDestroyed() || voka.isExplosionDone());
    FrameClock::reset();
}

TEST(Voka, HitSwingRisesToEightyAndFallsBackOnce) {
    Voka voka = withObjects(5);
    testing_support::CapturedErrors errors;
    EXPECT_EQ(voka.animate(2), -1);
    EXPECT_EQ(errors.texts(), std::vector<std::string>{"unknown animation typ in voka"});
    voka.animate(0);
    const std::int32_t states[] = {1, 1, 2, 2, 0};
    const int after[] = {1, 79, 80, 159, 160};
    for (int k = 0, updates = 0; k < 5; ++k) {
        for (; updates < after[k]; ++updates) voka.update(0.0f);
        EXPECT_EQ(voka.getSwingState(), states[k]) << after[k];
        if (after[k] == 79) voka.animate(0);  // a second hit while swinging changes nothing
    }
    EXPECT_EQ(voka.getSwingCount(), 0);
    EXPECT_FALSE(voka.isDestroyed());
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

// A copy takes the prototype's models and state, and an explosion of its own copied from
// the explosion prototype; another type code or a missing prototype copies nothing.
TEST(Voka, CopiesComeFromTheirPrototypeWithAnExplosionOfTheirOwn) {
    ModelStore::reset();
    ModelStore::setFactory(Prototype::VokaGreen, [] {
        auto made = std::make_unique<Voka>();
        made->type = TYPE_VOKA_GREEN;
        made->setPlayerName("prototype");
        return std::unique_ptr<SceneObject>(std::move(made));
    });
    ModelStore::setFactory(Prototype::Explosion, makeExplosionPrototype);
    std::atomic<float> progress{0.0f};
    ModelStore::loadPrototypes(progress);
    Voka target;
    EXPECT_EQ(ModelStore::copyVoka(target, TYPE_VOKA_RED) + ModelStore::copyVoka(target, 130), -2);
    EXPECT_EQ(target.type, 1);
    ASSERT_EQ(ModelStore::copyVoka(target, TYPE_VOKA_GREEN), 0);
    EXPECT_EQ(target.getPlayerName(), "prototype");
    EXPECT_EQ(target.models[0], ModelStore::prototype(Prototype::VokaGreen)->models[0]);
    EXPECT_EQ(target.getExplosion().models[0],
              ModelStore::prototype(Prototype::Explosion)->models[0]);
    ModelStore::reset();
}

TEST(Voka, NetworkPoseAndHitTestsBeforeTheFirstDraw) {
    Voka own = withObjects(0), remote = withObjects(0);
    own.body.setPose({1, 2, 3, 4, 5, 6});
    own.publishPose();
    remote.netPose() = own.netPose();
    EXPECT_TRUE(remote.adoptPose());
    EXPECT_EQ(remote.body.getPose().rotZ, 6.0f);
    remote.netPose().store({9, std::numeric_limits<float>::infinity(), 0, 0, 0, 0});
    EXPECT_FALSE(remote.adoptPose());
    EXPECT_EQ(remote.body.getPose().x, 1.0f);
    // Never drawn, a Voka is tested as if it stood at the origin unscaled; without its
    // collision model nothing hits.
    const float a[4] = {-1, 0.2f, -0.2f, 1}, b[4] = {1, 0.2f, -0.2f, 1};
    EXPECT_FALSE(own.rayHit(a, b) || own.sphereHit(0, 0, 0));
    own.buildCollisionModel();
    EXPECT_TRUE(own.rayHit(a, b) && own.sphereHit(0, 2.4f, 0));
    EXPECT_FALSE(own.sphereHit(0, 2.5f, 0));
}

TEST(Voka, OtherTypesReadNothing) {
    testing_support::CapturedErrors errors;
    const Voka voka(TYPE_BULLET_MG, Pose{});
    EXPECT_EQ(errors.texts(), std::vector<std::string>{"wrong voka type"});
    for (const auto& model : voka.models) EXPECT_TRUE(model->objects.empty());
}

}  // namespace
