#pragma once

#include <cstdint>
#include <memory>

#include "world/sun_light.h"

class LevelRegistry;

// What an event of the match asks of the game's state machine.
enum class MatchRequest {
    None,
    EnterDead,      // with the state's entry actions
    EnterRespawn,   // with the state's entry actions
    ResumePlaying,  // back to Playing without them: the end of Respawn
};

// The running match, from its start to the end of the program: the work of the
// Playing, Dead and Respawn states, which the Game dispatches here. It owns the match's
// objects; the World of the match (its objects, network and rules, in net/match/), the
// camera and the head-up display join it as they are built.
class Match {
  public:
    static constexpr float kSunX = -800.0f;
    static constexpr float kSunY = -800.0f;
    static constexpr float kSunZ = 2000.0f;

    Match() = default;
    Match(const Match&) = delete;
    Match& operator=(const Match&) = delete;

    // The match start, on the main thread once loading has finished: the level, the
    // shared textures, the player status, the sun and the match's OpenGL state.
    void start();
    // Respawn's entry: the player status of a Voka that comes back.
    void respawn();

    // Idle of the Playing state: advances the frame clock.
    void idle();
    // The display callback in Playing, Dead and Respawn.
    MatchRequest display(std::int32_t state);
    // Key events (press or release) in Playing, Dead and Respawn. Esc ends the program.
    MatchRequest key(std::int32_t state, unsigned char character, bool up);
    // GLUT mouse buttons in Playing and Dead: left fires, right looks straight ahead.
    void mouse(int button, int buttonState);

    const SunLight* getSunLight() const { return sunLight_.get(); }

  private:
    void keyPlaying(unsigned char character, bool up);

    std::unique_ptr<SunLight> sunLight_;
};

// The level the match plays, made current: the one the server named, or level 1 after a
// message when it named none (no server answered) or one the level file lacks.
std::int32_t settleMatchLevel(LevelRegistry& registry);
