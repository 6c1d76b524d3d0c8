#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <tuple>

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

// Off the map and at positions that are not numbers the ground is still the map's; the
// fog coordinate is the depth below the fog ceiling at 70.
TEST(FlatTerrain, HeightIsTheMapHeightEverywhereAndFogFollowsIt) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float positions[][2] = {{0.0f, 0.0f},  {1600.0f, 3.1f}, {-250.5f, 90.0f},
                                  {5e9f, -5e9f}, {inf, 1.0f},     {nan, nan}};
    for (const auto& [height, fog] : {std::pair{50, 20.0f}, {70, 0.0f}, {71, 0.0f}, {0, 70.0f}}) {
        const auto map = flatMap(static_cast<std::uint8_t>(height));
        for (const auto& [x, y] : positions)
            EXPECT_EQ(map->terrainHeight(x, y), height) << x << ", " << y;
        Model3ds model;
        buildTerrainPatches(model, *map);
        EXPECT_EQ(model.objects[700].fogCoords[3], fog) << height;
    }
}

TEST(TerrainHeight, OriginMirrorsAndCellsTakeTheSmoothedCornerHeights) {
    // Columns and rows 255 hold what a wrap of -1 to 255 would read; (11, 10) lifts only
    // S10 of the cell at (10, 10).
    auto map = flatMap(0);
    const std::array<int, 3> raised[] = {{0, 0, 10},    {1, 0, 20},   {0, 1, 40},   {255, 0, 200},
                                         {0, 255, 200}, {1, 255, 50}, {11, 10, 250}};
    for (const auto& [column, row, height] : raised)
        map->heights[static_cast<std::size_t>(row * 256 + column)] =
            static_cast<std::uint8_t>(height);
    EXPECT_FLOAT_EQ(map->terrainHeight(0.0f, 0.0f), (10.0f + 2 * 20.0f + 2 * 40.0f) / 5.0f);
    EXPECT_EQ((std::array{map->rawHeight(-1, 0), map->rawHeight(0, -1), map->rawHeight(256, 256),
                          map->rawHeight(std::numeric_limits<std::int32_t>::min(), 0)}),
              (std::array{20.0f, 40.0f, 10.0f, 10.0f}));
    // The neighbours of (-2^31, 2^31 - 1) lie past the 32-bit range: column 2^31 + 1
    // reads column 1, row 2^31 reads row 0.
    EXPECT_FLOAT_EQ(map->smoothedHeight(std::numeric_limits<std::int32_t>::min(),
                                        std::numeric_limits<std::int32_t>::max()),
                    (200.0f + 10.0f + 50.0f) / 5.0f);
    const float s00 = map->smoothedHeight(10, 10), s11 = map->smoothedHeight(11, 11);
    // Grid point (10, 10) is world 62.5: dx = dy = 0, the second triangle, no division.
    EXPECT_EQ(map->terrainHeight(62.5f, 62.5f), s00);
    // Below the diagonal the height lies on the plane through S00, S10 and S11; above it,
    // on the plane through S00, S01 and S11, which the raised corner S10 does not touch.
    const float s10 = map->smoothedHeight(11, 10), s01 = map->smoothedHeight(10, 11);
    EXPECT_NEAR(map->terrainHeight(65.625f, 63.28125f),
                s00 + 0.5f * (s10 - s00) + 0.125f * (s11 - s10), 1e-3f);
    EXPECT_NEAR(map->terrainHeight(63.28125f, 65.625f),
                s00 + 0.5f * (s01 - s00) + 0.125f * (s11 - s01), 1e-3f);
}

// Each patch's middle vertex is its centre. Vertex 1 of patch 0 at step 2 is grid
// column 0, row 2. A bumpy map tells every grid point from its neighbours.
TEST(TerrainPatches, ThreeResolutionsOfTheSixteenBySixteenPatches) {
    Heightmap map;
    std::mt19937 random(9);
    for (auto& h : map.heights) h = static_cast<std::uint8_t>(random());
    Model3ds model;
    EXPECT_EQ(buildTerrainPatches(model, map), 0);
    ASSERT_EQ(model.objects.size(), 768u);
    for (std::size_t i = 0; i < 768; ++i) {
        const MeshObject3ds& patch = model.objects[i];
        const int group = static_cast<int>(i / 256), p = static_cast<int>(i % 256);
        const Vec3f& middle = patch.vertices[patch.vertices.size() / 2];
        ASSERT_EQ(
            std::tuple(patch.vertexCount, patch.faceCount, patch.multitextured, middle.x, middle.y),
            std::tuple(std::array{289, 81, 25}[group], std::array{512, 128, 32}[group], group < 2,
                       (p % 16) * 100.0f + 50.0f, (p / 16) * 100.0f + 50.0f))
            << i;
    }
    const MeshObject3ds& coarse = model.objects[256];
    EXPECT_EQ(std::tuple(coarse.vertices[1].y, coarse.vertices[1].z, coarse.texCoords[1].v,
                         coarse.faces[1].vertex[1]),
              std::tuple(12.5f, map.rawHeight(0, 2), -2.0f / 256.0f, 10));
    // The last patch column samples grid column 0 (column 15, row 3, step 1).
    const MeshObject3ds& last = model.objects[15 + 16 * 3];
    EXPECT_EQ(std::tuple(last.vertices[16 * 17 + 7].x, last.vertices[16 * 17 + 7].z,
                         last.texCoords[16 * 17].u),
              std::tuple(1600.0f, map.rawHeight(0, 55), 1.0f));
}

// A missing file leaves the ground flat; a short file or a directory is reported and
// keeps what was read.
TEST(HeightmapFile, MissingShortOrDirectoryIsReported) {
    testing_support::TempDir dir;
    dir.write("short.raw", std::string(1000, '\x2a'));
    CapturedErrors errors;
    const auto map = flatMap(9);
    EXPECT_FALSE(loadHeightmap(*map, dir.file("none.raw")));
    EXPECT_EQ(map->terrainHeight(800.0f, 800.0f), 9.0f);
    EXPECT_FALSE(loadHeightmap(*map, dir.file("short.raw")));
    EXPECT_EQ((std::array{map->rawHeight(0, 0), map->rawHeight(231, 3), map->rawHeight(232, 3)}),
              (std::array{42.0f, 42.0f, 9.0f}));  // bytes 0, 999 and 1000
    EXPECT_FALSE(loadHeightmap(*map, dir.path()));
    EXPECT_EQ(errors.texts(), (std::vector<std::string>{"Can't find the height map!",
                                                        "Can't get data!", "Can't get data!"}));
}

}  // namespace
