#pragma once

#include <array>
#include <utility>
#include <vector>

#include "render/model_3ds.h"

// A mesh object of the given vertices and triangles (vertex indices), nothing else set.
inline MeshObject3ds mesh(std::vector<Vec3f> vertices,
                          const std::vector<std::array<int, 3>>& triangles) {
    MeshObject3ds o;
    o.vertices = std::move(vertices);
    for (const auto& t : triangles) {
        Face3ds f;
        for (int k = 0; k < 3; ++k) f.vertex[k] = t[k];
        o.faces.push_back(f);
    }
    o.vertexCount = static_cast<std::int32_t>(o.vertices.size());
    o.faceCount = static_cast<std::int32_t>(o.faces.size());
    return o;
}
