#include "render/lod_grid.h"

#include <gtest/gtest.h>

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

TEST_F(LodGridTest, CellsBelowTheCameraTakeAbsoluteValues) {
    update(cameraInCell(5, 0.0f));
    EXPECT_EQ(grid_.cell(27), LodGrid::kMiddle);  // |5 - 32|
    EXPECT_EQ(grid_.cell(11), LodGrid::kFull);    // |5 - 16|
    EXPECT_EQ(grid_.cell(10), LodGrid::kFull);    // |5 - 15|
    EXPECT_EQ(grid_.cell(9), LodGrid::kMiddle);   // |5 - 14|
    EXPECT_EQ(grid_.cell(5), LodGrid::kFull);
}

// Each sector as seen from the camera: full detail on the camera's cell, the three cells
// ahead, the two aside and the one behind; middle detail on the ring two cells out that
// lies ahead and aside. A camera in cell 136 keeps every named cell on the map.
struct Facing {
    float rotation;
    int forward;
    int side;
};

class LodGridSector : public LodGridTest, public testing::WithParamInterface<Facing> {};

TEST_P(LodGridSector, WritesTheCellsAheadAndAside) {
    const Facing facing = GetParam();
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
    EXPECT_EQ(cellsWith(LodGrid::kFull), full);
    EXPECT_EQ(cellsWith(LodGrid::kMiddle), middle);
}

INSTANTIATE_TEST_SUITE_P(Rotations, LodGridSector,
                         testing::Values(Facing{0.0f, 1, 16}, Facing{315.0f, 1, 16},
                                         Facing{360.0f, 1, 16}, Facing{45.0f, 16, 1},
                                         Facing{135.0f, -1, 16}, Facing{225.0f, -16, 1}));

TEST_F(LodGridTest, AngleOutOfRangeIsPrintedAndKeepsOnlyTheCameraCellFull) {
    const std::pair<float, const char*> angles[] = {
        {360.5f, "3.605000e+02"}, {-0.5f, "-5.000000e-01"}, {std::nanf(""), "nan"}};
    for (const auto& [rotation, printed] : angles) {
        EXPECT_EQ(update(cameraInCell(40, rotation)),
                  std::string("camera angle out of range 0-360 - is:") + printed + "\n");
        EXPECT_EQ(cellsWith(LodGrid::kFull), (std::set<int>{40}));
        EXPECT_TRUE(cellsWith(LodGrid::kMiddle).empty());
    }
}

TEST_F(LodGridTest, LodOffMakesEveryCellFull) {
    update(cameraInCell(40, 0.0f));
    Settings::setLod(0);
    update(cameraInCell(40, 0.0f));
    EXPECT_EQ(cellsWith(LodGrid::kFull).size(), 256u);
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
    const float far = 1e30f;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (auto [x, y] : {std::pair{-5000.0f, -5000.0f},
                        {1e6f, -1e6f},
                        {far, far},
                        {-far, far},
                        {nan, 800.0f},
                        {-1.0f, 1601.0f},
                        {inf, 0.0f}}) {
        for (float r : {0.0f, 90.0f, 180.0f, 270.0f}) {
            guarded.grid.updateLodGrid(Pose{x, y, 0, 0, 0, r});
            for (int i = 0; i < LodGrid::kCellCount; ++i)
                ASSERT_PRED1(isLevel, guarded.grid.cell(i)) << "cell " << i;
            EXPECT_PRED1(isLevel, guarded.grid.lodAt(x, y));
        }
    }
    for (int i = 0; i < 64; ++i) {
        ASSERT_EQ(guarded.before[i], 77);
        ASSERT_EQ(guarded.after[i], 77);
    }
}

TEST_F(LodGridTest, LodAtReadsTheCellUnderAPositionAndClampsOffTheMap) {
    update(cameraInCell(40, 0.0f));
    EXPECT_EQ(grid_.lodAt(850.0f, 250.0f), LodGrid::kFull);     // cell 40
    EXPECT_EQ(grid_.lodAt(1099.9f, 250.0f), LodGrid::kMiddle);  // cell 42
    EXPECT_EQ(grid_.lodAt(1100.0f, 250.0f), LodGrid::kFar);     // cell 43
    update(cameraInCell(255, 0.0f));
    EXPECT_EQ(grid_.lodAt(1600.0f, 1600.0f), LodGrid::kFull);
    EXPECT_EQ(grid_.lodAt(1e9f, 1e9f), LodGrid::kFull);
    update(cameraInCell(0, 180.0f));
    EXPECT_EQ(grid_.lodAt(-300.0f, -1e20f), LodGrid::kFull);
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
    Settings::setLod(0);
    LodGrid::instance().updateLodGrid(camera);
    for (float x : {50.0f, 750.0f, 1550.0f, -400.0f})
        EXPECT_EQ(&object.modelAt(x, 1500), object.models[0].get()) << x;
}

}  // namespace
