#include "combat/prototypes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "combat/explosion.h"
#include "combat/model_store.h"
#include "combat/weapon.h"
#include "net/protocol/game_codes.h"
#include "support/captured_errors.h"
#include "support/e2e_runner.h"
#include "support/temp_dir.h"
#include "world/item.h"
#include "world/sky.h"

namespace {

class PrototypesTest : public ::testing::Test {
  protected:
    void SetUp() override { ModelStore::reset(); }
    void TearDown() override { ModelStore::reset(); }
    std::atomic<float> progress{0.0f};
};

// Each copy operation, the slot it copies, the type code there, and its answer when the
// prototype is missing.
using CopyInto = std::unique_ptr<SceneObject> (*)(int& result);
struct Copy {
    const char* name;
    Prototype slot;
    int type;
    int withoutPrototype;
    CopyInto copy;
};

template <class T, int (*Operation)(T&), class... Args>
std::unique_ptr<SceneObject> copyInto(int& result, Args... args) {
    auto target = std::make_unique<T>(args...);
    result = Operation(*target);
    return target;
}
template <std::int32_t Code>
std::unique_ptr<SceneObject> copyItem(int& result) {
    auto item = std::make_unique<Item>();
    result = ModelStore::copyFromPrototype(*item, Code);
    return item;
}

const Copy kCopies[] = {
    {"health 25", Prototype::ItemPower25, ITEM_POWER25, -1, copyItem<ITEM_POWER25>},
    {"health 15", Prototype::ItemPower15, ITEM_POWER15, -1, copyItem<ITEM_POWER15>},
    {"armor 50", Prototype::ItemAmor50, ITEM_AMOR_50, -1, copyItem<ITEM_AMOR_50>},
    {"armor 100", Prototype::ItemAmor100, ITEM_AMOR_100, -1, copyItem<ITEM_AMOR_100>},
    {"machine-gun ammunition", Prototype::ItemAmmoMg, ITEM_AMMO_MG, -1, copyItem<ITEM_AMMO_MG>},
    {"rail ammunition", Prototype::ItemAmmoRail, ITEM_AMMO_RAIL, -1, copyItem<ITEM_AMMO_RAIL>},
    {"explosion", Prototype::Explosion, 1, -1,
     [](int& r) { return copyInto<Explosion, ModelStore::copyExplosion>(r, false); }},
    {"sky", Prototype::Sky, 1, 0,
     [](int& r) { return copyInto<Sky, ModelStore::copySky>(r, false); }},
    {"machine gun", Prototype::WeaponMg, WEAPON_MG, 0,
     [](int& r) { return copyInto<Weapon, ModelStore::copyWeaponMg>(r); }},
    {"rail gun", Prototype::WeaponRail, WEAPON_RAIL, 0,
     [](int& r) { return copyInto<Weapon, ModelStore::copyWeaponRail>(r); }},
};

// Every prototype is read once from the game data; copies share its models instead of
// reading them again. Without prototypes the copies stay empty.
TEST_F(PrototypesTest, EveryPrototypeLoadsAndCopiesShareItsModels) {
    for (const Copy& copy : kCopies) {
        int result = 99;
        EXPECT_TRUE(copy.copy(result)->models[0]->objects.empty()) << copy.name;
        EXPECT_EQ(result, copy.withoutPrototype) << copy.name;
    }
    testing_support::TempDir dir;
    testing_support::copyGameData(dir.path());
    testing_support::CapturedErrors errors;
    {
        testing_support::ScopedWorkingDir inDir(dir.path());
        registerPrototypes();
        ModelStore::loadPrototypes(progress);
    }
    EXPECT_EQ(errors.texts(), std::vector<std::string>{});
    for (const Copy& copy : kCopies) {
        SCOPED_TRACE(copy.name);
        const SceneObject* prototype = ModelStore::prototype(copy.slot);
        ASSERT_NE(prototype, nullptr);
        EXPECT_EQ(prototype->type, copy.type);
        int result = 99;
        const auto target = copy.copy(result);
        EXPECT_EQ(result, 0);
        EXPECT_FALSE(target->models[0]->objects.empty());
        for (int level = 0; level < 3; ++level)
            EXPECT_EQ(target->models[level], prototype->models[level]);
    }
    for (std::int32_t code : {132, 139, -133}) {
        Item item;
        EXPECT_EQ(ModelStore::copyFromPrototype(item, code), -1) << code;
        EXPECT_TRUE(item.models[0]->objects.empty());
    }
}

}  // namespace
