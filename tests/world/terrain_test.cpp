#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>

#include "config/settings.h"
#include "support/captured_errors.h"
#include "support/temp_dir.h"
#include "world/heightmap.h"
#include "world/terrain_patches.h"

namespace {

using testing_support::CapturedErrors;

std::unique_ptr<Heightmap> flatMap(std::uint8_t height) {
    auto map = std::make_unique<Heightmap>();
    map->heights.fill(height);
    return map;
}

void setRaw(Heightmap& map, int column, int row, std::uint8_t height) {
    map.heights[static_cast<std::size_t>(row * 256 + column)] = height;
}

// A bumpy map with every byte value somewhere.
std::unique_ptr<Heightmap> randomMap(unsigned seed) {
    auto map = std::make_unique<Heightmap>();
    std::mt19937 random(seed);
    for (auto& h : map->heights) h = static_cast<std::uint8_t>(random());
    return map;
}

struct FlatCase {
    std::uint8_t height;
    float fog;
};

class FlatTerrain : public testing::TestWithParam<FlatCase> {};

TEST_P(FlatTerrain, HeightIsTheMapHeightEverywhereAndFogFollowsIt) {
    const auto map = flatMap(GetParam().height);
    const float h = GetParam().height;
    for (auto [x, y] : {std::pair{0.0f, 0.0f},
                        {800.0f, 800.0f},
                        {13.7f, 1599.9f},
                        {1600.0f, 3.1f},
                        {-250.5f, 90.0f},
                        {5e9f, -5e9f},
                        {3.125f, 3.125f}}) {
        EXPECT_EQ(map->terrainHeight(x, y), h) << x << ", " << y;
    }
    Model3ds model;
    buildTerrainPatches(model, *map);
    for (const MeshObject3ds& patch : model.objects) {
        for (std::size_t v = 0; v < patch.vertices.size(); ++v) {
            ASSERT_EQ(patch.vertices[v].z, h);
            ASSERT_EQ(patch.fogCoords[v], GetParam().fog);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Heights, FlatTerrain,
                         testing::Values(FlatCase{100, 0.0f}, FlatCase{50, 20.0f},
                                         FlatCase{70, 0.0f}, FlatCase{71, 0.0f},
                                         FlatCase{0, 70.0f}));

TEST(TerrainHeight, OriginMirrorsToColumnAndRowOne) {
    auto map = flatMap(0);
    setRaw(*map, 0, 0, 10);
    setRaw(*map, 1, 0, 20);
    setRaw(*map, 0, 1, 40);
    setRaw(*map, 255, 0, 200);  // what a wrap of -1 to 255 would read
    setRaw(*map, 0, 255, 200);
    EXPECT_FLOAT_EQ(map->terrainHeight(0.0f, 0.0f), (10.0f + 2 * 20.0f + 2 * 40.0f) / 5.0f);
    EXPECT_EQ(map->rawHeight(-1, 0), 20.0f);
    EXPECT_EQ(map->rawHeight(0, -1), 40.0f);
    EXPECT_EQ(map->rawHeight(256, 256), 10.0f);
    EXPECT_EQ(map->rawHeight(std::numeric_limits<std::int32_t>::min(), 0), 10.0f);
}

// The reference: the two-step form, first along the diagonal and one cell edge at x,
// then between those two points along y (defined wherever dx is not 0).
float twoStepHeight(const Heightmap& map, float x, float y) {
    const float gx = 0.16f * x;
    const float gy = 0.16f * y;
    const int i = static_cast<int>(gx);
    const int j = static_cast<int>(gy);
    const float dx = gx - static_cast<float>(i);
    const float dy = gy - static_cast<float>(j);
    const float s00 = map.smoothedHeight(i, j);
    const float s11 = map.smoothedHeight(i + 1, j + 1);
    const float diagonal = dx * s11 + (1 - dx) * s00;
    if (dx > dy) {
        const float edge = dx * map.smoothedHeight(i + 1, j) + (1 - dx) * s00;
        return (dy / dx) * diagonal + ((dx - dy) / dx) * edge;
    }
    const float edge = (1 - dx) * map.smoothedHeight(i, j + 1) + dx * s11;
    return ((1 - dy) / (1 - dx)) * diagonal + ((dy - dx) / (1 - dx)) * edge;
}

TEST(TerrainHeight, InterpolatesOverTheMeshTriangles) {
    const auto map = randomMap(3);
    std::mt19937 random(11);
    std::uniform_real_distribution<float> position(0.0f, 1600.0f);
    for (int n = 0; n < 2000; ++n) {
        const float x = position(random);
        const float y = position(random);
        ASSERT_NEAR(map->terrainHeight(x, y), twoStepHeight(*map, x, y), 1e-3f) << x << ", " << y;
    }
}

TEST(TerrainHeight, CornersAndTheDiagonalTakeTheSmoothedHeights) {
    auto map = flatMap(0);
    setRaw(*map, 11, 10, 250);  // lifts only S10 of the cell at (10, 10)
    const float s00 = map->smoothedHeight(10, 10);
    const float s11 = map->smoothedHeight(11, 11);
    ASSERT_NE(map->smoothedHeight(11, 10), map->smoothedHeight(10, 11));
    // Grid point (10, 10) is world 62.5: dx = dy = 0, the second triangle, no division.
    EXPECT_EQ(map->terrainHeight(62.5f, 62.5f), s00);
    // Half-way along the diagonal: the mean of the two diagonal corners, untouched by
    // the raised corner S10 or by S01.
    EXPECT_FLOAT_EQ(map->terrainHeight(65.625f, 65.625f), (s00 + s11) / 2.0f);
    // Just below the diagonal the raised corner counts; just above it does not.
    EXPECT_GT(map->terrainHeight(65.625f, 64.0f), map->terrainHeight(64.0f, 65.625f) + 10.0f);
}

TEST(TerrainHeight, AnyPositionGivesAFiniteHeight) {
    const auto map = randomMap(5);
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (auto [x, y] : {std::pair{0.0f, -6.25f},
                        {0.0f, -1.0f},
                        {-1.0f, 0.0f},
                        {-3.0f, -7.0f},
                        {inf, 1.0f},
                        {-inf, -inf},
                        {nan, nan},
                        {1e38f, 1e-38f}}) {
        const float h = map->terrainHeight(x, y);
        EXPECT_TRUE(std::isfinite(h)) << x << ", " << y;
        EXPECT_GE(h, 0.0f);
        EXPECT_LE(h, 255.0f);
    }
}

TEST(TerrainPatches, ThreeResolutionsOfTheSixteenBySixteenPatches) {
    const auto map = randomMap(9);
    Model3ds model;
    EXPECT_EQ(buildTerrainPatches(model, *map), 0);
    ASSERT_EQ(model.objectCount, 768);
    ASSERT_EQ(model.objects.size(), 768u);
    EXPECT_EQ(model.materialCount, 2);
    EXPECT_TRUE(model.materials.empty());
    const int vertices[3] = {289, 81, 25};
    const int faces[3] = {512, 128, 32};
    for (int group = 0; group < 3; ++group) {
        for (int p = 0; p < 256; ++p) {
            const MeshObject3ds& patch = model.objects[static_cast<std::size_t>(group * 256 + p)];
            ASSERT_EQ(patch.vertexCount, vertices[group]);
            ASSERT_EQ(patch.vertices.size(), static_cast<std::size_t>(vertices[group]));
            ASSERT_EQ(patch.texCoords.size(), patch.vertices.size());
            ASSERT_EQ(patch.fogCoords.size(), patch.vertices.size());
            ASSERT_EQ(patch.faceCount, faces[group]);
            ASSERT_EQ(patch.faces.size(), static_cast<std::size_t>(faces[group]));
            EXPECT_EQ(patch.multitextured, group < 2);
            EXPECT_TRUE(patch.textured);
            EXPECT_EQ(patch.materials, (std::vector<std::int32_t>{0, 1}));
            // First vertex: the patch's lower-left grid point; the middle one its centre.
            EXPECT_EQ(patch.vertices.front().x, static_cast<float>(p % 16) * 100.0f);
            EXPECT_EQ(patch.vertices.front().y, static_cast<float>(p / 16) * 100.0f);
            EXPECT_EQ(patch.vertices[patch.vertices.size() / 2].x, (p % 16) * 100.0f + 50.0f);
            EXPECT_EQ(patch.vertices[patch.vertices.size() / 2].y, (p / 16) * 100.0f + 50.0f);
        }
    }
    // Vertex 1 of patch 0 at step 2 is grid column 0, row 2.
    const MeshObject3ds& coarse = model.objects[256];
    EXPECT_EQ(coarse.vertices[1].y, 12.5f);
    EXPECT_EQ(coarse.vertices[1].z, map->rawHeight(0, 2));
    EXPECT_EQ(coarse.texCoords[1].u, 0.0f);
    EXPECT_EQ(coarse.texCoords[1].v, -2.0f / 256.0f);
    const Face3ds& second = coarse.faces[1];
    EXPECT_EQ(second.vertex[0], 0);
    EXPECT_EQ(second.vertex[1], 10);
    EXPECT_EQ(second.vertex[2], 1);
}

TEST(TerrainPatches, LastPatchColumnSamplesGridColumnZero) {
    auto map = flatMap(0);
    for (int row = 0; row < 256; ++row) setRaw(*map, 0, row, static_cast<std::uint8_t>(row));
    Model3ds model;
    buildTerrainPatches(model, *map);
    const MeshObject3ds& patch = model.objects[15 + 16 * 3];  // column 15, row 3, step 1
    for (int j = 0; j <= 16; ++j) {
        const Vec3f& v = patch.vertices[static_cast<std::size_t>(16 * 17 + j)];
        EXPECT_EQ(v.x, 1600.0f);
        EXPECT_EQ(v.z, static_cast<float>(48 + j));
    }
    EXPECT_EQ(patch.texCoords[16 * 17].u, 1.0f);
}

TEST(TerrainPatches, FlatGroundFacesUp) {
    const auto map = flatMap(30);
    Model3ds model;
    buildTerrainPatches(model, *map);
    prepareTerrainModel(model);
    for (int object : {0, 300, 767}) {
        const MeshObject3ds& patch = model.objects[static_cast<std::size_t>(object)];
        EXPECT_EQ(patch.flatVertices.size(), patch.faces.size() * 9);
        EXPECT_EQ(patch.flatFogCoords.size(), patch.faces.size() * 3);
        EXPECT_EQ(patch.flatTexCoords.size(), patch.faces.size() * 6);
        for (const Vec3f& n : patch.normals) ASSERT_NEAR(n.z, 1.0f, 1e-6f);
        EXPECT_GT(patch.faces[0].plane[2], 0.0);
    }
}

class TerrainDraws : public testing::Test {
  protected:
    TerrainDraws() : savedLod_(Settings::getLod()) { buildTerrainPatches(model_, *flatMap(0)); }
    ~TerrainDraws() override { Settings::setLod(savedLod_); }

    static Pose camera(float x, float y, float rotation) {
        Pose pose;
        pose.x = x;
        pose.y = y;
        pose.rotZ = rotation;
        return pose;
    }

    Model3ds model_;
    LodGrid grid_;
    std::vector<PatchDraw> draws_;

  private:
    std::int32_t savedLod_;
};

TEST_F(TerrainDraws, WithLodOffEveryPatchDrawsAtStepOne) {
    Settings::setLod(0);
    grid_.updateLodGrid(camera(850.0f, 250.0f, 0.0f));
    selectTerrainPatches(model_, grid_, nullptr, draws_);
    ASSERT_EQ(draws_.size(), 256u);
    for (std::size_t p = 0; p < draws_.size(); ++p) {
        EXPECT_EQ(draws_[p].object, static_cast<std::int32_t>(p));
        EXPECT_EQ(draws_[p].zOffset, 0.0f);
    }
}

TEST_F(TerrainDraws, EachPatchTakesTheResolutionAndOffsetOfItsCell) {
    Settings::setLod(1);
    grid_.updateLodGrid(camera(850.0f, 250.0f, 0.0f));  // cell 40 facing +x
    selectTerrainPatches(model_, grid_, nullptr, draws_);
    ASSERT_EQ(draws_.size(), 256u);
    EXPECT_EQ(draws_[40].object, 40);
    EXPECT_EQ(draws_[42].object, 256 + 42);
    EXPECT_EQ(draws_[42].zOffset, -1.5f);
    EXPECT_EQ(draws_[200].object, 512 + 200);
    EXPECT_EQ(draws_[200].zOffset, -3.0f);
}

// A camera high above the map's south-west corner, far outside it, looking down the
// diagonal: patches near the far corner are culled, every patch in view is drawn.
TEST_F(TerrainDraws, FrustumCullsPatchesOutOfViewEvenFromFarOffTheMap) {
    Settings::setLod(1);
    grid_.updateLodGrid(camera(-3000.0f, -3000.0f, 45.0f));
    // Looking along +x (eye space -z is world +x), a 20° field of view, near 1, far 10000.
    const float f = 1.0f / std::tan(10.0f * 3.14159265f / 180.0f);
    const float p[16] = {
        f, 0, 0, 0, 0, f, 0, 0, 0, 0, -10001.0f / 9999.0f, -1, 0, 0, -20000.0f / 9999.0f, 0};
    // World +x to eye -z, world +z to eye +y, world +y to eye -x; eye at world (-3000, 800, 0).
    const float m[16] = {0, 0, -1, 0, -1, 0, 0, 0, 0, 1, 0, 0, 800.0f, 0, -3000.0f, 1};
    Frustum frustum;
    frustum.extract(p, m);
    selectTerrainPatches(model_, grid_, &frustum, draws_);
    EXPECT_GT(draws_.size(), 16u);
    EXPECT_LT(draws_.size(), 256u);
    bool middleRowDrawn = false;
    for (const PatchDraw& draw : draws_) {
        const int patch = draw.object % 256;
        if (patch == 8 * 16 + 15) middleRowDrawn = true;
        EXPECT_NE(patch, 0);  // row 0 lies 800 units aside, outside the 10° half-angle
    }
    EXPECT_TRUE(middleRowDrawn);
}

TEST_F(TerrainDraws, AModelWithoutPatchesDrawsNothing) {
    Model3ds empty;
    selectTerrainPatches(empty, grid_, nullptr, draws_);
    EXPECT_TRUE(draws_.empty());
}

TEST(HeightmapFile, ReadsAllBytes) {
    testing_support::TempDir dir;
    std::string bytes(65536, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    dir.write("map.raw", bytes);
    CapturedErrors errors;
    Heightmap map;
    EXPECT_TRUE(loadHeightmap(map, dir.file("map.raw")));
    EXPECT_TRUE(errors.texts().empty());
    EXPECT_EQ(map.rawHeight(3, 2),
              static_cast<float>(static_cast<std::uint8_t>((2 * 256 + 3) * 7)));
}

TEST(HeightmapFile, MissingFileLeavesTheGroundFlat) {
    testing_support::TempDir dir;
    CapturedErrors errors;
    const auto map = flatMap(0);
    EXPECT_FALSE(loadHeightmap(*map, dir.file("none.raw")));
    EXPECT_EQ(errors.texts(), (std::vector<std::string>{"Can't find the height map!"}));
    EXPECT_EQ(map->terrainHeight(800.0f, 800.0f), 0.0f);
    EXPECT_FALSE(loadHeightmap(*map, ""));
}

TEST(HeightmapFile, ShortFileOrDirectoryIsReportedAndKeepsWhatWasRead) {
    testing_support::TempDir dir;
    dir.write("short.raw", std::string(1000, '\x2a'));
    CapturedErrors errors;
    const auto map = flatMap(9);
    EXPECT_FALSE(loadHeightmap(*map, dir.file("short.raw")));
    EXPECT_EQ(map->rawHeight(0, 0), 42.0f);
    EXPECT_EQ(map->rawHeight(231, 3), 42.0f);  // byte 999
    EXPECT_EQ(map->rawHeight(232, 3), 9.0f);
    EXPECT_FALSE(loadHeightmap(*map, dir.path()));
    EXPECT_EQ(errors.texts(), (std::vector<std::string>{"Can't get data!", "Can't get data!"}));
}

}  // namespace
