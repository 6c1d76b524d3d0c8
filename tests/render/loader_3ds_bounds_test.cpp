// The reader against broken and hostile files: it must stop with a message and leave the
// model empty.
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
        {"HeaderCutByParent", chunk(0x4D4D, Bytes{0x02, 0x00, 0x10}),
         "File ends inside a chunk header: test.3ds!"},
        {"TooShortForHeader", Bytes{0x4D, 0x4D, 0x06},
         "Unable to load PRIMARY chuck from file: test.3ds!"},
        {"CountTooLarge", file(object("o", chunk(0x4110, countTooLarge))),
         "Count too large for its chunk in file: test.3ds!"},
        {"CountMissing", file(object("o", chunk(0x4120, Bytes{1}))),
         "Count too large for its chunk in file: test.3ds!"},
        {"FaceBeyondVertices",
         file(object("o", cat({vertices({{0, 0, 0}, {1, 0, 0}}), faces({{0, 1, 2}})}))),
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

}  // namespace
