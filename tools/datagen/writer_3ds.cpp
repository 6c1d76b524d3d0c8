#include "writer_3ds.h"

#include <cstring>
#include <stdexcept>

namespace datagen {
namespace {

constexpr uint16_t kMain = 0x4D4D;
constexpr uint16_t kVersion = 0x0002;
constexpr uint16_t kEditor = 0x3D3D;
constexpr uint16_t kMeshVersion = 0x3D3E;
constexpr uint16_t kMaterial = 0xAFFF;
constexpr uint16_t kMaterialName = 0xA000;
constexpr uint16_t kDiffuse = 0xA020;
constexpr uint16_t kColour24 = 0x0011;
constexpr uint16_t kTextureMap = 0xA200;
constexpr uint16_t kTextureFile = 0xA300;
constexpr uint16_t kObject = 0x4000;
constexpr uint16_t kTriangleMesh = 0x4100;
constexpr uint16_t kVertices = 0x4110;
constexpr uint16_t kFaces = 0x4120;
constexpr uint16_t kFaceMaterial = 0x4130;
constexpr uint16_t kTexCoords = 0x4140;

// A chunk is a 6-byte header (identifier, length including the header) and its body.
Bytes chunk(uint16_t id, const Bytes& body) {
    Bytes out;
    putU16(out, id);
    putU32(out, static_cast<uint32_t>(body.size() + 6));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

void append(Bytes& out, const Bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}

void putString(Bytes& out, const std::string& s) {
    out.insert(out.end(), s.begin(), s.end());
    out.push_back(0);
}

void putFloat(Bytes& out, float f) {
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    putU32(out, bits);
}

Bytes materialChunk(const Material& m) {
    Bytes body;
    Bytes name;
    putString(name, m.name);
    append(body, chunk(kMaterialName, name));
    append(body, chunk(kDiffuse, chunk(kColour24, Bytes{m.red, m.green, m.blue})));
    if (!m.texture.empty()) {
        Bytes file;
        putString(file, m.texture);
        append(body, chunk(kTextureMap, chunk(kTextureFile, file)));
    }
    return chunk(kMaterial, body);
}

Bytes objectChunk(const MeshObject& o, const Material& material) {
    if (o.positions.size() > 0xFFFF || o.faces.size() > 0xFFFF) {
        throw std::runtime_error("mesh object " + o.name + " is too large for a 3DS file");
    }
    Bytes vertices;
    putU16(vertices, static_cast<uint32_t>(o.positions.size()));
    for (const Vec3& p : o.positions) {
        putFloat(vertices, p.x);
        putFloat(vertices, -p.z);
        putFloat(vertices, p.y);
    }
    Bytes texCoords;
    putU16(texCoords, static_cast<uint32_t>(o.uvs.size()));
    for (const Vec2& uv : o.uvs) {
        putFloat(texCoords, uv.x);
        putFloat(texCoords, uv.y);
    }
    // The material group names every face; it sits inside the face list as in every 3DS file.
    Bytes group;
    putString(group, material.name);
    putU16(group, static_cast<uint32_t>(o.faces.size()));
    for (size_t i = 0; i < o.faces.size(); ++i) putU16(group, static_cast<uint32_t>(i));
    Bytes faces;
    putU16(faces, static_cast<uint32_t>(o.faces.size()));
    for (const auto& f : o.faces) {
        putU16(faces, static_cast<uint32_t>(f[0]));
        putU16(faces, static_cast<uint32_t>(f[1]));
        putU16(faces, static_cast<uint32_t>(f[2]));
        putU16(faces, 7);  // all three edges visible
    }
    append(faces, chunk(kFaceMaterial, group));
    Bytes mesh;
    append(mesh, chunk(kVertices, vertices));
    append(mesh, chunk(kTexCoords, texCoords));
    append(mesh, chunk(kFaces, faces));
    Bytes body;
    putString(body, o.name);
    append(body, chunk(kTriangleMesh, mesh));
    return chunk(kObject, body);
}

}  // namespace

Bytes encode3ds(const Model& model) {
    Bytes version;
    putU32(version, 3);
    Bytes editor = chunk(kMeshVersion, version);
    for (const Material& m : model.materials) append(editor, materialChunk(m));
    for (const MeshObject& o : model.objects) {
        append(editor, objectChunk(o, model.materials.at(static_cast<size_t>(o.material))));
    }
    Bytes body = chunk(kVersion, version);
    append(body, chunk(kEditor, editor));
    return chunk(kMain, body);
}

}  // namespace datagen
