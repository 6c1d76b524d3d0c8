#include <gtest/gtest.h>

#include "config/settings.h"
#include "render/lod_grid.h"
#include "render/scene_object.h"

namespace {

class ThreeLevels : public SceneObject {
  public:
    int draw(Pose, const float*) override { return 0; }
    int update() override { return 0; }
    int initGL() override { return 0; }
    using SceneObject::modelAt;
};

class LevelOfDetailTest : public ::testing::Test {
  protected:
    void SetUp() override { Settings::resetStartValues(); }
    void TearDown() override { Settings::resetStartValues(); }
};

TEST_F(LevelOfDetailTest, FarObjectsDrawTheFarModelOnlyWithLodOn) {
    ThreeLevels object;
    const Pose camera{50, 50, 10, 0, 0, 0};  // the first cell, facing along +x
    Settings::setLod(1);
    LodGrid::instance().updateLodGrid(camera);
    EXPECT_EQ(&object.modelAt(50, 50), object.models[0].get());
    EXPECT_EQ(&object.modelAt(1500, 1500), object.models[2].get());

    Settings::setLod(0);
    LodGrid::instance().updateLodGrid(camera);
    for (float x : {50.0f, 750.0f, 1550.0f, -400.0f})
        EXPECT_EQ(&object.modelAt(x, 1500), object.models[0].get()) << x;
}

}  // namespace
