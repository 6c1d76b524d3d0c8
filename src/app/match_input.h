#pragma once

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
