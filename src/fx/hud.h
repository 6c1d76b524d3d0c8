#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class Level;

// The player's values the display shows, copied from the player status by the match
// each frame. Vectors are x, y, z, w in world units; only the ground-plane part of
// `eye` and the direction of `aim` are used.
struct HudInput {
    std::int32_t speed = 0;  // km/h, negative while reversing
    std::int32_t health = 0;
    std::int32_t armor = 0;
    std::int32_t frags = 0;
    std::int32_t weapon = 0;  // WEAPON_MG or WEAPON_RAIL
    std::int32_t ammo = 0;    // of `weapon`
    float eye[4] = {};        // camera position
    float aim[4] = {};        // view direction
};

// A point in the display's 2D units (both axes -1 to 1 across the window).
struct MapPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// One item of the level on the map: its item code and its place, converted once.
struct ItemBlip {
    std::uint8_t typeCode = 0;
    float x = 0.0f;
    float y = 0.0f;
};

// The map in the top-right corner shows the 1600 x 1600 arena turned by 180 degrees:
// world x = 0 at the right edge (0.9), x = 1600 at the left (0.6); y = 0 at the bottom
// (0.55), y = 1600 at the top (0.85). Points outside the arena land outside the map.
// Each step runs in double precision and is rounded to float after it.
MapPoint worldToMap(float x, float y);

// The heading line on the map, from the own marker a tenth of the map's width along the
// view direction (x mirrored like the map). Empty when the camera position or direction
// is not finite; a zero direction gives a line of no length.
struct MapSegment {
    MapPoint from;
    MapPoint to;
};
std::optional<MapSegment> headingLine(const float eye[4], const float aim[4]);

// Gear for a speed in km/h: 1 from -28 to 30 km/h, 2 from 31 to 60, and so on; 0 from
// -58 to -29.
std::int32_t gear(std::int32_t speedKmh);

// The shown engine speed: climbs from 2000 to 7800 rpm within each 30 km/h band and
// falls back at each band edge, plus a jitter of 0 to 100 that is a function of the
// frame time, so it flickers from frame to frame but is the same for the same step.
std::int32_t engineSpeed(std::int32_t speedKmh, float frameTime);

// The display's text lines in drawing order, each at its 2D position.
struct HudLine {
    static constexpr int kSize = 48;  // the longest line, two 32-bit numbers, fits
    float x = 0.0f;
    float y = 0.0f;
    char text[kSize] = {};
};
struct HudText {
    static constexpr int kMaxLines = 8;
    HudLine lines[kMaxLines];
    int count = 0;
    // The engine sound follows the speed right after this line is drawn.
    int engineLine = 0;
};
// The frames-per-second line only with `showFramerate`; the other lines keep their
// places either way.
HudText hudText(const HudInput& in, std::int32_t fps, float frameTime, bool showFramerate,
                std::int32_t fragLimit);

// The map blips of a level's items, in identifier order; none without a level.
std::vector<ItemBlip> itemBlips(const Level* level);

// The head-up display of a match: speed, engine speed and gear, health, armor, frags,
// ammunition, frames per second and the status message in red; the crosshair and the
// selected weapon's icon; the map of the arena with the items, the own position and the
// view direction. It also drives the engine sound from the speed. Main thread, with the
// GL context.
class Hud {
  public:
    // Loads the crosshair, its mask and the two weapon icons from ./textures/, takes the
    // current level's terrain texture from the shared table as the map, and places the
    // current level's items on it. Without a terrain texture (the shared table not yet
    // filled) the map is left out and the rest still draws.
    Hud();
    virtual ~Hud() = default;
    Hud(const Hud&) = delete;
    Hud& operator=(const Hud&) = delete;

    // Draws the display over the finished frame and updates the engine sound; does
    // nothing at all while `cockpit` is off, so the engine keeps its last volumes.
    void draw(const HudInput& in);

    const std::vector<ItemBlip>& blips() const { return blips_; }

  private:
    enum Slot { CrosshairMask, Crosshair, RailIcon, MgIcon, Map, kSlots = 10 };

    void drawCrosshairAndIcon(std::int32_t weapon) const;
    void drawMap(const HudInput& in) const;

    unsigned int names_[kSlots] = {};
    std::vector<ItemBlip> blips_;
};
