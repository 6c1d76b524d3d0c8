// 3DS models, through everything the game does with a model before drawing it: the
// reader, the shadow connectivity, the face planes and the draw arrays. A model that
// loads keeps every index inside its lists and within the reader's limits.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "render/draw_arrays.h"
#include "render/loader_3ds.h"
#include "render/mesh_geometry.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::countMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Model3ds model;
    Loader3ds loader;
    if (!loader.importBytes(model, data, size, "fuzz.3ds")) return 0;
    fuzz::require(model.objects.size() <= Loader3ds::kMaxObjects &&
                      model.materials.size() <= Loader3ds::kMaxMaterials,
                  "objects and materials within the limits");
    buildConnectivity(model);
    computePlanes(model);
    buildDrawArrays(model);
    for (const MeshObject3ds& object : model.objects) {
        const auto faces = static_cast<std::int32_t>(object.faces.size());
        fuzz::require(object.materials.size() <= Loader3ds::kMaxMaterialList,
                      "material list within its limit");
        fuzz::require(object.normals.size() == object.vertices.size(), "a normal a vertex");
        fuzz::require(object.flatVertices.size() == object.faces.size() * 9, "3 corners a face");
        for (const Face3ds& face : object.faces) {
            for (int k = 0; k < 3; ++k) {
                fuzz::require(face.vertex[k] >= 0 && face.vertex[k] < object.vertexCount,
                              "corners inside the vertex list");
                fuzz::require(face.neighbour[k] >= FaceNeighbour::None && face.neighbour[k] < faces,
                              "neighbours inside the face list");
            }
        }
    }
    return 0;
}
