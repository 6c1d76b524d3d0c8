#include "combat/model_store.h"

#include <array>

#include "combat/explosion.h"
#include "combat/voka.h"
#include "combat/weapon.h"
#include "net/protocol/game_codes.h"
#include "platform/message_box.h"
#include "render/texture.h"
#include "world/item.h"
#include "world/sky.h"

namespace {

constexpr int kSlots = static_cast<int>(Prototype::Count);

// Loading order and the percentage written after each prototype.
struct LoadStep {
    Prototype slot;
    float progress;
};
constexpr LoadStep kLoadOrder[] = {
    {Prototype::Explosion, 9.09f},     {Prototype::VokaRed, 18.18f},
    {Prototype::VokaGreen, 27.27f},    {Prototype::ItemPower25, 36.36f},
    {Prototype::ItemPower15, 45.45f},  {Prototype::ItemAmor50, 54.54f},
    {Prototype::ItemAmor100, 63.63f},  {Prototype::ItemAmmoMg, 72.72f},
    {Prototype::ItemAmmoRail, 81.81f}, {Prototype::Sky, 90.09f},
    {Prototype::WeaponRail, 95.09f},   {Prototype::WeaponMg, 100.0f},
};

// Upload order: the Vokas, the items in store order, explosion, sky, the two weapons.
constexpr Prototype kUploadOrder[] = {
    Prototype::VokaRed,    Prototype::VokaGreen,   Prototype::ItemPower25, Prototype::ItemPower15,
    Prototype::ItemAmor50, Prototype::ItemAmor100, Prototype::ItemAmmoMg,  Prototype::ItemAmmoRail,
    Prototype::Explosion,  Prototype::Sky,         Prototype::WeaponMg,    Prototype::WeaponRail,
};

// The prototype slot of each item type code, from ITEM_POWER25 on.
constexpr Prototype kItemSlots[] = {Prototype::ItemPower25, Prototype::ItemPower15,
                                    Prototype::ItemAmmoMg,  Prototype::ItemAmmoRail,
                                    Prototype::ItemAmor50,  Prototype::ItemAmor100};

struct Store {
    std::array<ModelStore::Factory, kSlots> factories{};
    std::array<std::unique_ptr<SceneObject>, kSlots> prototypes;
};

Store& store() {
    static Store instance;
    return instance;
}

Prototype vokaSlot(std::int32_t typeCode) {
    return typeCode == TYPE_VOKA_RED ? Prototype::VokaRed : Prototype::VokaGreen;
}

int index(Prototype slot) {
    return static_cast<int>(slot);
}

// Copies the whole prototype of a slot into `target` when the slot holds an object of
// the target's class.
template <class T>
bool copyWhole(T& target, Prototype slot) {
    const auto* source = dynamic_cast<const T*>(ModelStore::prototype(slot));
    if (source == nullptr) return false;
    target = *source;
    return true;
}

}  // namespace

void ModelStore::setFactory(Prototype slot, Factory factory) {
    store().factories[index(slot)] = factory;
}

int ModelStore::loadPrototypes(std::atomic<float>& progress) {
    Store& s = store();
    for (const LoadStep& step : kLoadOrder) {
        if (Factory factory = s.factories[index(step.slot)])
            s.prototypes[index(step.slot)] = factory();
        progress.store(step.progress);
    }
    return 0;
}

void ModelStore::uploadPrototypes() {
    for (Prototype slot : kUploadOrder) {
        if (auto& prototype = store().prototypes[index(slot)]) prototype->initGL();
    }
}

int ModelStore::loadSharedTextures(const char* terrainTextureFile) {
    unsigned int* table = SharedTextures::table();
    if (loadTexture(table, kCircleTextureFile, kCircleTexture) != 0) {
        showError("could not load kreis texture");
        return -1;
    }
    if (terrainTextureFile == nullptr ||
        loadTexture(table, terrainTextureFile, kTerrainTexture) != 0) {
        showError("could not load terrain texture");
        return -1;
    }
    return 0;
}

unsigned int ModelStore::sharedTexture(int slot) {
    return SharedTextures::get(slot);
}

const SceneObject* ModelStore::prototype(Prototype slot) {
    if (index(slot) < 0 || index(slot) >= kSlots) return nullptr;
    return store().prototypes[index(slot)].get();
}

bool ModelStore::copyBase(SceneObject& target, Prototype slot) {
    const SceneObject* source = prototype(slot);
    if (source == nullptr) return false;
    target.body = source->body;
    for (int level = 0; level < 3; ++level) target.models[level] = source->models[level];
    for (int i = 0; i < SceneObject::kTextureSlots; ++i) target.textures[i] = source->textures[i];
    target.id = source->id;
    target.type = source->type;
    return true;
}

int ModelStore::copyExplosion(Explosion& target) {
    return copyWhole(target, Prototype::Explosion) ? 0 : -1;
}

int ModelStore::copySky(Sky& target) {
    copyWhole(target, Prototype::Sky);
    return 0;
}

int ModelStore::copyWeaponMg(Weapon& target) {
    copyWhole(target, Prototype::WeaponMg);
    return 0;
}

int ModelStore::copyWeaponRail(Weapon& target) {
    copyWhole(target, Prototype::WeaponRail);
    return 0;
}

int ModelStore::copyVoka(Voka& target, std::int32_t typeCode) {
    if (!isVokaType(typeCode)) return -1;
    if (!copyWhole(target, vokaSlot(typeCode))) return -1;
    target.createExplosion();
    target.createWeapons();
    return 0;
}

int ModelStore::copyFromPrototype(Item& item, std::int32_t typeCode) {
    if (!isItemType(typeCode)) return -1;
    return copyWhole(item, kItemSlots[typeCode - ITEM_POWER25]) ? 0 : -1;
}

bool ModelStore::canCopy(std::int32_t typeCode) {
    if (isBulletType(typeCode)) return true;
    if (isVokaType(typeCode)) {
        return dynamic_cast<const Voka*>(prototype(vokaSlot(typeCode))) != nullptr;
    }
    if (isItemType(typeCode))
        return dynamic_cast<const Item*>(prototype(kItemSlots[typeCode - ITEM_POWER25])) != nullptr;
    return false;
}

void ModelStore::reset() {
    Store& s = store();
    for (auto& prototype : s.prototypes) prototype.reset();
    s.factories.fill(nullptr);
    SharedTextures::clear();
}
