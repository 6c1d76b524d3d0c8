#include "render/lod_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <utility>

#include "config/settings.h"
#include "render/scene_object.h"

namespace {

class LodGridTest : public testing::Test {
  protected:
    LodGridTest() : savedLod_(Settings::getLod()) { Settings::setLod(1); }
    ~LodGridTest() override { Settings::setLod(savedLod_); }

    // The centre of a cell, in world units.
    static Pose cameraInCell(int cell, float rotation) {
        return Pose{(cell % 16) * 100.0f + 50.0f, (cell / 16) * 100.0f + 50.0f, 0, 0, 0, rotation};
    }

    std::set<int> cellsWith(std::int32_t value) const {
        std::set<int> out;
        for (int i = 0; i < LodGrid::kCellCount; ++i)
            if (grid_.cell(i) == value) out.insert(i);
        return out;
    }

    std::string update(const Pose& pose) {
        testing::internal::CaptureStdout();
        grid_.updateLodGrid(pose);
        return testing::internal::GetCapturedStdout();
    }

    LodGrid grid_;

  private:
    std::int32_t savedLod_;
};

// Cells below the camera's row take absolute values: |5 - 16| and |5 - 32|.
TEST_F(LodGridTest, CellsBelowTheCameraTakeAbsoluteValues) {
    update(cameraInCell(5, 0.0f));
    EXPECT_EQ(grid_.cell(11), LodGrid::kFull);
    EXPECT_EQ(grid_.cell(27), LodGrid::kMiddle);
}

// Each sector as seen from the camera: full detail on the camera's cell, the three cells
// ahead, the two aside and the one behind; middle detail on the ring two cells out that
// lies ahead and aside. A camera in cell 136 keeps every named cell on the map.
TEST_F(LodGridTest, EachSectorWritesTheCellsAheadAndAside) {
    const struct {
        float rotation;
        int forward, side;
    } facings[] = {{0, 1, 16},  {315, 1, 16},  {360, 1, 16},
                   {45, 16, 1}, {135, -1, 16}, {225, -16, 1}};
    for (const auto& facing : facings) {
        const int c = 136;
        update(cameraInCell(c, facing.rotation));
        std::set<int> full{c};
        for (auto [f, l] : {std::pair{1, -1}, {1, 0}, {1, 1}, {0, -1}, {0, 1}, {-1, 0}})
            full.insert(c + f * facing.forward + l * facing.side);
        std::set<int> middle;
        for (int f = 0; f <= 2; ++f)
            for (int l = -2; l <= 2; ++l)
                if (std::max(f, std::abs(l)) == 2)
                    middle.insert(c + f * facing.forward + l * facing.side);
        EXPECT_EQ(cellsWith(LodGrid::kFull), full) << facing.rotation;
        EXPECT_EQ(cellsWith(LodGrid::kMiddle), middle) << facing.rotation;
    }
}

TEST_F(LodGridTest, AngleOutOfRangeIsPrintedAndKeepsOnlyTheCameraCellFull) {
    const std::pair<float, const char*> angles[] = {{360.5f, "3.605000e+02"},
                                                    {std::nanf(""), "nan"}};
    for (const auto& [rotation, printed] : angles) {
        EXPECT_EQ(update(cameraInCell(40, rotation)),
                  std::string("camera angle out of range 0-360 - is:") + printed + "\n");
        EXPECT_EQ(cellsWith(LodGrid::kFull), (std::set<int>{40}));
        EXPECT_TRUE(cellsWith(LodGrid::kMiddle).empty());
    }
}

// The grid between two guard blocks: no camera may make it write outside its cells.
struct GuardedGrid {
    std::int32_t before[64];
    LodGrid grid;
    std::int32_t after[64];
};

TEST_F(LodGridTest, CameraFarOffTheMapWritesOnlyGridCells) {
    GuardedGrid guarded;
    std::fill(std::begin(guarded.before), std::end(guarded.before), 77);
    std::fill(std::begin(guarded.after), std::end(guarded.after), 77);
    auto isLevel = [](std::int32_t v) { return v == 0 || v == 256 || v == 512; };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (auto [x, y] : {std::pair{-5000.0f, -5000.0f},
                        {1e30f, -1e30f},
                        {nan, 800.0f},
                        {-1.0f, 1601.0f},
                        {INFINITY, 0.0f}}) {
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

class ThreeLevels : public SceneObject {
  public:
    int draw(Pose, const float*) override { return 0; }
    int update() override { return 0; }
    int initGL() override { return 0; }
    using SceneObject::modelAt;
};

// Objects pick their model from the game's grid.
TEST_F(LodGridTest, FarObjectsDrawTheFarModelOnlyWithLodOn) {
    ThreeLevels object;
    const Pose camera{50, 50, 10, 0, 0, 0};  // the first cell, facing along +x
    LodGrid::instance().updateLodGrid(camera);
    EXPECT_EQ(&object.modelAt(50, 50), object.models[0].get());
    EXPECT_EQ(&object.modelAt(1500, 1500), object.models[2].get());
    // Off the map the nearest cell counts.
    EXPECT_EQ(&object.modelAt(-300, -1e20f), object.models[0].get());
    EXPECT_EQ(&object.modelAt(1e9f, 1e9f), object.models[2].get());
    Settings::setLod(0);
    LodGrid::instance().updateLodGrid(camera);
    for (float x : {50.0f, 750.0f, 1550.0f, -400.0f})
        EXPECT_EQ(&object.modelAt(x, 1500), object.models[0].get()) << x;
}

}  // namespace
