#include "combat/prototypes.h"

#include "combat/explosion.h"
#include "combat/model_store.h"
#include "combat/voka.h"
#include "combat/weapon.h"
#include "world/sky.h"

void registerPrototypes() {
    ModelStore::setFactory(Prototype::VokaRed, makeRedVokaPrototype);
    ModelStore::setFactory(Prototype::VokaGreen, makeGreenVokaPrototype);
    ModelStore::setFactory(Prototype::Explosion, makeExplosionPrototype);
    ModelStore::setFactory(Prototype::Sky, makeSkyPrototype);
    ModelStore::setFactory(Prototype::WeaponMg, makeMachineGunPrototype);
    ModelStore::setFactory(Prototype::WeaponRail, makeRailGunPrototype);
}
