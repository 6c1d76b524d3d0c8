#pragma once

// The six planes of the view volume in world coordinates, for culling whole objects.
// Each plane is (a, b, c, d) with a unit normal (a, b, c) pointing inwards: a point p is
// on the inner side when a·p.x + b·p.y + c·p.z + d > 0. Planes in the order right, left,
// bottom, top, far, near.
class Frustum {
  public:
    enum Plane { Right, Left, Bottom, Top, Far, Near, kPlaneCount };

    static Frustum& instance();

    // Recomputes the planes from the current OpenGL projection and modelview matrices;
    // called once a frame after the camera transform.
    void extract();
    // The same from the two matrices (16 floats each, column-major). Only the entries
    // that a symmetric perspective projection has are read from `projection`.
    void extract(const float projection[16], const float modelview[16]);

    // False when the sphere lies entirely on the outer side of a plane; a sphere that
    // only touches a plane from outside counts as outside.
    bool sphereVisible(float x, float y, float z, float radius) const;

    const float* plane(int index) const { return planes_[index]; }

  private:
    float planes_[kPlaneCount][4] = {};
};
