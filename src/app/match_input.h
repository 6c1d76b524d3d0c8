#pragma once

#include "net/match/mouse_look.h"
#include "net/match/world.h"

// Where the own Voka's controls come from, frame by frame: the player's keys and mouse
// (KeyboardInput) or the autopilot. The Match reads it once each idle of Playing, and
// asks it each idle of Dead whether the Voka comes back.
class MatchInput {
  public:
    virtual ~MatchInput() = default;

    // The driving keys, buttons and look turn of one frame of `frameTime` seconds; the
    // Match adds the clocks.
    virtual WorldInput read(World& world, float frameTime) = 0;
    // Whether the player's keys and buttons drive; without, only Esc counts.
    virtual bool takesKeys() const = 0;
    // Dead: whether the Voka comes back now (the game clock in seconds). The keys bring
    // it back otherwise.
    virtual bool respawnNow(float nowSeconds) = 0;
};

// The player at the keyboard and mouse: the flags the match's keys and buttons set in
// InputState, and mouse look from the cursor (which it puts back at the window's
// centre). Main thread, with the window's context current.
class KeyboardInput : public MatchInput {
  public:
    WorldInput read(World& world, float frameTime) override;
    bool takesKeys() const override { return true; }
    bool respawnNow(float /*nowSeconds*/) override { return false; }

  private:
    MouseLook mouseLook_;
};
