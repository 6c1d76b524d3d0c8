#pragma once

#include "image_files.h"
#include "mesh.h"

namespace datagen {

// Writes the 3DS subset that the game reads: main chunk, version 3, editor data with its
// mesh version, materials (name, 24-bit diffuse colour, texture map file name) and named
// triangle meshes (vertices, faces with one material group, texture coordinates).
// Model-space points (Y up) are stored as 3DS's Z-up (x, -z, y), which the game's reader
// turns back into (x, y, z).
Bytes encode3ds(const Model& model);

}  // namespace datagen
