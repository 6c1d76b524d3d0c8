#include <vector>

#include "render/reader_fixture.h"
#include "support/temp_dir.h"

namespace {

using namespace chunks;

TEST_F(Reader3dsTest, FileVertexTurnsFromZUpToYUpAndFacesGetFreshShadowState) {
    ASSERT_TRUE(read(file(cat({object("o", vertices({{1, 2, 3}})), triangle()}))));
    ASSERT_EQ(model.objectCount, 2);
    const Vec3f v = model.objects[0].vertices[0];
    EXPECT_EQ(std::vector<float>({v.x, v.y, v.z}), std::vector<float>({1.0f, 3.0f, -2.0f}));
    const Face3ds& face = model.objects[1].faces.at(0);
    EXPECT_EQ(face.vertex[1], 1);
    EXPECT_EQ(face.lit, 3);
    EXPECT_EQ(face.neighbour[2], -1);
}

TEST_F(Reader3dsTest, MissingFileAndWrongFirstChunkAreReported) {
    testing_support::TempDir dir;
    EXPECT_FALSE(import3ds(model, dir.file("none.3ds").c_str()));
    EXPECT_EQ(lastMessage(), "Unable to find the file: " + dir.file("none.3ds") + "!");

    // An editor chunk where the main chunk belongs.
    EXPECT_FALSE(read(chunk(0x3D3D, triangle())));
    EXPECT_EQ(lastMessage(), "Unable to load PRIMARY chuck from file: test.3ds!");
    EXPECT_EQ(model.objectCount, 0);
}

TEST_F(Reader3dsTest, VersionAboveThreeWarnsAndStillLoads) {
    ASSERT_TRUE(read(file(triangle(), 4)));
    EXPECT_EQ(errors.texts(), std::vector<std::string>{
                                  "This 3DS file is over version 3 so it may load incorrectly"});
    EXPECT_EQ(model.objectCount, 1);
}

TEST_F(Reader3dsTest, MaterialGroupsGiveTheObjectsMaterialList) {
    const Bytes materials = cat({material("red", 255, 0, 0), material("blue", 0, 0, 255)});
    // A later group goes to the front.
    ASSERT_TRUE(
        read(file(cat({materials, triangle(cat({materialGroup("red"), materialGroup("blue")}))}))));
    EXPECT_EQ(model.objects[0].materials, (std::vector<std::int32_t>{1, 0, -1}));
    // An unknown name leaves only "no material".
    ASSERT_TRUE(read(file(cat({materials, triangle(materialGroup("green"))}))));
    EXPECT_EQ(model.objects[0].materials, (std::vector<std::int32_t>{-1, -1}));
    // Every group adds an entry for each material before its own; the list keeps its
    // first entries, which are all that is used.
    Bytes groups;
    for (int i = 0; i < 40; ++i) groups = cat({groups, materialGroup("green")});
    ASSERT_TRUE(read(file(cat({materials, triangle(cat({groups, materialGroup("blue")}))}))));
    EXPECT_EQ(model.objects[0].materials.size(), Loader3ds::kMaxMaterialList);
    EXPECT_EQ(model.objects[0].firstMaterial(), 1);
}

TEST_F(Reader3dsTest, TexturedMaterialTurnsWhiteAndMarksTheObject) {
    ASSERT_TRUE(
        read(file(cat({material("skin", 10, 20, 30, "skin.tga"),
                       triangle(materialGroup("skin"), texCoords({{0, 0}, {1, 0}, {0, 1}}))}))));
    const Material3ds& m = model.materials[0];
    EXPECT_STREQ(m.textureFile, "skin.tga");
    EXPECT_EQ(std::vector<int>(m.color, m.color + 4), std::vector<int>(4, 255));
    EXPECT_TRUE(model.objects[0].textured);
    EXPECT_FLOAT_EQ(model.objects[0].texCoords[2].v, 1.0f);
}

TEST_F(Reader3dsTest, UnknownChunksAndKeyframerDataAreSkipped) {
    const Bytes noisy = chunk(
        0x4D4D,
        cat({chunk(0x0002, u32(3)), chunk(0x1234, Bytes(40, 7)),
             chunk(0x3D3D, cat({chunk(0x3D3E, u32(3)), chunk(0x0100, u32(1)),
                                object("tri", cat({chunk(0x4160, Bytes(48, 1)),
                                                   vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                                                   faces({{0, 1, 2}})}))})),
             chunk(0xB000, cat({chunk(0xB00A, Bytes(20, 0)), chunk(0x4000, Bytes(8, 9))}))}));
    ASSERT_TRUE(read(noisy));
    ASSERT_EQ(model.objectCount, 1);
    EXPECT_EQ(model.objects[0].faceCount, 1);
}

TEST_F(Reader3dsTest, LongNamesAreCutAndFloatColoursConverted) {
    const std::string longName(400, 'n');
    Bytes floats;
    for (float f : {1.0f, 0.5f, 7.0f}) putFloat(floats, f);
    ASSERT_TRUE(read(file(cat(
        {chunk(0xAFFF, cat({chunk(0xA000, text(longName)), chunk(0xA020, chunk(0x0010, floats))})),
         object(longName, vertices({{0, 0, 0}}))}))));
    EXPECT_EQ(std::string(model.materials[0].name), longName.substr(0, 254));
    EXPECT_EQ(std::string(model.objects[0].name), longName.substr(0, 254));
    const std::uint8_t* c = model.materials[0].color;
    EXPECT_EQ(std::vector<int>(c, c + 4), (std::vector<int>{255, 128, 255, 255}));
}

}  // namespace
