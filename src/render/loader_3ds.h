#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "render/model_3ds.h"

// Reads the subset of the 3D Studio format that the game's models use: materials with
// name, diffuse colour and texture file; named triangle meshes with vertices, faces,
// face material groups and texture coordinates. Everything else is skipped.
//
// The reader trusts nothing in the file: every chunk must fit inside its parent and the
// file, every count inside its chunk, every face index inside the vertex list, every
// name inside its chunk, and nesting stays shallow. A file that breaks one of these
// rules is refused with a message and leaves the model empty.
class Loader3ds {
  public:
    // Files larger than this are refused before reading (the game's largest is ~1 MB).
    static constexpr std::size_t kMaxFileBytes = 64u * 1024u * 1024u;
    static constexpr int kMaxDepth = 16;
    // Far beyond the game's models (a dozen objects, a few materials); they keep the
    // memory a file can ask for in proportion to its size.
    static constexpr int kMaxObjects = 4096;
    static constexpr int kMaxMaterials = 4096;
    // Only the first two entries of an object's material list are ever used; every face
    // material group adds one entry per material, so the list keeps at most this many.
    static constexpr std::size_t kMaxMaterialList = 64;

    // Reads `fileName` into `model`. True on success, with normals computed; false after
    // a message box.
    bool import(Model3ds& model, const char* fileName);

    // The same over bytes already in memory; `fileName` only names the file in messages.
    bool importBytes(Model3ds& model, const std::uint8_t* data, std::size_t size,
                     const char* fileName);
};

// Reads a 3DS file into an empty model; see Loader3ds::import.
bool import3ds(Model3ds& model, const char* fileName);

// Smooth vertex normals: each vertex gets the unit average of the counter-clockwise
// normals of the faces that use it; a vertex of no face gets a zero normal.
void computeNormals(Model3ds& model);
void computeNormals(MeshObject3ds& object);
