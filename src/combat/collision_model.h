#pragma once

#include <array>
#include <vector>

// A triangle mesh for hit tests, in its own (model) space: does a segment cross any
// triangle, does a sphere touch any? Points on a triangle's border and segments lying in
// a triangle's plane count: a shot that grazes a face or runs along an edge hits. The
// tests work in double precision with a tolerance of 1e-5 model units, so a point that is
// on a face in float arithmetic is on it here.
//
// Input that is not finite (a NaN or an infinity anywhere) never hits.
class CollisionModel {
  public:
    using Point = std::array<float, 3>;

    void addTriangle(const Point& a, const Point& b, const Point& c);
    int triangleCount() const { return static_cast<int>(triangles_.size()); }

    // The segment from `origin` along `direction` (any length but zero) for `length`
    // units. A zero length, or a zero direction, crosses nothing.
    bool segmentHit(const float origin[3], const float direction[3], float length) const;
    // Whether the ball of `radius` around `centre` shares a point with a triangle.
    bool sphereHit(const float centre[3], float radius) const;

    struct Vec {
        double x, y, z;
    };
    struct Triangle {
        Vec a, b, c;
        Vec normal;  // unit length (zero for a degenerate triangle)
    };

  private:
    std::vector<Triangle> triangles_;
    Vec low_{0, 0, 0};  // bounds of every triangle
    Vec high_{0, 0, 0};
};

// The Voka's hit box in model space (before the drawing scale of 25): x from -0.133 to
// 0.133, y from 0 (the ground) to 0.427, z from -0.555 (the nose) to 0.1, as 12
// triangles: the rear face, the front, the bottom, the top, the left and right sides.
CollisionModel vokaCollisionBox();
