#pragma once

#include <array>
#include <optional>

#include "render/model_3ds.h"

class Frustum;

// The glare of the sun and the chain of rings and glows that a camera lens would throw
// from it towards the middle of the view. Drawn in the world's frame after the sky and
// the terrain (whose depth decides whether the sun is hidden) and before the vehicles.
// Main thread, with the GL context.
class LensFlare {
  public:
    enum Image { Glow, BigGlow, Halo, Streaks, kImages };

    struct Element {
        Image image;
        float t;         // 0 on the sun, 1 on the view axis at the sun's distance
        float halfSize;  // world units
        float colour[4];
    };
    static constexpr int kElements = 14;
    static const std::array<Element, kElements> kTable;

    // Where each element of the table goes for a camera at `camera` looking along the
    // unit direction `forward`: on the line from the sun to the point of the view axis
    // at the sun's distance, all on the sun when it is in the middle of the view. Empty
    // when an input is not finite.
    static std::optional<std::array<Vec3f, kElements>> elementPositions(const Vec3f& sun,
                                                                        const Vec3f& camera,
                                                                        const Vec3f& forward);

    // Whether the flare can show at all: the sun's point (radius 1) in the view volume.
    static bool inView(const Frustum& frustum, const Vec3f& sun);

    // The one pixel under a point and the point's own depth there (0 near, 1 far), from
    // OpenGL's matrices (column-major) and viewport; empty when the point falls outside
    // the viewport, where there is no depth to read.
    struct DepthProbe {
        int x = 0;
        int y = 0;
        double depth = 0.0;
        // Hidden when the depth buffer holds something nearer there.
        bool hiddenBy(float depthRead) const { return depthRead < depth; }
    };
    static std::optional<DepthProbe> depthProbe(const Vec3f& point, const double modelview[16],
                                                const double projection[16], const int viewport[4]);

    // Loads ./textures/Glow.bmp, BigGlow.bmp, Halo.bmp and Streaks.bmp (kept, unused).
    LensFlare();

    // With the camera's modelview matrix current and the sky and terrain drawn: the flare
    // when the sun is in the view of the current frustum and not hidden. `pitch` and
    // `yaw` are the camera's rotations about y and z in degrees, which turn each
    // element to face it. The elements add up with `transparency`, and are opaque
    // squares without it.
    void draw(const Vec3f& sun, const Vec3f& camera, const Vec3f& forward, float pitch,
              float yaw) const;

    // True when the depth buffer holds something nearer than `point` at the one pixel
    // under it (one depth read). A point outside the viewport counts as not hidden.
    static bool isOccluded(const Vec3f& point);

    // One element: a square of the image, `halfSize` world units either side of
    // `position`, facing a camera of this pitch and yaw.
    void drawElement(Image image, const float colour[4], const Vec3f& position, float halfSize,
                     float pitch, float yaw) const;

  private:
    unsigned int names_[kImages] = {};
};
