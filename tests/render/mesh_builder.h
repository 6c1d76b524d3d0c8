#pragma once

#include <array>
#include <utility>
#include <vector>

#include "render/model_3ds.h"
#include "render/scene_object.h"

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

// A scene object that draws every object of its first model, for the drawing tests.
class TestObject : public SceneObject {
  public:
    int draw(Pose, const float*) override {
        for (int i = 0; i < static_cast<int>(models[0]->objects.size()); ++i)
            drawObject(*models[0], i);
        return 0;
    }
    int update() override { return 0; }
    int initGL() override {
        buildBuffers();
        buildDisplayLists();
        return 0;
    }
    using SceneObject::castShadow;
    using SceneObject::modelAt;
    using SceneObject::prepareModels;
};
