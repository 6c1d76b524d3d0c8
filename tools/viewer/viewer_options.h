#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "showroom.h"

// What one run of the terrain viewer shows and how: a level of the game directory, the
// rendering switches that the game's settings and debug keys also have, and either an
// open-ended flight (interactive) or a fixed number of timed frames.
struct ViewerOptions {
    std::string gameDir = ".";
    std::int32_t level = 1;
    int width = 800;
    int height = 600;
    // Each unset switch keeps the value of the game directory's settings file.
    std::optional<std::int32_t> renderMode;
    std::optional<bool> lod;
    std::optional<bool> fog;
    std::optional<bool> culling;
    std::optional<bool> detail;  // the detail texture (multitexturing)
    bool sky = true;
    // The head-up display with sample values over the frame (instead of the readout),
    // and the lens flare when the sun is in view.
    bool hud = false;
    bool flare = false;
    // A timed run: this many frames spread evenly over one lap of the flight, after
    // `warmup` untimed frames; then the figures are printed and the viewer ends.
    int frames = 0;
    int warmup = 10;
    // Holds the camera at this many seconds into the flight instead of flying.
    std::optional<float> at;
    // Turn the camera away from the flight's own angles: pitch about y in degrees
    // (negative looks down), heading about z (0 along +x).
    std::optional<float> pitch;
    std::optional<float> heading;
    // Writes the last frame to this PNG file (with a timed run).
    std::string screenshot;
    // The match's objects placed on the level, seen from the layout's fixed cameras
    // instead of the flight: `view` names one (empty: the layout's first).
    std::optional<ShowroomLayout> objects;
    std::string view;
    std::optional<bool> shadow;  // the objects' stencil shadows
};

struct ParsedOptions {
    ViewerOptions options;
    bool help = false;
    std::string error;  // empty when the command line was understood
};

ParsedOptions parseViewerOptions(int argc, const char* const* argv);

extern const char* const kViewerUsage;
