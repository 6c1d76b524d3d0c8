#include "render/scene_object.h"

#include "config/settings.h"
#include "render/draw_arrays.h"
#include "render/loader_3ds.h"
#include "render/mesh_geometry.h"

void SceneObject::loadLevelsOfDetail(const std::string& base) {
    const std::string files[3] = {base + ".3ds", base + "_middle.3ds", base + "_far.3ds"};
    for (int level = 0; level < 3; ++level) {
        models[level] = Model3ds{};
        import3ds(models[level], files[level].c_str());
    }
}

void SceneObject::loadSingleModel(const std::string& file) {
    models[0] = Model3ds{};
    import3ds(models[0], file.c_str());
    models[1] = models[0];
    models[2] = models[0];
}

void SceneObject::prepareModels(bool castsShadows) {
    for (Model3ds& model : models) {
        if (castsShadows) buildConnectivity(model);
        buildDrawArrays(model);
        computePlanes(model);
    }
}

bool multitextureInEffect(const MeshObject3ds& object) {
    return object.multitextured && Settings::getMultitexturing() && Settings::getHasMultitexture();
}

bool fogCoordsInEffect(const MeshObject3ds& object) {
    return Settings::getHasFogCoord() && !object.fogCoords.empty() && Settings::getFog();
}
