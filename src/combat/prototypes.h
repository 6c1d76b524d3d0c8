#pragma once

// Registers with the model store how each prototype of the match is built: the
// explosion, the two Vokas, the six items, the sky and the two weapons. Call once before
// ModelStore::loadPrototypes.
void registerPrototypes();
