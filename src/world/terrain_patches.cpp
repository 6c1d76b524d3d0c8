#include "world/terrain_patches.h"

#include <algorithm>
#include <cstddef>

#include "render/draw_arrays.h"
#include "render/loader_3ds.h"
#include "render/mesh_geometry.h"

namespace {

MeshObject3ds buildPatch(const Heightmap& heightmap, int step, int column, int row) {
    const int side = terrain::patchSide(step);
    const int n = side * side;
    MeshObject3ds patch;
    patch.vertexCount = n;
    patch.texCoordCount = n;
    patch.vertices.reserve(static_cast<std::size_t>(n));
    patch.texCoords.reserve(static_cast<std::size_t>(n));
    patch.fogCoords.reserve(static_cast<std::size_t>(n));
    patch.faces.reserve(static_cast<std::size_t>(2 * (side - 1) * (side - 1)));
    const int first_i = terrain::kPatchSteps * column;
    const int first_j = terrain::kPatchSteps * row;
    int k = 0;
    // Vertex k runs along the patch's rows (y) first, then its columns (x).
    for (int i = first_i; i <= first_i + terrain::kPatchSteps; i += step) {
        for (int j = first_j; j <= first_j + terrain::kPatchSteps; j += step, ++k) {
            const float h =
                static_cast<float>(static_cast<std::int32_t>(heightmap.rawHeight(i, j)));
            patch.vertices.push_back({static_cast<float>(i) * terrain::kWorldPerStep,
                                      static_cast<float>(j) * terrain::kWorldPerStep, h});
            patch.texCoords.push_back({static_cast<float>(i) / Heightmap::kSide,
                                       -static_cast<float>(j) / Heightmap::kSide});
            patch.fogCoords.push_back(h <= terrain::kFogCeiling ? terrain::kFogCeiling - h : 0.0f);
            if ((k + 1) % side != 0 && k < n - side) {
                Face3ds lower;
                lower.vertex[0] = k;
                lower.vertex[1] = k + side;
                lower.vertex[2] = k + side + 1;
                Face3ds upper;
                upper.vertex[0] = k;
                upper.vertex[1] = k + side + 1;
                upper.vertex[2] = k + 1;
                patch.faces.push_back(lower);
                patch.faces.push_back(upper);
            }
        }
    }
    patch.faceCount = static_cast<std::int32_t>(patch.faces.size());
    patch.multitextured = step < 4;
    patch.textured = true;
    patch.materials = {0, 1};
    return patch;
}

}  // namespace

int buildTerrainPatches(Model3ds& model, const Heightmap& heightmap) {
    model.objects.clear();
    model.objects.reserve(terrain::kObjectCount);
    model.objectCount = 0;
    model.materialCount = 2;
    for (int step = 1; step <= 4; step *= 2) {
        for (int row = 0; row < terrain::kPatchSide; ++row) {
            for (int column = 0; column < terrain::kPatchSide; ++column) {
                model.objects.push_back(buildPatch(heightmap, step, column, row));
                ++model.objectCount;
            }
        }
    }
    return 0;
}

void prepareTerrainModel(Model3ds& model) {
    computeNormals(model);
    buildDrawArrays(model);
    computePlanes(model);
}

void selectTerrainPatches(const Model3ds& model, const LodGrid& grid, const Frustum* frustum,
                          float viewerX, float viewerY, std::vector<PatchDraw>& out) {
    out.clear();
    if (model.objects.size() < static_cast<std::size_t>(terrain::kObjectCount)) return;
    for (int p = 0; p < terrain::kPatchCount; ++p) {
        const MeshObject3ds& patch = model.objects[static_cast<std::size_t>(p)];
        if (patch.vertices.empty()) continue;
        const Vec3f& centre = patch.vertices[patch.vertices.size() / 2];
        if (frustum != nullptr) {
            // The centre in whole units; patch coordinates lie within the map and 0 to 255.
            const auto whole = [](float v) {
                return static_cast<float>(static_cast<std::int32_t>(v));
            };
            if (!frustum->sphereVisible(whole(centre.x), whole(centre.y), whole(centre.z),
                                        terrain::kCullRadius)) {
                continue;
            }
        }
        const std::int32_t detail = grid.cell(p);
        const float offset = detail == LodGrid::kFull     ? 0.0f
                             : detail == LodGrid::kMiddle ? -1.5f
                                                          : -3.0f;
        const std::int32_t object = p + (detail == LodGrid::kFull     ? 0
                                         : detail == LodGrid::kMiddle ? LodGrid::kMiddle
                                                                      : LodGrid::kFar);
        const float dx = centre.x - viewerX;
        const float dy = centre.y - viewerY;
        out.push_back({object, offset, dx * dx + dy * dy});
    }
    std::sort(out.begin(), out.end(),
              [](const PatchDraw& a, const PatchDraw& b) { return a.distance2 < b.distance2; });
}
