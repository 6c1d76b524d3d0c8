#include "render/draw_arrays.h"

#include <cstddef>

namespace {

// The colour of the object's first material, or nullptr when it has none.
const std::uint8_t* materialColor(const Model3ds& model, const MeshObject3ds& object) {
    const std::int32_t material = object.firstMaterial();
    if (material < 0 || static_cast<std::size_t>(material) >= model.materials.size())
        return nullptr;
    return model.materials[material].color;
}

void flatten(const Model3ds& model, MeshObject3ds& object) {
    const std::size_t corners = object.faces.size() * 3;
    const bool hasFog = !object.fogCoords.empty();
    const std::uint8_t* color = object.textured ? nullptr : materialColor(model, object);
    const bool hasTexCoords = object.textured && !object.texCoords.empty();
    object.flatVertices.assign(corners * 3, 0.0f);
    object.flatNormals.assign(corners * 3, 0.0f);
    object.flatFogCoords.assign(hasFog ? corners : 0, 0.0f);
    object.flatColors.assign(color != nullptr ? corners * 4 : 0, 0);
    object.flatTexCoords.assign(hasTexCoords ? corners * 2 : 0, 0.0f);
    for (std::size_t f = 0; f < object.faces.size(); ++f) {
        for (std::size_t k = 0; k < 3; ++k) {
            const std::size_t at = 3 * f + k;
            const std::size_t v = static_cast<std::size_t>(object.faces[f].vertex[k]);
            if (v < object.normals.size()) {
                object.flatNormals[3 * at] = object.normals[v].x;
                object.flatNormals[3 * at + 1] = object.normals[v].y;
                object.flatNormals[3 * at + 2] = object.normals[v].z;
            }
            if (v < object.vertices.size()) {
                object.flatVertices[3 * at] = object.vertices[v].x;
                object.flatVertices[3 * at + 1] = object.vertices[v].y;
                object.flatVertices[3 * at + 2] = object.vertices[v].z;
            }
            if (hasFog && v < object.fogCoords.size())
                object.flatFogCoords[at] = object.fogCoords[v];
            if (color != nullptr) {
                for (std::size_t c = 0; c < 4; ++c) object.flatColors[4 * at + c] = color[c];
            } else if (hasTexCoords && v < object.texCoords.size()) {
                object.flatTexCoords[2 * at] = object.texCoords[v].u;
                object.flatTexCoords[2 * at + 1] = object.texCoords[v].v;
            }
        }
    }
}

}  // namespace

void buildDrawArrays(Model3ds& model) {
    for (MeshObject3ds& object : model.objects) flatten(model, object);
}
