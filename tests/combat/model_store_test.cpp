#include "combat/model_store.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

#include "combat/explosion.h"
#include "combat/voka.h"
#include "combat/weapon.h"
#include "net/protocol/game_codes.h"
#include "world/item.h"
#include "world/sky.h"

namespace {

// Records the order in which prototypes are built and uploaded, and the percentage the
// loading screen would have shown while each was being built.
struct Log {
    std::vector<std::string> built;
    std::vector<float> progressWhileBuilding;
    std::vector<std::string> uploaded;
    std::atomic<float>* progress = nullptr;
};
Log g_log;

template <int Code>
class Fake : public SceneObject {
  public:
    Fake() {
        type = Code;
        models[0]->objectCount = Code;  // something to recognise the model by
        g_log.built.push_back(std::to_string(Code));
        g_log.progressWhileBuilding.push_back(g_log.progress->load());
    }
    int draw(Pose, const float*) override { return 0; }
    int update() override { return 0; }
    int initGL() override {
        g_log.uploaded.push_back(std::to_string(Code));
        return 0;
    }
};

template <int Code>
std::unique_ptr<SceneObject> make() {
    return std::make_unique<Fake<Code>>();
}

class ModelStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ModelStore::reset();
        g_log = Log{};
        g_log.progress = &progress;
    }
    void TearDown() override { ModelStore::reset(); }

    void registerAll() {
        const std::pair<Prototype, std::unique_ptr<SceneObject> (*)()> factories[] = {
            {Prototype::VokaRed, make<128>},     {Prototype::VokaGreen, make<129>},
            {Prototype::ItemPower25, make<133>}, {Prototype::ItemPower15, make<134>},
            {Prototype::ItemAmmoMg, make<135>},  {Prototype::ItemAmmoRail, make<136>},
            {Prototype::ItemAmor50, make<137>},  {Prototype::ItemAmor100, make<138>},
            {Prototype::Explosion, make<1>},     {Prototype::Sky, make<3>},
            {Prototype::WeaponMg, make<2>},      {Prototype::WeaponRail, make<7>}};
        for (const auto& [prototype, factory] : factories)
            ModelStore::setFactory(prototype, factory);
    }

    std::atomic<float> progress{0.0f};
};

// Built in loading order with the loading percentages; uploaded Vokas, items, explosion,
// sky, then weapons.
TEST_F(ModelStoreTest, BuildsAndUploadsInTheirOrders) {
    registerAll();
    EXPECT_EQ(ModelStore::loadPrototypes(progress), 0);
    EXPECT_EQ(g_log.built, (std::vector<std::string>{"1", "128", "129", "133", "134", "137", "138",
                                                     "135", "136", "3", "7", "2"}));
    const std::vector<float> before{0.0f,   9.09f,  18.18f, 27.27f, 36.36f, 45.45f,
                                    54.54f, 63.63f, 72.72f, 81.81f, 90.09f, 95.09f};
    ASSERT_EQ(g_log.progressWhileBuilding.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_FLOAT_EQ(g_log.progressWhileBuilding[i], before[i]) << i;
    EXPECT_FLOAT_EQ(progress.load(), 100.0f);
    ModelStore::uploadPrototypes();
    EXPECT_EQ(g_log.uploaded, (std::vector<std::string>{"128", "129", "133", "134", "137", "138",
                                                        "135", "136", "1", "3", "2", "7"}));
}

TEST_F(ModelStoreTest, CopiesShareTheModelsAndTakeTypeAndTextures) {
    registerAll();
    ModelStore::loadPrototypes(progress);
    Fake<0> copy;
    copy.textures[5] = 99;
    ASSERT_TRUE(ModelStore::copyBase(copy, Prototype::ItemAmor50));
    const SceneObject* prototype = ModelStore::prototype(Prototype::ItemAmor50);
    EXPECT_EQ(copy.type, 137);
    EXPECT_EQ(copy.models[0].get(), prototype->models[0].get());
    EXPECT_EQ(copy.models[0]->objectCount, 137);
    EXPECT_EQ(copy.textures[5], 0u);
    EXPECT_EQ(copy.id, -1);
}

TEST_F(ModelStoreTest, MissingPrototypeLeavesTheCopyAsBuilt) {
    ModelStore::setFactory(Prototype::Sky, make<3>);
    ModelStore::loadPrototypes(progress);
    EXPECT_FLOAT_EQ(progress.load(), 100.0f);  // the percentage runs through regardless
    EXPECT_EQ(ModelStore::prototype(Prototype::VokaRed), nullptr);
    Fake<0> copy;
    const auto* model = copy.models[0].get();
    EXPECT_FALSE(ModelStore::copyBase(copy, Prototype::VokaRed));
    EXPECT_EQ(copy.models[0].get(), model);
    EXPECT_EQ(copy.type, 0);
    EXPECT_TRUE(ModelStore::copyBase(copy, Prototype::Sky));
    ModelStore::uploadPrototypes();
    EXPECT_EQ(g_log.uploaded, std::vector<std::string>{"3"});
}

// The loading screen reads the percentage while the loading thread writes it.
TEST_F(ModelStoreTest, ProgressCanBeWatchedFromAnotherThread) {
    registerAll();
    std::thread loader([this] { ModelStore::loadPrototypes(progress); });
    float seen = 0.0f;
    while (seen < 100.0f) {
        const float now = progress.load();
        EXPECT_GE(now, seen);
        seen = now;
    }
    loader.join();
}

// Without their prototypes the copies stay empty: the explosion, Vokas and items answer
// -1, the sky and the weapons 0. Codes of other kinds answer -1 in any case.
TEST_F(ModelStoreTest, CopiesOfMissingPrototypesStayEmpty) {
    Explosion explosion(false);
    Sky sky(false);
    Weapon machineGun, railGun;
    Voka voka;
    Item item;
    EXPECT_EQ(ModelStore::copyExplosion(explosion), -1);
    EXPECT_EQ(ModelStore::copyVoka(voka, TYPE_VOKA_RED), -1);
    EXPECT_EQ(ModelStore::copyFromPrototype(item, ITEM_AMOR_50), -1);
    EXPECT_EQ(ModelStore::copySky(sky) + ModelStore::copyWeaponMg(machineGun) +
                  ModelStore::copyWeaponRail(railGun),
              0);
    for (const SceneObject* copy : std::initializer_list<const SceneObject*>{
             &explosion, &sky, &machineGun, &railGun, &voka, &item})
        EXPECT_TRUE(copy->models[0]->objects.empty());
    registerAll();
    ModelStore::loadPrototypes(progress);
    EXPECT_EQ(ModelStore::copyVoka(voka, TYPE_BULLET_MG), -1);
    for (const std::int32_t code : {132, 139, -133}) {
        EXPECT_EQ(ModelStore::copyFromPrototype(item, code), -1) << code;
        EXPECT_TRUE(item.models[0]->objects.empty());
    }
}

TEST_F(ModelStoreTest, SharedTextureSlotsOutsideTheTableAreZero) {
    EXPECT_EQ(ModelStore::sharedTexture(2), 0u);
    EXPECT_EQ(ModelStore::sharedTexture(-1), 0u);
}

}  // namespace
