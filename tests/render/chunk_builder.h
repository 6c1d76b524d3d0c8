#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

// Builds 3DS chunks for the reader's tests: a chunk is its identifier, its length
// (header included) and its bytes.
namespace chunks {

using Bytes = std::vector<std::uint8_t>;

// Little-endian integers of `size` bytes.
inline void put(Bytes& out, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline void put16(Bytes& out, std::uint16_t v) {
    put(out, v, 2);
}

inline void putFloat(Bytes& out, float f) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof f);
    put(out, bits, 4);
}

inline Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

inline Bytes chunk(std::uint16_t id, const Bytes& body) {
    Bytes out;
    put(out, id, 2);
    put(out, static_cast<std::uint32_t>(body.size() + 6), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

inline Bytes text(const std::string& s) {
    Bytes out(s.begin(), s.end());
    out.push_back(0);
    return out;
}

inline Bytes u32(std::uint32_t v) {
    Bytes out;
    put(out, v, 4);
    return out;
}

// A counted list of points (vertices, 0x4110) or texture coordinates (0x4140).
inline Bytes points(std::uint16_t id, std::initializer_list<std::initializer_list<float>> list) {
    Bytes body;
    put16(body, static_cast<std::uint16_t>(list.size()));
    for (const auto& p : list)
        for (float f : p) putFloat(body, f);
    return chunk(id, body);
}

inline Bytes vertices(std::initializer_list<std::initializer_list<float>> list) {
    return points(0x4110, list);
}

// A face list with optional sub-chunks (material groups) after the faces.
inline Bytes faces(std::initializer_list<std::initializer_list<int>> tris, const Bytes& tail = {}) {
    Bytes body;
    put16(body, static_cast<std::uint16_t>(tris.size()));
    for (const auto& t : tris) {
        for (int i : t) put16(body, static_cast<std::uint16_t>(i));
        put16(body, 0);
    }
    body.insert(body.end(), tail.begin(), tail.end());
    return chunk(0x4120, body);
}

inline Bytes materialGroup(const std::string& name) {
    Bytes body = text(name);
    put16(body, 0);  // no faces listed: the group applies to the whole object anyway
    return chunk(0x4130, body);
}

inline Bytes texCoords(std::initializer_list<std::initializer_list<float>> uvs) {
    return points(0x4140, uvs);
}

inline Bytes object(const std::string& name, const Bytes& meshParts) {
    return chunk(0x4000, cat({text(name), chunk(0x4100, meshParts)}));
}

inline Bytes material(const std::string& name, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                      const std::string& textureFile = "") {
    Bytes parts = cat({chunk(0xA000, text(name)), chunk(0xA020, chunk(0x0011, Bytes{r, g, b}))});
    if (!textureFile.empty()) parts = cat({parts, chunk(0xA200, chunk(0xA300, text(textureFile)))});
    return chunk(0xAFFF, parts);
}

// A whole file: main chunk with version 3 and an editor chunk holding `editorParts`.
inline Bytes file(const Bytes& editorParts, std::uint32_t version = 3) {
    return chunk(0x4D4D, cat({chunk(0x0002, u32(version)),
                              chunk(0x3D3D, cat({chunk(0x3D3E, u32(3)), editorParts}))}));
}

// One triangle object named "tri"; `groups` follow its face, `extra` its face list.
inline Bytes triangle(const Bytes& groups = {}, const Bytes& extra = {}) {
    return object("tri", cat({vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                              faces({{0, 1, 2}}, groups), extra}));
}

}  // namespace chunks
