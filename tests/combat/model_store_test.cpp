#include "combat/model_store.h"

#include <gtest/gtest.h>

#include "combat/explosion.h"
#include "combat/voka.h"
#include "combat/weapon.h"
#include "net/protocol/game_codes.h"
#include "world/item.h"

namespace {

std::unique_ptr<SceneObject> makeFake() {
    struct Fake : SceneObject {
        int draw(Pose, const float*) override { return 0; }
        int update() override { return 0; }
        int initGL() override { return 0; }
    };
    return std::make_unique<Fake>();
}

// Without their prototypes the copies stay empty and answer -1 (the weapons 0); the
// percentage runs through regardless. Codes of other kinds answer -1 in any case.
TEST(ModelStoreTest, CopiesOfMissingPrototypesOrOtherCodesStayEmpty) {
    ModelStore::reset();
    std::atomic<float> progress{0.0f};
    ModelStore::loadPrototypes(progress);
    EXPECT_EQ(progress.load(), 100.0f);
    Explosion explosion(false);
    Weapon machineGun;
    Voka voka;
    Item item;
    const auto* itemModel = item.models[0].get();
    EXPECT_EQ(ModelStore::copyExplosion(explosion), -1);
    EXPECT_EQ(ModelStore::copyVoka(voka, TYPE_VOKA_RED), -1);
    EXPECT_EQ(ModelStore::copyFromPrototype(item, ITEM_AMOR_50), -1);
    EXPECT_EQ(ModelStore::copyWeaponMg(machineGun), 0);
    EXPECT_TRUE(machineGun.models[0]->objects.empty() && voka.models[0]->objects.empty());
    for (int slot = 0; slot < static_cast<int>(Prototype::Count); ++slot)
        ModelStore::setFactory(static_cast<Prototype>(slot), makeFake);
    ModelStore::loadPrototypes(progress);
    EXPECT_EQ(ModelStore::copyVoka(voka, TYPE_BULLET_MG), -1);
    for (const std::int32_t code : {132, 139, -133})
        EXPECT_EQ(ModelStore::copyFromPrototype(item, code), -1) << code;
    EXPECT_EQ(item.models[0].get(), itemModel);
    EXPECT_EQ(ModelStore::sharedTexture(-1), 0u);
    ModelStore::reset();
}

}  // namespace
