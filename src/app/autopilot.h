#pragma once

#include <cstdint>

#include "app/match_input.h"
#include "combat/driving.h"
#include "pilot/pilot.h"

// The computer player's brain at the controls of the player's own Voka: each frame it
// sees what the player's World sees (the camera's eye and aim of the last frame, the
// other players, the items) and drives, looks, fires and picks the weapon as the
// player's keys and mouse would, at the same rates. Dead, it comes back after
// kRespawnSeconds as a key press would bring it. Keys and buttons then only end the
// game (Esc).
class Autopilot : public MatchInput {
  public:
    static constexpr float kRespawnSeconds = 3.0f;
    // The game's --autopilot plays as well as a computer player can.
    static constexpr std::int32_t kGameSkill = 5;

    Autopilot(std::int32_t skill, std::uint32_t seed);

    WorldInput read(World& world, float frameTime) override;
    bool takesKeys() const override { return false; }
    bool respawnNow(float nowSeconds) override;

  private:
    Pilot pilot_;
    driving::GroundHeight ground_;
    float deadSince_ = -1.0f;  // game clock seconds; negative while alive
};
