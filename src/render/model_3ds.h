#pragma once

#include <cstdint>
#include <vector>

// A 3DS model as the game keeps it: triangle-mesh objects and their materials, in the
// game's model space (Y up; the file's Z-up points are turned on reading).

struct Vec3f {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct Vec2f {
    float u = 0.0f;
    float v = 0.0f;
};

struct Material3ds {
    static constexpr int kNameSize = 255;  // 254 characters and a NUL
    char name[kNameSize] = {};
    char textureFile[kNameSize] = {};      // empty without a texture map
    std::uint8_t color[4] = {0, 0, 0, 0};  // R, G, B, A
    std::int32_t textureIndex = 0;         // slot in the owner's texture table
};

// Lit states of a face for the shadow volume.
struct FaceLit {
    static constexpr std::int32_t Facing = 0;
    static constexpr std::int32_t Away = 1;
    static constexpr std::int32_t Unclassified = 3;
};

// Neighbour values besides a face index.
struct FaceNeighbour {
    static constexpr std::int32_t NotSearched = -1;
    static constexpr std::int32_t None = -2;
};

struct Face3ds {
    std::int32_t vertex[3] = {0, 0, 0};  // into the object's vertices and texture coordinates
    std::int32_t lit = FaceLit::Unclassified;
    double plane[4] = {0.0, 0.0, 0.0, 0.0};  // a, b, c, d
    std::int32_t neighbour[3] = {FaceNeighbour::NotSearched, FaceNeighbour::NotSearched,
                                 FaceNeighbour::NotSearched};
};

struct MeshObject3ds {
    static constexpr int kNameSize = 255;
    std::int32_t vertexCount = 0;
    std::int32_t faceCount = 0;
    std::int32_t texCoordCount = 0;
    // Element 0: the material of colour and base texture; element 1: the detail texture
    // of a multitextured object. -1 means no material.
    std::vector<std::int32_t> materials;
    bool multitextured = false;
    bool textured = false;
    char name[kNameSize] = {};
    std::vector<Vec3f> vertices;
    std::vector<Vec3f> normals;
    std::vector<Vec2f> texCoords;
    std::vector<float> fogCoords;  // per vertex; filled by the terrain only
    std::vector<Face3ds> faces;

    // Per-corner copies for drawing without indices: corner k of face f at 3f + k.
    std::vector<float> flatVertices;       // 3 floats a corner
    std::vector<float> flatNormals;        // 3 floats a corner
    std::vector<float> flatTexCoords;      // 2 floats a corner, textured objects only
    std::vector<float> flatFogCoords;      // 1 float a corner, with fog coordinates only
    std::vector<std::uint8_t> flatColors;  // R, G, B, A a corner, coloured objects only
    unsigned int displayList = 0;
    // Buffer objects: vertices, texture coordinates, normals, fog coordinates, colours.
    unsigned int buffers[5] = {0, 0, 0, 0, 0};
    float lightPosition[4] = {0.0f, 0.0f, 0.0f, 1.0f};  // in the object's own space

    // The material of colour and base texture, or -1.
    std::int32_t firstMaterial() const { return materials.empty() ? -1 : materials[0]; }
    // The detail texture's material of a multitextured object, or -1.
    std::int32_t secondMaterial() const { return materials.size() < 2 ? -1 : materials[1]; }
};

struct Model3ds {
    std::int32_t objectCount = 0;
    std::int32_t materialCount = 0;
    std::vector<Material3ds> materials;
    std::vector<MeshObject3ds> objects;
};
