// The store without data files: the game's own prototypes are read in prototypes_gl_test,
// and the loading screen shows the percentages of their loading in game_state_test.
#include "combat/model_store.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "combat/explosion.h"
#include "combat/voka.h"
#include "combat/weapon.h"
#include "net/protocol/game_codes.h"
#include "world/item.h"
#include "world/sky.h"

namespace {

std::unique_ptr<SceneObject> makeFake() {
    struct Fake : SceneObject {
        int draw(Pose, const float*) override { return 0; }
        int update() override { return 0; }
        int initGL() override { return 0; }
    };
    return std::make_unique<Fake>();
}

class ModelStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { ModelStore::reset(); }
    void TearDown() override { ModelStore::reset(); }
    std::atomic<float> progress{0.0f};
};

// Without their prototypes the copies stay as they were: the explosion, Vokas and items
// answer -1, the sky and the weapons 0; the percentage runs through regardless. Codes of
// other kinds answer -1 in any case.
TEST_F(ModelStoreTest, CopiesOfMissingPrototypesOrOtherCodesStayEmpty) {
    ModelStore::loadPrototypes(progress);
    EXPECT_EQ(progress.load(), 100.0f);
    ModelStore::uploadPrototypes();
    Explosion explosion(false);
    Sky sky(false);
    Weapon machineGun, railGun;
    Voka voka;
    Item item;
    item.type = 7;
    const auto* itemModel = item.models[0].get();
    EXPECT_EQ(ModelStore::copyExplosion(explosion), -1);
    EXPECT_EQ(ModelStore::copyVoka(voka, TYPE_VOKA_RED), -1);
    EXPECT_EQ(ModelStore::copyFromPrototype(item, ITEM_AMOR_50), -1);
    EXPECT_EQ(item.models[0].get(), itemModel);
    EXPECT_EQ(item.type, 7);
    EXPECT_EQ(ModelStore::copySky(sky) + ModelStore::copyWeaponMg(machineGun) +
                  ModelStore::copyWeaponRail(railGun),
              0);
    for (const SceneObject* copy : std::initializer_list<const SceneObject*>{
             &explosion, &sky, &machineGun, &railGun, &voka, &item})
        EXPECT_TRUE(copy->models[0]->objects.empty());
    for (int slot = 0; slot < static_cast<int>(Prototype::Count); ++slot)
        ModelStore::setFactory(static_cast<Prototype>(slot), makeFake);
    ModelStore::loadPrototypes(progress);
    EXPECT_EQ(ModelStore::copyVoka(voka, TYPE_BULLET_MG), -1);
    for (const std::int32_t code : {132, 139, -133})
        EXPECT_EQ(ModelStore::copyFromPrototype(item, code), -1) << code;
    EXPECT_EQ(item.models[0].get(), itemModel);
    EXPECT_EQ(ModelStore::sharedTexture(2), 0u);
    EXPECT_EQ(ModelStore::sharedTexture(-1), 0u);
}

}  // namespace
