#pragma once

#include <cstdint>
#include <memory>

#include "fly_path.h"
#include "world/sky.h"
#include "world/sun_light.h"

// What the viewer draws: the current level's terrain under the sky, lit by the match's
// sun, with the ground fog, framed by the match's projection. Needs the GL context.
class TerrainScene {
  public:
    // Reads ./level.xml, makes `level` current and builds the terrain and the sky from
    // the working directory; `sky` false leaves the dome out. False, after a message on
    // stderr, when the level is not in the file.
    bool load(std::int32_t level, bool sky);

    // The match's projection for a window of this size.
    void resize(int width, int height);
    // One frame from the camera pose, ending with the readout line in the top left
    // corner (not swapped).
    void drawFrame(const Pose& camera, const char* readout);

    // Triangles of the terrain patches drawn in the last frame.
    std::int64_t terrainTriangles() const { return terrainTriangles_; }

  private:
    std::unique_ptr<Sky> sky_;
    bool showSky_ = true;
    SunLight sun_{-800.0f, -800.0f, 2000.0f};
    std::int64_t terrainTriangles_ = 0;
};

// The match's view transform for a camera at `pose`: heading about z, then the pitch
// about the camera's lateral axis, world z up turned into OpenGL's y up.
void applyFlyView(const Pose& pose);
