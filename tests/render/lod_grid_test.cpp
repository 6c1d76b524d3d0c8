#include "render/lod_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "config/settings.h"
#include "render/mesh_builder.h"

namespace {

class LodGridTest : public testing::Test {
  protected:
    LodGridTest() { Settings::setLod(1); }
    ~LodGridTest() override { Settings::resetStartValues(); }

    std::set<int> cellsWith(std::int32_t value) const {
        std::set<int> out;
        for (int i = 0; i < LodGrid::kCellCount; ++i)
            if (grid_.cell(i) == value) out.insert(i);
        return out;
    }

    LodGrid grid_;
};

// Each sector as seen from the camera: full detail on the camera's cell, the three cells
// ahead, the two aside and the one behind; middle detail on the ring two cells out that
// lies ahead and aside. Cells below the camera's row take absolute values (camera in 5).
// An angle out of range is printed and keeps only the camera's cell full.
TEST_F(LodGridTest, EachSectorWritesTheCellsAheadAndAside) {
    const std::tuple<int, float, int, int, const char*> facings[] = {
        {136, 0, 1, 16, ""},    {136, 315, 1, 16, ""},
        {136, 360, 1, 16, ""},  {136, 45, 16, 1, ""},
        {136, 135, -1, 16, ""}, {136, 225, -16, 1, ""},
        {5, 0, 1, 16, ""},      {40, 360.5f, 0, 0, "3.605000e+02"},
        {40, NAN, 0, 0, "nan"}};
    for (const auto& [c, rotation, forward, side, printed] : facings) {
        testing::internal::CaptureStdout();
        // The camera at the centre of its cell.
        grid_.updateLodGrid(
            Pose{(c % 16) * 100.0f + 50, (c / 16) * 100.0f + 50, 0, 0, 0, rotation});
        const std::string said = testing::internal::GetCapturedStdout();
        std::set<int> full{c}, middle;
        for (auto [f, l] : {std::pair{1, -1}, {1, 0}, {1, 1}, {0, -1}, {0, 1}, {-1, 0}})
            if (forward != 0) full.insert(std::abs(c + f * forward + l * side));
        for (int f = 0; f <= 2 && forward != 0; ++f)
            for (int l = -2; l <= 2; ++l)
                if (std::max(f, std::abs(l)) == 2)
                    middle.insert(std::abs(c + f * forward + l * side));
        EXPECT_EQ(cellsWith(LodGrid::kFull), full) << c << " " << rotation;
        EXPECT_EQ(cellsWith(LodGrid::kMiddle), middle) << c << " " << rotation;
        EXPECT_EQ(said, *printed
                            ? std::string("camera angle out of range 0-360 - is:") + printed + "\n"
                            : "");
    }
}

// No camera may make the grid write outside its cells: it lies between two guard blocks.
TEST_F(LodGridTest, CameraFarOffTheMapWritesOnlyGridCells) {
    struct {
        std::int32_t before[64];
        LodGrid grid;
        std::int32_t after[64];
    } guarded;
    std::fill_n(guarded.before, 64, 77);
    std::fill_n(guarded.after, 64, 77);
    auto isLevel = [](std::int32_t v) { return v == 0 || v == 256 || v == 512; };
    const std::pair<float, float> cameras[] = {
        {-5000, -5000}, {1e30f, -1e30f}, {NAN, 800}, {-1, 1601}, {INFINITY, 0}};
    for (const auto& [x, y] : cameras) {
        for (float r : {0.0f, 90.0f, 180.0f, 270.0f}) {
            guarded.grid.updateLodGrid(Pose{x, y, 0, 0, 0, r});
            for (int i = 0; i < LodGrid::kCellCount; ++i)
                ASSERT_PRED1(isLevel, guarded.grid.cell(i)) << "cell " << i;
            EXPECT_PRED1(isLevel, guarded.grid.lodAt(x, y));
        }
    }
    EXPECT_EQ(std::count(guarded.before, guarded.before + 64, 77) +
                  std::count(guarded.after, guarded.after + 64, 77),
              128);
}

// Objects pick their model from the game's grid; off the map the nearest cell counts.
TEST_F(LodGridTest, FarObjectsDrawTheFarModelOnlyWithLodOn) {
    TestObject object;
    for (const std::int32_t lod : {1, 0}) {
        Settings::setLod(lod);
        LodGrid::instance().updateLodGrid(Pose{50, 50, 10, 0, 0, 0});  // first cell, along +x
        const std::pair<float, float> near[] = {{50, 50}, {-300, -1e20f}},
                                      far[] = {{1500, 1500}, {1e9f, 1e9f}, {-400, 1500}};
        for (const auto& [x, y] : near) EXPECT_EQ(&object.modelAt(x, y), object.models[0].get());
        for (const auto& [x, y] : far)
            EXPECT_EQ(&object.modelAt(x, y), object.models[lod ? 2 : 0].get()) << x;
    }
}

}  // namespace
