#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "render/loader_3ds.h"
#include "support/captured_errors.h"

// Builds 3DS chunks for the reader's tests: a chunk is its identifier, its length
// (header included) and its bytes.
namespace chunks {

using Bytes = std::vector<std::uint8_t>;

inline Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A little-endian integer of `size` bytes, and a float's bits.
inline Bytes le(std::uint32_t v, int size = 4) {
    Bytes out;
    for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return out;
}
inline Bytes f32(float f) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof f);
    return le(bits);
}

inline Bytes chunk(std::uint16_t id, const Bytes& body) {
    return cat({le(id, 2), le(static_cast<std::uint32_t>(body.size() + 6)), body});
}

inline Bytes text(const std::string& s) {
    return cat({Bytes(s.begin(), s.end()), Bytes{0}});
}

// A counted list of points: vertices (0x4110) or texture coordinates (0x4140).
inline Bytes points(std::initializer_list<std::initializer_list<float>> list,
                    std::uint16_t id = 0x4110) {
    Bytes body = le(static_cast<std::uint32_t>(list.size()), 2);
    for (const auto& p : list)
        for (float f : p) body = cat({body, f32(f)});
    return chunk(id, body);
}

// A face list with optional sub-chunks (material groups) after the faces.
inline Bytes faces(std::initializer_list<std::initializer_list<int>> tris, const Bytes& tail = {}) {
    Bytes body = le(static_cast<std::uint32_t>(tris.size()), 2);
    for (const auto& t : tris) {
        for (int i : t) body = cat({body, le(static_cast<std::uint32_t>(i), 2)});
        body = cat({body, le(0, 2)});
    }
    return chunk(0x4120, cat({body, tail}));
}

// No faces listed: the group applies to the whole object anyway.
inline Bytes materialGroup(const std::string& name) {
    return chunk(0x4130, cat({text(name), Bytes{0, 0}}));
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
    return chunk(0x4D4D, cat({chunk(0x0002, le(version)),
                              chunk(0x3D3D, cat({chunk(0x3D3E, le(3)), editorParts}))}));
}

// One triangle object named "tri"; `groups` follow its face, `extra` its face list.
inline Bytes triangle(const Bytes& groups = {}, const Bytes& extra = {}) {
    return object(
        "tri", cat({points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), faces({{0, 1, 2}}, groups), extra}));
}

}  // namespace chunks

class Reader3dsTest : public ::testing::Test {
  protected:
    bool read(const chunks::Bytes& bytes) {
        model = Model3ds{};
        return Loader3ds().importBytes(model, bytes.data(), bytes.size(), "test.3ds");
    }

    Model3ds model;
    testing_support::CapturedErrors errors;
};
