#include "render/loader_3ds.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "support/captured_errors.h"
#include "support/temp_dir.h"

namespace {

// 3DS chunks: a chunk is its identifier, its length (header included) and its bytes.
using Bytes = std::vector<std::uint8_t>;

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A little-endian integer of `size` bytes, and a float's bits.
Bytes le(std::uint32_t v, int size = 4) {
    Bytes out;
    for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return out;
}
Bytes f32(float f) {
    return le(std::bit_cast<std::uint32_t>(f));
}

Bytes chunk(std::uint16_t id, const Bytes& body) {
    return cat({le(id, 2), le(static_cast<std::uint32_t>(body.size() + 6)), body});
}

Bytes text(const std::string& s) {
    return cat({Bytes(s.begin(), s.end()), Bytes{0}});
}

// A counted list of points: vertices (0x4110) or texture coordinates (0x4140).
Bytes points(std::initializer_list<std::initializer_list<float>> list, std::uint16_t id = 0x4110) {
    Bytes body = le(static_cast<std::uint32_t>(list.size()), 2);
    for (const auto& p : list)
        for (float f : p) body = cat({body, f32(f)});
    return chunk(id, body);
}

// A face list with optional sub-chunks (material groups) after the faces.
Bytes faces(std::initializer_list<std::initializer_list<int>> tris, const Bytes& tail = {}) {
    Bytes body = le(static_cast<std::uint32_t>(tris.size()), 2);
    for (const auto& t : tris) {
        for (int i : t) body = cat({body, le(static_cast<std::uint32_t>(i), 2)});
        body = cat({body, le(0, 2)});
    }
    return chunk(0x4120, cat({body, tail}));
}

// No faces listed: the group applies to the whole object anyway.
Bytes materialGroup(const std::string& name) {
    return chunk(0x4130, cat({text(name), Bytes{0, 0}}));
}

Bytes object(const std::string& name, const Bytes& meshParts) {
    return chunk(0x4000, cat({text(name), chunk(0x4100, meshParts)}));
}

Bytes material(const std::string& name, std::uint8_t r, std::uint8_t g, std::uint8_t b,
               const std::string& textureFile = "") {
    Bytes parts = cat({chunk(0xA000, text(name)), chunk(0xA020, chunk(0x0011, Bytes{r, g, b}))});
    if (!textureFile.empty()) parts = cat({parts, chunk(0xA200, chunk(0xA300, text(textureFile)))});
    return chunk(0xAFFF, parts);
}

// A whole file: main chunk with the version and an editor chunk holding `editorParts`,
// then `tail`.
Bytes file(const Bytes& editorParts, std::uint32_t version = 3, const Bytes& tail = {}) {
    return chunk(0x4D4D, cat({chunk(0x0002, le(version)),
                              chunk(0x3D3D, cat({chunk(0x3D3E, le(3)), editorParts})), tail}));
}

// One triangle object named "tri"; `groups` follow its face.
Bytes triangle(const Bytes& groups = {}) {
    return object("tri",
                  cat({points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), faces({{0, 1, 2}}, groups)}));
}

class Reader3dsTest : public ::testing::Test {
  protected:
    bool read(const Bytes& bytes) {
        model = Model3ds{};
        return Loader3ds().importBytes(model, bytes.data(), bytes.size(), "test.3ds");
    }

    Model3ds model;
    testing_support::CapturedErrors errors;
};

// A version above 3 only warns.
TEST_F(Reader3dsTest, FileVertexTurnsFromZUpToYUpAndFacesGetFreshShadowState) {
    ASSERT_TRUE(read(file(cat({object("o", points({{1, 2, 3}})), triangle()}), 4)));
    EXPECT_EQ(errors.texts(), std::vector<std::string>{
                                  "This 3DS file is over version 3 so it may load incorrectly"});
    ASSERT_EQ(model.objectCount, 2);
    const Vec3f v = model.objects[0].vertices[0];
    EXPECT_EQ(std::vector<float>({v.x, v.y, v.z}), std::vector<float>({1.0f, 3.0f, -2.0f}));
    const Face3ds& face = model.objects[1].faces.at(0);
    EXPECT_EQ(std::vector<int>({face.vertex[1], face.lit, face.neighbour[2]}),
              std::vector<int>({1, 3, -1}));
}

TEST_F(Reader3dsTest, MaterialGroupsGiveTheObjectsMaterialList) {
    const Bytes materials = cat({material("red", 255, 0, 0), material("blue", 0, 0, 255)});
    // A later group goes to the front.
    ASSERT_TRUE(
        read(file(cat({materials, triangle(cat({materialGroup("red"), materialGroup("blue")}))}))));
    EXPECT_EQ(model.objects[0].materials, (std::vector<std::int32_t>{1, 0, -1}));
    // An unknown name adds only "no material". Every group adds an entry for each
    // material before its own; the list keeps its first entries, all that is used.
    Bytes groups;
    for (int i = 0; i < 40; ++i) groups = cat({groups, materialGroup("green")});
    ASSERT_TRUE(read(file(cat({materials, triangle(cat({groups, materialGroup("blue")}))}))));
    EXPECT_EQ(model.objects[0].materials.size(), Loader3ds::kMaxMaterialList);
    EXPECT_EQ(model.objects[0].firstMaterial(), 1);
}

// Unknown chunks and keyframer data are skipped; float colours converted.
TEST_F(Reader3dsTest, TexturedMaterialTurnsWhiteLongNamesAreCutOtherChunksSkipped) {
    const std::string longName(400, 'n');
    const Bytes floats = cat({f32(1.0f), f32(0.5f), f32(7.0f)});
    ASSERT_TRUE(read(file(
        cat({chunk(0x0100, le(1)), material("skin", 10, 20, 30, "skin.tga"),
             chunk(0xAFFF,
                   cat({chunk(0xA000, text(longName)), chunk(0xA020, chunk(0x0010, floats))})),
             object(longName,
                    cat({chunk(0x4160, Bytes(48, 1)), points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                         faces({{0, 1, 2}}, materialGroup("skin")),
                         points({{0, 0}, {1, 0}, {0, 1}}, 0x4140)}))}),
        3,
        cat({chunk(0x1234, Bytes(40, 7)),
             chunk(0xB000, cat({chunk(0xB00A, Bytes(20, 0)), chunk(0x4000, Bytes(8, 9))}))}))));
    ASSERT_EQ(model.objectCount, 1);
    const MeshObject3ds& o = model.objects[0];
    EXPECT_EQ(
        std::tuple(o.faceCount, o.textured, o.texCoords[2].v, std::string(o.name),
                   std::string(model.materials[1].name),
                   std::string(model.materials[0].textureFile)),
        std::tuple(1, true, 1.0f, longName.substr(0, 254), longName.substr(0, 254), "skin.tga"));
    const auto colour = [&](int m) {
        return std::vector<int>(model.materials[m].color, model.materials[m].color + 4);
    };
    EXPECT_EQ(colour(0), std::vector<int>(4, 255));
    EXPECT_EQ(colour(1), (std::vector<int>{255, 128, 255, 255}));
}

// Overwrites the 32-bit length of the chunk whose header starts at `at`.
Bytes withLength(Bytes bytes, std::size_t at, std::uint32_t length) {
    for (int i = 0; i < 4; ++i) bytes[at + 2 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    return bytes;
}

TEST_F(Reader3dsTest, BrokenFilesStopWithAMessageAndAnEmptyModel) {
    testing_support::TempDir dir;
    EXPECT_FALSE(import3ds(model, dir.file("none.3ds").c_str()));
    EXPECT_EQ(errors.texts(),
              std::vector<std::string>{"Unable to find the file: " + dir.file("none.3ds") + "!"});

    const Bytes good = file(triangle());
    // 1000 vertices announced, one given.
    const Bytes countTooLarge = cat({le(1000, 2), f32(1), f32(1), f32(1)});
    Bytes manyMaterials, manyObjects, deep = triangle();
    for (int i = 0; i <= Loader3ds::kMaxMaterials; ++i) {
        manyMaterials = cat({manyMaterials, chunk(0xAFFF, {})});
        manyObjects = cat({manyObjects, chunk(0x4000, text(""))});
    }
    for (int i = 0; i < 40; ++i) deep = chunk(0x3D3D, cat({chunk(0x3D3E, le(3)), deep}));
    const std::pair<Bytes, const char*> files[] = {
        {withLength(good, 6, 3), "Chunk shorter than its header in file: test.3ds!"},
        {withLength(good, 0, 100000), "Chunk longer than its parent in file: test.3ds!"},
        {chunk(0x4D4D, Bytes{0x02, 0x00, 0x10}), "File ends inside a chunk header: test.3ds!"},
        {Bytes{0x4D, 0x4D, 0x06}, "Unable to load PRIMARY chuck from file: test.3ds!"},
        {chunk(0x3D3D, triangle()), "Unable to load PRIMARY chuck from file: test.3ds!"},
        {file(object("o", chunk(0x4110, countTooLarge))),
         "Count too large for its chunk in file: test.3ds!"},
        {file(object("o", cat({points({{0, 0, 0}, {1, 0, 0}}), faces({{0, 1, 2}})}))),
         "Face index beyond the vertex list in file: test.3ds!"},
        {file(object("o", chunk(0x4130, Bytes{'m'}))),
         "Name does not end inside its chunk in file: test.3ds!"},
        {chunk(0x4D4D, deep), "Chunks nested too deeply in file: test.3ds!"},
        {file(manyMaterials), "Too many materials in file: test.3ds!"},
        {file(manyObjects), "Too many objects in file: test.3ds!"}};
    for (const auto& [bytes, message] : files) {
        testing_support::CapturedErrors said;
        EXPECT_FALSE(read(bytes)) << message;
        EXPECT_EQ(said.texts(), std::vector<std::string>{message});
        EXPECT_TRUE(model.objectCount == 0 && model.objects.empty()) << message;
    }
}

}  // namespace
