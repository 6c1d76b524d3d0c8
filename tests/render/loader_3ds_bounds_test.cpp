// The reader against broken and hostile files: it must stop with a message, leave the
// model empty, and never read past the file or a chunk.
#include <random>
#include <vector>

#include "render/reader_fixture.h"

namespace {

using namespace chunks;

// Overwrites the 32-bit length of the chunk whose header starts at `at`.
Bytes withLength(Bytes bytes, std::size_t at, std::uint32_t length) {
    for (int i = 0; i < 4; ++i) bytes[at + 2 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    return bytes;
}

struct Broken {
    const char* name;
    Bytes bytes;
    const char* message;
};

class Reader3dsBoundsTest : public Reader3dsTest, public ::testing::WithParamInterface<int> {};

std::vector<Broken> brokenFiles() {
    const Bytes good = file(triangle());
    Bytes countTooLarge;
    put16(countTooLarge, 1000);  // 1000 vertices announced, one given
    for (int i = 0; i < 3; ++i) putFloat(countTooLarge, 1.0f);
    Bytes manyMaterials;
    Bytes manyObjects;
    for (int i = 0; i <= Loader3ds::kMaxMaterials; ++i) {
        manyMaterials = cat({manyMaterials, chunk(0xAFFF, {})});
        manyObjects = cat({manyObjects, chunk(0x4000, text(""))});
    }
    Bytes deep = triangle();
    for (int i = 0; i < 40; ++i) deep = chunk(0x3D3D, cat({chunk(0x3D3E, u32(3)), deep}));
    return {
        {"ShorterThanHeader", withLength(good, 6, 3),
         "Chunk shorter than its header in file: test.3ds!"},
        {"LongerThanFile", withLength(good, 0, 100000),
         "Chunk longer than its parent in file: test.3ds!"},
        {"LongerThanParent", withLength(good, 6, 200),
         "Chunk longer than its parent in file: test.3ds!"},
        {"TruncatedFile", Bytes(good.begin(), good.end() - 5),
         "Chunk longer than its parent in file: test.3ds!"},
        {"HeaderCutByParent", chunk(0x4D4D, Bytes{0x02, 0x00, 0x10}),
         "File ends inside a chunk header: test.3ds!"},
        {"Empty", Bytes{}, "Unable to load PRIMARY chuck from file: test.3ds!"},
        {"TooShortForHeader", Bytes{0x4D, 0x4D, 0x06},
         "Unable to load PRIMARY chuck from file: test.3ds!"},
        {"CountTooLarge", file(object("o", chunk(0x4110, countTooLarge))),
         "Count too large for its chunk in file: test.3ds!"},
        {"CountMissing", file(object("o", chunk(0x4120, Bytes{1}))),
         "Count too large for its chunk in file: test.3ds!"},
        {"FaceBeyondVertices",
         file(object("o", cat({vertices({{0, 0, 0}, {1, 0, 0}}), faces({{0, 1, 2}})}))),
         "Face index beyond the vertex list in file: test.3ds!"},
        {"FacesWithoutVertices", file(object("o", faces({{0, 0, 0}}))),
         "Face index beyond the vertex list in file: test.3ds!"},
        {"UnterminatedObjectName", file(chunk(0x4000, Bytes{'a', 'b', 'c'})),
         "Name does not end inside its chunk in file: test.3ds!"},
        {"UnterminatedGroupName", file(object("o", chunk(0x4130, Bytes{'m'}))),
         "Name does not end inside its chunk in file: test.3ds!"},
        {"NestedTooDeeply", chunk(0x4D4D, deep), "Chunks nested too deeply in file: test.3ds!"},
        {"TooManyMaterials", file(manyMaterials), "Too many materials in file: test.3ds!"},
        {"TooManyObjects", file(manyObjects), "Too many objects in file: test.3ds!"},
    };
}

TEST_P(Reader3dsBoundsTest, StopsWithAMessageAndAnEmptyModel) {
    const Broken broken = brokenFiles()[GetParam()];
    EXPECT_FALSE(read(broken.bytes)) << broken.name;
    EXPECT_EQ(lastMessage(), broken.message) << broken.name;
    EXPECT_EQ(errors.texts().size(), 1u) << broken.name;
    EXPECT_TRUE(model.objectCount == 0 && model.objects.empty()) << broken.name;
}

INSTANTIATE_TEST_SUITE_P(Files, Reader3dsBoundsTest,
                         ::testing::Range(0, static_cast<int>(brokenFiles().size())),
                         [](const ::testing::TestParamInfo<int>& param) {
                             return std::string(brokenFiles()[param.param].name);
                         });

// Random bytes and mutations of a real-looking file. Under the sanitizer build any read
// past the buffer aborts the test; a loop that never ends would time out.
TEST_F(Reader3dsTest, MutatedFilesNeverCrashOrHang) {
    const Bytes seed =
        file(cat({material("skin", 10, 20, 30, "skin.tga"), material("b", 1, 2, 3),
                  object("a", cat({vertices({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}),
                                   faces({{0, 1, 2}, {0, 2, 3}}, materialGroup("skin")),
                                   texCoords({{0, 0}, {1, 0}, {1, 1}, {0, 1}})})),
                  triangle()}));
    std::mt19937 rng(3);
    int loaded = 0;
    for (int round = 0; round < 20000; ++round) {
        Bytes bytes = seed;
        const int edits = 1 + static_cast<int>(rng() % 6);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = rng() % bytes.size();
            switch (rng() % 4) {
                case 0:
                    bytes[at] = static_cast<std::uint8_t>(rng());
                    break;
                case 1:
                    bytes[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
                    break;
                case 2:
                    bytes.resize(std::max<std::size_t>(1, at));
                    break;
                default:
                    bytes.insert(bytes.begin() + static_cast<long>(at), rng() % 16, 0xFF);
                    break;
            }
        }
        if (read(bytes)) {
            ++loaded;
            for (const MeshObject3ds& o : model.objects) {
                EXPECT_EQ(o.normals.size(), o.vertices.size());
                for (const Face3ds& f : o.faces)
                    for (int v : f.vertex) EXPECT_LT(v, o.vertexCount);
            }
        }
    }
    EXPECT_GT(loaded, 0);  // some mutations leave a readable file
    for (int round = 0; round < 2000; ++round) {
        Bytes bytes(rng() % 512);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
        if (bytes.size() >= 2 && rng() % 2) bytes[0] = 0x4D, bytes[1] = 0x4D;
        read(bytes);
    }
}

}  // namespace
