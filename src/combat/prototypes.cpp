#include "combat/prototypes.h"

#include "combat/explosion.h"
#include "combat/model_store.h"
#include "combat/voka.h"
#include "combat/weapon.h"
#include "net/protocol/game_codes.h"
#include "world/item.h"
#include "world/sky.h"

namespace {

template <std::uint8_t Code>
std::unique_ptr<SceneObject> makeItem() {
    return makeItemPrototype(Code);
}

}  // namespace

void registerPrototypes() {
    ModelStore::setFactory(Prototype::VokaRed, makeRedVokaPrototype);
    ModelStore::setFactory(Prototype::VokaGreen, makeGreenVokaPrototype);
    ModelStore::setFactory(Prototype::Explosion, makeExplosionPrototype);
    ModelStore::setFactory(Prototype::ItemPower25, makeItem<ITEM_POWER25>);
    ModelStore::setFactory(Prototype::ItemPower15, makeItem<ITEM_POWER15>);
    ModelStore::setFactory(Prototype::ItemAmor50, makeItem<ITEM_AMOR_50>);
    ModelStore::setFactory(Prototype::ItemAmor100, makeItem<ITEM_AMOR_100>);
    ModelStore::setFactory(Prototype::ItemAmmoMg, makeItem<ITEM_AMMO_MG>);
    ModelStore::setFactory(Prototype::ItemAmmoRail, makeItem<ITEM_AMMO_RAIL>);
    ModelStore::setFactory(Prototype::Sky, makeSkyPrototype);
    ModelStore::setFactory(Prototype::WeaponMg, makeMachineGunPrototype);
    ModelStore::setFactory(Prototype::WeaponRail, makeRailGunPrototype);
}
