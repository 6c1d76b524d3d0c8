#pragma once

#include <cstdint>
#include <vector>

#include "render/scene_object.h"
#include "world/heightmap.h"
#include "world/terrain_patches.h"

// The ground of the level being played: the heightmap of the level file stretched over
// the 1600 × 1600 map, drawn as 16 × 16 patches at the detail the LodGrid picks, with
// the level's base texture over the whole map and its detail texture repeated on the
// nearer patches. One terrain exists for the whole run; vehicles, shots and the camera
// ask it for the ground height.
class Terrain : public SceneObject {
  public:
    static Terrain& instance();

    Terrain();

    // Draws every patch that the view frustum does not cull (with `frustumCulling` on),
    // each at the resolution of its LodGrid cell. The camera and light are not used.
    int draw(Pose camera, const float* light) override;
    int update() override;
    // Main thread, once the current level is known: reads the level's heightmap and
    // detail texture, takes the shared terrain texture of the model store and builds
    // and uploads the patches. Every problem is shown and the building goes on: a
    // missing heightmap leaves the ground flat.
    int initGL() override;

    // The heightmap byte at grid column |column| mod 256, row |row| mod 256.
    float rawHeight(std::int32_t column, std::int32_t row) const;
    // The ground height at a world position (x, y).
    float terrainHeight(float x, float y) const;

    const Heightmap& heightmap() const { return heightmap_; }
    // The patches the last draw drew, with their resolution.
    const std::vector<PatchDraw>& lastDraws() const { return draws_; }

  private:
    Heightmap heightmap_;
    std::vector<PatchDraw> draws_;
};
