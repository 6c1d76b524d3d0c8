#pragma once

// Registers with the model store how each prototype of the match is built: the
// explosion, the six items, the sky and the two weapons (and, where they are built, the
// two Vokas). Call once before ModelStore::loadPrototypes.
void registerPrototypes();
