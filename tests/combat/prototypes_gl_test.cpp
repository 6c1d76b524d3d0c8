#include <sys/inotify.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "combat/explosion.h"
#include "combat/prototypes.h"
#include "combat/voka.h"
#include "combat/weapon.h"
#include "net/protocol/game_codes.h"
#include "support/e2e_runner.h"
#include "world/item.h"
#include "world/sky.h"
#include "world/world_gl_fixture.h"

namespace {

// The files opened in some folders of the game directory, in order.
class FileOpens {
  public:
    FileOpens(const std::string& root, const std::vector<std::string>& folders)
        : fd_(inotify_init1(IN_NONBLOCK)) {
        for (const std::string& folder : folders)
            folders_[inotify_add_watch(fd_, (root + "/" + folder).c_str(), IN_OPEN)] = folder;
    }
    ~FileOpens() { close(fd_); }

    std::vector<std::string> take() {
        std::vector<std::string> opened;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = read(fd_, buffer, sizeof buffer)) > 0;) {
            for (char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                if (event->len > 0) opened.push_back(folders_[event->wd] + "/" + event->name);
                p += sizeof(inotify_event) + event->len;
            }
        }
        return opened;
    }

  private:
    int fd_;
    std::map<int, std::string> folders_;
};

class PrototypesGlTest : public world_testing::WorldGlTest {};

// Loading reads each model file once, in order; uploading reads the textures once;
// copies share the meshes and texture names and read nothing.
TEST_F(PrototypesGlTest, EachFileIsReadOnceInOrderAndCopiesReadNothing) {
    testing_support::copyGameData(dir.path());
    FileOpens opens(dir.path(), {"models", "models/items", "textures"});
    registerPrototypes();
    std::atomic<float> progress{0.0f};
    ModelStore::loadPrototypes(progress);
    std::vector<std::string> models;
    for (const std::string base : {"voka_red", "voka", "items/powerup25", "items/powerup15",
                                   "items/amor_50", "items/amor_100", "items/ammo_minigun",
                                   "items/ammo_rail", "sky", "weapon_railgun", "weapon_mg"})
        for (const char* level : {".3ds", "_middle.3ds", "_far.3ds"})
            if (base != "sky" || *level == '.')
                models.push_back("models/" + base + (base == "sky" ? ".3DS" : level));
    EXPECT_EQ(opens.take(), models);

    ModelStore::uploadPrototypes();
    std::map<std::string, int> textures;
    for (const std::string& file : opens.take()) ++textures[file];
    for (const auto& [file, count] : textures)
        EXPECT_EQ(count, file == "textures/voka_wheel.tga" ? 2 : 1) << file;
    EXPECT_EQ(textures.size(), 19u);  // 15 explosion pictures, sky, two bodies, tyres

    using P = Prototype;
    Voka red, green;
    Explosion explosion(false);
    Sky sky(false);
    Weapon machineGun, railGun;
    int failed = ModelStore::copyVoka(red, TYPE_VOKA_RED) +
                 ModelStore::copyVoka(green, TYPE_VOKA_GREEN) +
                 ModelStore::copyExplosion(explosion) + ModelStore::copySky(sky) +
                 ModelStore::copyWeaponMg(machineGun) + ModelStore::copyWeaponRail(railGun);
    std::vector<std::pair<const SceneObject*, Prototype>> copies = {
        {&red, P::VokaRed},
        {&green, P::VokaGreen},
        {&explosion, P::Explosion},
        {&sky, P::Sky},
        {&machineGun, P::WeaponMg},
        {&railGun, P::WeaponRail},
        {&red.getExplosion(), P::Explosion}};
    Item items[6];
    const P itemSlots[6] = {P::ItemPower25,  P::ItemPower15, P::ItemAmmoMg,
                            P::ItemAmmoRail, P::ItemAmor50,  P::ItemAmor100};  // codes 133 on
    for (int i = 0; i < 6; ++i) {
        failed += ModelStore::copyFromPrototype(items[i], ITEM_POWER25 + i);
        copies.push_back({&items[i], itemSlots[i]});
    }
    ASSERT_EQ(failed, 0);
    for (const auto& [copy, slot] : copies) {
        const SceneObject* prototype = ModelStore::prototype(slot);
        ASSERT_NE(prototype, nullptr);
        EXPECT_FALSE(copy->models[0]->objects.empty());
        for (int level = 0; level < 3; ++level)
            EXPECT_EQ(copy->models[level], prototype->models[level]) << int(slot);
        EXPECT_TRUE(std::equal(copy->textures, copy->textures + SceneObject::kTextureSlots,
                               prototype->textures));
    }
    EXPECT_EQ(opens.take(), std::vector<std::string>{});
}

}  // namespace
