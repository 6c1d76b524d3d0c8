#pragma once

#include <cstdint>
#include <vector>

#include "render/frustum.h"
#include "render/lod_grid.h"
#include "render/model_3ds.h"
#include "world/heightmap.h"

// The terrain's mesh: 16 × 16 square patches of 16 grid steps (100 world units, one
// LodGrid cell each), built at three resolutions. Objects 0 to 255 sample every grid
// point (17 × 17 vertices, 512 triangles), 256 to 511 every second (9 × 9, 128), 512 to
// 767 every fourth (5 × 5, 32); within each group patch column c and row r is object
// r × 16 + c, so a LodGrid value added to a patch number picks its resolution. The two
// finer groups carry the base and the detail texture, the coarsest the base texture only
// (material 0 is the base texture, 1 the detail texture).
namespace terrain {

constexpr int kPatchSide = 16;   // patches along x and along y
constexpr int kPatchSteps = 16;  // grid steps along one patch side
constexpr int kPatchCount = kPatchSide * kPatchSide;
constexpr int kResolutions = 3;
constexpr int kObjectCount = kPatchCount * kResolutions;
constexpr float kWorldPerStep = 6.25f;  // 1 / LodGrid::kScale, exact in floats
// Fog lies below this height: a vertex at height h gets fog coordinate 70 − h.
constexpr float kFogCeiling = 70.0f;
// The radius of the sphere round a patch centre that the view frustum tests.
constexpr float kCullRadius = 80.0f;

// Vertices along one patch side at a step of 1, 2 or 4 grid points (17, 9, 5).
constexpr int patchSide(int step) {
    return kPatchSteps / step + 1;
}

}  // namespace terrain

// Replaces every object of `model` with the 768 patches of the heightmap: positions in
// world units with integer heights, texture coordinates (column / 256, −row / 256) of the
// base texture stretched over the map, and fog coordinates. Returns 0.
int buildTerrainPatches(Model3ds& model, const Heightmap& heightmap);

// Loading-side preparation of the built patches: vertex normals, the flattened draw
// arrays and the face planes.
void prepareTerrainModel(Model3ds& model);

// One patch to draw: the object of the terrain model and the height it is lowered by
// (0, 1.5 or 3 world units for full, middle and far detail, hiding the cracks between
// patches of different resolution).
struct PatchDraw {
    std::int32_t object;
    float zOffset;
    float distance2 = 0.0f;  // squared distance of the patch centre from the viewer
};

// The patches to draw this frame: each patch at the resolution of its LodGrid cell,
// skipped when `frustum` is given and the sphere round the patch centre lies outside it.
// Nearest to the viewer at (`viewerX`, `viewerY`) first, so that the depth test turns
// away the hidden ground behind a hill before it is textured. A model without the 768
// patches draws nothing.
void selectTerrainPatches(const Model3ds& model, const LodGrid& grid, const Frustum* frustum,
                          float viewerX, float viewerY, std::vector<PatchDraw>& out);
