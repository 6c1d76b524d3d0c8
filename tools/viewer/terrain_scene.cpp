#include "terrain_scene.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>

#include "app/camera.h"
#include "combat/model_store.h"
#include "config/settings.h"
#include "fx/screen_passes.h"
#include "net/protocol/game_codes.h"
#include "render/draw_2d.h"
#include "render/frustum.h"
#include "render/gl_extensions.h"
#include "render/gl_state.h"
#include "render/lod_grid.h"
#include "render/perspective.h"
#include "world/level_registry.h"
#include "world/load_levels.h"
#include "world/terrain.h"

bool TerrainScene::load(std::int32_t level, bool sky, std::optional<ShowroomLayout> objects) {
    showSky_ = sky;
    loadLevels();
    LevelRegistry& levels = LevelRegistry::instance();
    if (levels.getLevel(level) == nullptr) {
        std::fprintf(stderr, "voka-viewer: level %d is not in ./level.xml\n", level);
        return false;
    }
    levels.setCurrentLevel(level);
    ModelStore::loadSharedTextures(levels.currentTextureFile());
    Terrain::instance().initGL();
    sky_ = std::make_unique<Sky>(true);
    sky_->initGL();
    flare_ = std::make_unique<LensFlare>();
    hud_ = std::make_unique<Hud>();
    if (objects) {
        showroom_ = std::make_unique<Showroom>();
        showroom_->load(*objects);
    }

    applyMatchGlState();
    return true;
}

void TerrainScene::resize(int width, int height) {
    setPerspective(width, height);
}

Vec3f flyViewDirection(const Pose& pose) {
    constexpr float kRadians = 3.14159265f / 180.0f;
    const float pitch = pose.rotY * kRadians;
    const float heading = pose.rotZ * kRadians;
    return {std::cos(pitch) * std::cos(heading), std::cos(pitch) * std::sin(heading),
            std::sin(pitch)};
}

HudInput sampleHudInput(const Pose& pose) {
    HudInput in;
    in.speed = 57;
    in.health = 85;
    in.armor = 50;
    in.frags = 3;
    in.weapon = WEAPON_MG;
    in.ammo = 163;
    in.eye[0] = pose.x;
    in.eye[1] = pose.y;
    in.eye[2] = pose.z;
    const Vec3f aim = flyViewDirection(pose);
    in.aim[0] = aim.x;
    in.aim[1] = aim.y;
    in.aim[2] = aim.z;
    return in;
}

void TerrainScene::drawFrame(const ViewerCamera& view, const char* readout) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glLoadIdentity();
    Camera eye;
    eye.applyView(view.vehicle, view.look, view.offset);
    const Pose camera = eye.getPose();
    sun_.apply();
    LodGrid::instance().updateLodGrid(camera);
    Frustum::instance().extract();

    const float light[4] = {-800.0f, -800.0f, 2000.0f, 1.0f};
    Terrain& terrain = Terrain::instance();
    terrain.draw(camera, light);
    terrainTriangles_ = 0;
    for (const PatchDraw& patch : terrain.lastDraws())
        terrainTriangles_ +=
            terrain.models[0]->objects[static_cast<std::size_t>(patch.object)].faceCount;
    // The sky after the ground: it lies behind everything on the map, so the picture is
    // the same as drawing it first, but the depth test spares the software renderer
    // texturing the dome where the ground covers it (a quarter of the frame time).
    if (showSky_) sky_->draw(camera, light);
    if (showroom_) {
        showroom_->draw(camera, light);
        if (Settings::getShadow()) darkenShadows(Settings::getTransparency());
    }
    if (Settings::getLensflare()) {
        const Vec3f sun{light[0], light[1], light[2]};
        flare_->draw(sun, {camera.x, camera.y, camera.z}, flyViewDirection(camera), camera.rotY,
                     camera.rotZ);
    }
    if (Settings::getCockpit()) {
        hud_->draw(sampleHudInput(camera));
        return;
    }

    // The readout takes the fog of its raster position: none.
    gl_ext::fogCoordf(0.0f);
    Overlay2d overlay;
    // White on a dark shadow, readable over clouds and sky alike.
    glColor3f(0.0f, 0.0f, 0.0f);
    drawText(-0.967f, 0.897f, readout);
    glColor3f(1.0f, 1.0f, 1.0f);
    drawText(-0.97f, 0.90f, readout);
}
