#pragma once

#include <cstdint>
#include <optional>

#include "combat/driving.h"

// What shapes mouse look, from the settings: the window size (its centre, by integer
// division, is where the cursor rests), the sensitivity and the inversion of pitch.
struct MouseLookSettings {
    std::int32_t windowWidth = 0;
    std::int32_t windowHeight = 0;
    std::int32_t sensitivity = 0;
    bool invert = false;

    static MouseLookSettings fromSettings();
};

// The turn one frame's cursor movement asks for: the cursor's offset from the window
// centre in pixels, divided by 50 as a real number (a slow hand moves a few pixels a
// frame) and scaled by the sensitivity; "Invert Mouse: Yes" turns the pitch round.
// Nothing when the cursor rests at the centre.
std::optional<LookTurn> lookTurn(int cursorX, int cursorY, const MouseLookSettings& settings);

// The turn that brings the look angles (yaw, pitch) back to straight ahead: the
// centre-view key.
LookTurn centreViewTurn(float lookYaw, float lookPitch);

// Mouse look in the game window, one read a frame: reads the cursor, puts it back at
// the centre and returns the turn. While the window does not have the keyboard focus it
// neither reads nor moves the cursor, which then belongs to the rest of the desktop; the
// first frame with the focus again only takes the cursor back to the centre, so where it
// wandered meanwhile is no turn of the look (a player clicking back into the game would
// otherwise find the view thrown round). Main thread, with the window's context current.
class MouseLook {
  public:
    std::optional<LookTurn> read(const MouseLookSettings& settings);

  private:
    bool focused_ = false;  // the window had the focus last frame
};
