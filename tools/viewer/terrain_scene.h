#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "fly_path.h"
#include "fx/hud.h"
#include "fx/lens_flare.h"
#include "showroom.h"
#include "world/sky.h"
#include "world/sun_light.h"

// What the viewer draws: the current level's terrain under the sky, lit by the match's
// sun, with the ground fog, framed by the match's projection; the showroom's objects
// with their shadows when it has them; the lens flare with the `lensflare` setting, and
// the head-up display with sample values while `cockpit` is on (the readout otherwise).
// Needs the GL context.
class TerrainScene {
  public:
    // Reads ./level.xml, makes `level` current and builds the terrain, the sky, the lens
    // flare and the head-up display from the working directory; `sky` false leaves the
    // dome out; with `objects` the showroom of that layout. False, after a message on
    // stderr, when the level is not in the file.
    bool load(std::int32_t level, bool sky, std::optional<ShowroomLayout> objects);

    // The match's projection for a window of this size.
    void resize(int width, int height);
    // One frame from the camera, ending with the head-up display or the readout line in
    // the top left corner (not swapped).
    void drawFrame(const ViewerCamera& camera, const char* readout);

    // The showroom, when the scene has one.
    const Showroom* showroom() const { return showroom_.get(); }

    // Triangles of the terrain patches drawn in the last frame.
    std::int64_t terrainTriangles() const { return terrainTriangles_; }

  private:
    std::unique_ptr<Sky> sky_;
    std::unique_ptr<LensFlare> flare_;
    std::unique_ptr<Hud> hud_;
    std::unique_ptr<Showroom> showroom_;
    bool showSky_ = true;
    SunLight sun_{-800.0f, -800.0f, 2000.0f};
    std::int64_t terrainTriangles_ = 0;
};

// The unit view direction of that camera in world coordinates.
Vec3f flyViewDirection(const Pose& pose);
// What the viewer's head-up display shows: made-up player values, and the camera's own
// position and view direction for the map.
HudInput sampleHudInput(const Pose& pose);
