#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "vec.h"

namespace datagen {

// Model-space geometry as the game uses it: Y up, the front of a vehicle towards -z.
// Faces are counter-clockwise seen from outside. Every vertex carries a texture
// coordinate, so vertices that differ only in (u, v) or that sit on a hard edge are
// separate vertices (the game averages normals over shared vertices).
struct MeshObject {
    std::string name;
    int material = 0;
    std::vector<Vec3> positions;
    std::vector<Vec2> uvs;
    std::vector<std::array<int, 3>> faces;

    int addVertex(Vec3 p, Vec2 uv);
    void addTriangle(int a, int b, int c) { faces.push_back({a, b, c}); }
    // Corners counter-clockwise seen from outside.
    void addQuad(int a, int b, int c, int d);
    // Appends another object's geometry, moved by `place`.
    void append(const MeshObject& other, const std::function<Vec3(Vec3)>& place = {});
    void flipFaces();
};

struct Material {
    std::string name;
    uint8_t red = 255, green = 255, blue = 255;
    std::string texture;  // file under textures/, empty for a plain colour
};

struct Model {
    std::vector<Material> materials;
    std::vector<MeshObject> objects;

    size_t triangleCount() const;
};

// The three levels of detail that every model file comes in.
enum class Detail { Full, Middle, Far };
// Picks the count for the given level of detail.
int pick(Detail detail, int full, int middle, int far);

// Turns the faces of a closed solid so that they face away from its inside.
void orientOutward(MeshObject& solid);

// A closed solid swept through cross-sections: ring i is a closed loop of points (all rings
// the same length), placed at texture u = us[i]. Texture v runs around each ring by arc
// length, or by `vs` (one more entry than a ring has points: the seam's 1) when given.
// The first and last rings are closed with flat caps, textured by projection, or all
// with texture v = capV (and the ring's u) when capV is not negative.
MeshObject loft(const std::vector<std::vector<Vec3>>& rings, const std::vector<float>& us,
                const std::vector<float>& vs = {}, float capV = -1);

// A solid of revolution about the axis through `centre` along `axis` (0 x, 1 y, 2 z).
// `profile` holds (axial offset, radius) from one end of the solid to the other; radius 0
// at an end closes it. Profile corners listed in `hardCorners` get split normals. Texture
// u runs around the axis, v along the profile by length, or by `vs` when given.
MeshObject lathe(const std::vector<Vec2>& profile, int segments, int axis, Vec3 centre,
                 const std::vector<int>& hardCorners = {}, const std::vector<float>& vs = {});

// An axis-aligned box with one texture square per face.
MeshObject box(Vec3 low, Vec3 high);

// A prism: the loop `outline` (x, y, convex or star-shaped about its centroid) extruded
// from z = z0 to z = z1, with an optional bevel of the cap edges.
MeshObject prism(const std::vector<Vec2>& outline, float z0, float z1, float bevel = 0);

// Moves and turns points: rotation by `degrees` about an axis through the origin, then a shift.
std::function<Vec3(Vec3)> rotateThenMove(int axis, float degrees, Vec3 shift);
std::function<Vec3(Vec3)> moveBy(Vec3 shift);

}  // namespace datagen
