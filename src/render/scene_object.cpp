#include "render/scene_object.h"

#include <algorithm>

#include "config/settings.h"
#include "render/draw_arrays.h"
#include "render/loader_3ds.h"
#include "render/lod_grid.h"
#include "render/mesh_geometry.h"
#include "render/texture.h"

SceneObject::SceneObject() {
    for (auto& model : models) model = std::make_shared<Model3ds>();
}

void SceneObject::loadLevelsOfDetail(const std::string& base) {
    const std::string files[3] = {base + ".3ds", base + "_middle.3ds", base + "_far.3ds"};
    for (int level = 0; level < 3; ++level) {
        models[level] = std::make_shared<Model3ds>();
        import3ds(*models[level], files[level].c_str());
    }
}

void SceneObject::loadSingleModel(const std::string& file) {
    models[0] = std::make_shared<Model3ds>();
    import3ds(*models[0], file.c_str());
    models[1] = models[0];
    models[2] = models[0];
}

void SceneObject::prepareModels(bool castsShadows) {
    for (Model3ds* model : distinctModels()) {
        if (castsShadows) buildConnectivity(*model);
        buildDrawArrays(*model);
        computePlanes(*model);
    }
}

void SceneObject::loadMaterialTextures() {
    const int count = static_cast<int>(models[0]->materials.size());
    for (int i = 0; i < count && i < kTextureSlots; ++i) {
        const Material3ds& material = models[0]->materials[i];
        if (material.textureFile[0] == '\0') continue;
        const std::string file = std::string("./textures/") + material.textureFile;
        loadTexture(textures, file.c_str(), i);
    }
    for (Model3ds* model : distinctModels()) {
        for (int i = 0; i < static_cast<int>(model->materials.size()); ++i)
            model->materials[i].textureIndex = i;
    }
}

int SceneObject::initMeshes() {
    loadMaterialTextures();
    buildBuffers();
    buildDisplayLists();
    return 0;
}

Model3ds& SceneObject::modelAt(float x, float y) {
    switch (LodGrid::instance().lodAt(x, y)) {
        case LodGrid::kMiddle:
            return *models[1];
        case LodGrid::kFar:
            return *models[2];
        default:
            return *models[0];
    }
}

std::vector<Model3ds*> SceneObject::distinctModels() {
    std::vector<Model3ds*> distinct;
    for (const auto& model : models) {
        if (model && std::find(distinct.begin(), distinct.end(), model.get()) == distinct.end())
            distinct.push_back(model.get());
    }
    return distinct;
}

bool multitextureInEffect(const MeshObject3ds& object) {
    return object.multitextured && Settings::getMultitexturing() && Settings::getHasMultitexture();
}

bool fogCoordsInEffect(const MeshObject3ds& object) {
    return Settings::getHasFogCoord() && !object.fogCoords.empty() && Settings::getFog();
}
