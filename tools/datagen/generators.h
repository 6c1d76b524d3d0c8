#pragma once

#include "output.h"

namespace datagen {

// Each writes one family of the game's files into the game directory.
void writeTextFiles(Output& out);     // story.txt, zrv.cfg
void writeSounds(Output& out);        // sound/**.wav, sound/misc/brumm.mp3
void writeScreenImages(Output& out);  // menu, configuration tabs, background, portraits
void writeEffectImages(Output& out);  // explosions, circle, bullets, crosshair, icons, flare
void writeLevels(Output& out);        // level.xml, heightmaps, terrain textures
void writeVokaModels(Output& out);    // models/voka*.3ds and their textures
void writeWeaponModels(Output& out);  // models/weapon_*.3ds
void writeItemModels(Output& out);    // models/items/*.3ds
void writeSkyModel(Output& out);      // models/sky.3DS and its texture

}  // namespace datagen
