#include <vector>

#include "render/reader_fixture.h"

namespace {

using namespace chunks;

// Overwrites the 32-bit length of the chunk whose header starts at `at`.
Bytes withLength(Bytes bytes, std::size_t at, std::uint32_t length) {
    for (int i = 0; i < 4; ++i) bytes[at + 2 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    return bytes;
}

TEST_F(Reader3dsTest, BrokenFilesStopWithAMessageAndAnEmptyModel) {
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
    const std::pair<Bytes, const char*> files[] = {
        {withLength(good, 6, 3), "Chunk shorter than its header in file: test.3ds!"},
        {withLength(good, 0, 100000), "Chunk longer than its parent in file: test.3ds!"},
        {chunk(0x4D4D, Bytes{0x02, 0x00, 0x10}), "File ends inside a chunk header: test.3ds!"},
        {Bytes{0x4D, 0x4D, 0x06}, "Unable to load PRIMARY chuck from file: test.3ds!"},
        {file(object("o", chunk(0x4110, countTooLarge))),
         "Count too large for its chunk in file: test.3ds!"},
        {file(object("o", cat({vertices({{0, 0, 0}, {1, 0, 0}}), faces({{0, 1, 2}})}))),
         "Face index beyond the vertex list in file: test.3ds!"},
        {file(object("o", chunk(0x4130, Bytes{'m'}))),
         "Name does not end inside its chunk in file: test.3ds!"},
        {chunk(0x4D4D, deep), "Chunks nested too deeply in file: test.3ds!"},
        {file(manyMaterials), "Too many materials in file: test.3ds!"},
        {file(manyObjects), "Too many objects in file: test.3ds!"},
    };
    for (const auto& [bytes, message] : files) {
        const std::size_t before = errors.texts().size();
        EXPECT_FALSE(read(bytes)) << message;
        EXPECT_EQ(errors.texts().size(), before + 1) << message;
        EXPECT_EQ(lastMessage(), message);
        EXPECT_TRUE(model.objectCount == 0 && model.objects.empty()) << message;
    }
}

}  // namespace
