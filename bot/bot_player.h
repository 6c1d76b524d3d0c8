#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "bot/game_data.h"
#include "net/match/match_core.h"
#include "net/player_status.h"
#include "pilot/pilot.h"

namespace bot {

struct BotSetup {
    std::string name;  // "Bot 1", ...
    std::uint8_t vokaType = TYPE_VOKA_RED;
    std::int32_t skill = 3;          // 1 to 5
    std::uint32_t seed = 1;          // the pilot's and the start points' randomness
    std::int32_t fallbackLevel = 1;  // played when the server names none it knows
};

// One computer player: a connection to the server that behaves on the wire as a game
// client does, because it plays the game's own match (MatchCore) with the game's
// network client, and a Pilot at the controls. It has no window and no clock of its
// own: each step() is one frame of the given length, and everything it waits for
// (the start's pauses, the respawn) is counted in those frames.
//
// Its start follows the game's: it connects, waits for its client number and the level
// (at most kJoinSeconds), places the level's items and its Voka, asks the others for
// their names and frags, and one second later announces its Voka. Dead, it comes back
// at a random start point two to four seconds later.
class BotPlayer {
  public:
    static constexpr float kJoinSeconds = 5.0f;
    static constexpr float kAnnounceSeconds = 1.0f;

    BotPlayer(const BotSetup& setup, const GameData& data);
    BotPlayer(const BotPlayer&) = delete;
    BotPlayer& operator=(const BotPlayer&) = delete;

    // Connects; false when the server cannot be reached.
    bool connect(const char* host, std::uint16_t port);
    // One frame of `dt` seconds. With `pilot` false the Voka stands idle (a match that
    // is winding down).
    void step(float dt, bool pilot = true);

    // Connected and not given up by the server.
    bool isOnline() const { return match_.isOnline(); }
    // Its Voka is in the match (announced).
    bool isPlaying() const { return phase_ == Phase::Playing; }
    const std::string& name() const { return setup_.name; }
    std::int32_t frags() const { return player_.getFrags(); }
    std::int32_t deaths() const { return deaths_; }
    std::int32_t respawns() const { return respawns_; }
    const MatchCore& match() const { return match_; }

  private:
    enum class Phase { Joining, Announcing, Playing };

    void setUp();
    void play(float dt, bool pilot);
    // What the camera of the own Voka tells the player's values for its shots, as the
    // game's camera and its drawing of the own Voka do each frame.
    void aimFromCamera();

    BotSetup setup_;
    const GameData& data_;
    PlayerRecord player_;
    const Heightmap* ground_ = nullptr;  // the current level's; flat while none
    driving::GroundHeight groundHeight_;
    std::mt19937 random_;
    MatchCore match_;
    Pilot pilot_;
    Phase phase_ = Phase::Joining;
    float clock_ = 0.0f;
    float announceAt_ = 0.0f;
    float respawnAt_ = -1.0f;  // set while dead
    std::int32_t deaths_ = 0;
    std::int32_t respawns_ = 0;
};

}  // namespace bot
