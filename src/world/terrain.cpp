#include "world/terrain.h"

#include <GL/gl.h>

#include "config/settings.h"
#include "net/protocol/game_codes.h"
#include "platform/message_box.h"
#include "render/frustum.h"
#include "render/lod_grid.h"
#include "render/shared_textures.h"
#include "render/texture.h"
#include "world/level_registry.h"

Terrain& Terrain::instance() {
    static Terrain terrain;
    return terrain;
}

Terrain::Terrain() {
    type = TYPE_TERRAIN;
}

int Terrain::update() {
    return 0;
}

int Terrain::initGL() {
    const LevelRegistry& levels = LevelRegistry::instance();
    const Level* level = levels.getLevel(levels.currentLevel());
    char file[Level::kTextSize] = {};

    if (level != nullptr) level->getHeightmap(file);
    loadHeightmap(heightmap_, file);

    textures[0] = SharedTextures::get(SharedTextures::kTerrain);

    file[0] = '\0';
    if (level != nullptr) level->getTextureDetail(file);
    if (loadTexture(textures, file, 1) == -1) showError("could not load terrain texture detail");

    Model3ds& ground = *models[0];
    if (buildTerrainPatches(ground, heightmap_) == -1) showError("alternativ way failed");
    prepareTerrainModel(ground);
    buildBuffers();
    buildDisplayLists();
    return 0;
}

int Terrain::draw(Pose camera, const float* /*light*/) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    const Frustum* frustum = Settings::getFrustumCulling() ? &Frustum::instance() : nullptr;
    selectTerrainPatches(*models[0], LodGrid::instance(), frustum, camera.x, camera.y, draws_);
    for (const PatchDraw& patch : draws_) {
        if (patch.zOffset == 0.0f) {
            drawObject(*models[0], patch.object);
            continue;
        }
        // Coarser patches sit a little lower, so that the finer neighbours cover the
        // cracks along their shared edges.
        glPushMatrix();
        glTranslatef(0.0f, 0.0f, patch.zOffset);
        drawObject(*models[0], patch.object);
        glPopMatrix();
    }
    glPopAttrib();
    return 0;
}

float Terrain::rawHeight(std::int32_t column, std::int32_t row) const {
    return heightmap_.rawHeight(column, row);
}

float Terrain::terrainHeight(float x, float y) const {
    return heightmap_.terrainHeight(x, y);
}
