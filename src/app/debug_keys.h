#pragma once

#include <optional>

// The function keys that switch rendering options while the game runs, in every state.
// Each changes its setting in memory only (the settings file is written by the
// configuration screen's save alone) and says what it did in the status message.

// The GL state that follows a key's setting at once.
enum class DebugGl {
    None,
    PolygonMode,     // wireframe: lines or filled polygons
    TextureFilters,  // filters of the texture bound at that moment
    MipmapLevels,    // mipmap levels of the texture bound at that moment
    CullFace,        // back-face culling on or off
};

struct DebugKeyEffect {
    const char* message = nullptr;  // nullptr: nothing to say
    bool error = false;             // shown as an error box, not a status line
    DebugGl gl = DebugGl::None;
};

// Applies one GLUT special key to the settings and says what to show; nothing for a
// key that is no debug key (the arrows, F12). The cycling keys step their number on
// with the remainder taking the dividend's sign, so a number below 0 from a hand-made
// settings file comes round through values that have no message (the render mode's
// then reports an error).
std::optional<DebugKeyEffect> toggleDebugSetting(int glutKey);

// Brings the GL state named by `what` in line with the settings. Needs the GL context.
void applyDebugGl(DebugGl what);

// A debug key as the special-key callback receives it: the setting, its GL state and
// its message.
void debugKey(int glutKey);
