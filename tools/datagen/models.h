#pragma once

#include <string>

#include "image.h"
#include "mesh.h"

namespace datagen {

// Weapons in the Voka's model space, sitting on its mount about (-0.158, 0.4, -0.3).
// Machine gun object 2 is the barrel cluster, which spins about the z-parallel axis
// through (-0.158, 0.395, -0.437); the rail gun's muzzle is at (-0.164, 0.496, -0.533).
Model machineGunModel(Detail detail);
Model railGunModel(Detail detail);

// The pick-ups, Y up, standing on y = 0, drawn ten times larger in the world.
enum class ItemKind { Power25, Power15, AmmoMg, AmmoRail, Armor50, Armor100 };
Model itemModel(ItemKind kind, Detail detail);
// File stem under models/items/.
const char* itemFileStem(ItemKind kind);

// The sky sphere, radius 0.6 (6000 world units once the game scales it), seen from inside.
Model skyModel();
Image skyTexture();

}  // namespace datagen
