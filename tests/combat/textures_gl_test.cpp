// Textures of the shared table and of a model's materials, loaded for real.
#include <GL/gl.h>

#include "support/captured_errors.h"
#include "world/world_gl_fixture.h"

namespace {

using testing_support::solidTga;
using testing_support::writeFile;

class TexturedObject : public SceneObject {
  public:
    int draw(Pose, const float*) override { return 0; }
    int update() override { return 0; }
    int initGL() override {
        loadMaterialTextures();
        return 0;
    }
};

class StoreTexturesTest : public world_testing::WorldGlTest {
  protected:
    void SetUp() override {
        WorldGlTest::SetUp();
        writeFile(dir.file("textures/kreis.tga"), solidTga(4, 4, {255, 255, 255}));
        writeFile(dir.file("textures/ground.tga"), solidTga(8, 8, {40, 160, 40}));
    }
    static GLint widthOf(unsigned int texture) {
        GLint width = 0;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        return width;
    }
};

// Without a terrain texture file the load fails, the circle loaded all the same.
TEST_F(StoreTexturesTest, CircleGoesToSlotOneAndTheLevelsGroundToSlotZero) {
    ASSERT_EQ(ModelStore::loadSharedTextures("./textures/ground.tga"), 0);
    EXPECT_EQ(widthOf(ModelStore::sharedTexture(ModelStore::kTerrainTexture)), 8);
    EXPECT_EQ(widthOf(ModelStore::sharedTexture(ModelStore::kCircleTexture)), 4);
    ModelStore::reset();
    testing_support::CapturedErrors errors;
    EXPECT_EQ(ModelStore::loadSharedTextures(nullptr), -1);
    EXPECT_EQ(errors.texts(), std::vector<std::string>{"could not load terrain texture"});
    EXPECT_EQ(widthOf(ModelStore::sharedTexture(ModelStore::kCircleTexture)), 4);
}

TEST_F(StoreTexturesTest, MaterialTexturesFillTheirMaterialSlotsOnAllLevels) {
    writeFile(dir.file("textures/paint.tga"), solidTga(16, 16, {200, 0, 0}));
    TexturedObject object;
    Model3ds& full = *object.models[0];
    full.materials.resize(3);
    std::snprintf(full.materials[2].textureFile, sizeof full.materials[2].textureFile, "paint.tga");
    object.models[1] = std::make_shared<Model3ds>(full);
    object.models[2] = object.models[1];
    object.initGL();
    EXPECT_EQ(object.textures[0], 0u);  // untextured materials load nothing
    EXPECT_EQ(object.textures[1], 0u);
    ASSERT_NE(object.textures[2], 0u);
    EXPECT_EQ(widthOf(object.textures[2]), 16);
    for (int level = 0; level < 3; ++level)
        for (int i = 0; i < 3; ++i) EXPECT_EQ(object.models[level]->materials[i].textureIndex, i);
}

}  // namespace
