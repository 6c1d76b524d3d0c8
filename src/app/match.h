#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/match_input.h"
#include "fx/screen_passes.h"
#include "net/match/world.h"

namespace demo {
class Playback;
class Recorder;
struct Frame;
}  // namespace demo

class Camera;
class Hud;
class LevelRegistry;
class SunLight;
struct HudInput;

// What an event of the match asks of the game's state machine.
enum class MatchRequest {
    None,
    EnterDead,      // with the state's entry actions
    EnterRespawn,   // with the state's entry actions
    ResumePlaying,  // back to Playing without them: the end of Respawn
};

// What the match takes from its surroundings; tests replace them. Empty members are
// the real ones.
struct MatchServices {
    // The pauses of the match start, in milliseconds: one that lets the server name the
    // level, one between the info request and the own Voka's announcement.
    std::function<void(std::uint32_t ms)> sleep;
    // The game's millisecond clock: the frame clock, the explosions and the motion blur
    // run by it.
    std::function<float()> clockMs;
    WorldServices world;
    // Where the own Voka's controls come from; empty: the keys and mouse.
    std::shared_ptr<MatchInput> input;
    // `voka --record`: the match goes into this demo as it is played.
    std::shared_ptr<demo::Recorder> recorder;
    // `voka --timedemo`: the match plays this demo, without a server and without the
    // player: the recorded frames drive the clock, the own Voka and the view.
    std::shared_ptr<demo::Playback> playback;
    // Called once the demo is over, instead of printing the timedemo's line and ending
    // the program.
    std::function<void()> demoEnded;
    // `voka --timedemo --frame-times`: where each timed frame's seconds go; empty: nowhere.
    std::string frameTimesPath;
};

// The running match, from its start to the end of the program: the work of the
// Playing, Dead and Respawn states, which the Game dispatches here. It owns the World
// (the match's objects, network and rules, net/match/), the camera, the head-up display
// and the sun, and composes each frame from them.
class Match {
  public:
    static constexpr float kSunX = -800.0f;
    static constexpr float kSunY = -800.0f;
    static constexpr float kSunZ = 2000.0f;
    static constexpr std::uint32_t kStartPauseMs = 1000;

    explicit Match(MatchServices services = {});
    ~Match();
    Match(const Match&) = delete;
    Match& operator=(const Match&) = delete;

    // The match start, on the main thread once loading has finished: the World and its
    // connection, the level, the terrain, fence, items, sky and own Voka, the camera,
    // the display, the player status, the sun, the announcements and the match's
    // OpenGL state. It blocks for the two pauses.
    void start();
    // Respawn's entry: the player status of a Voka that comes back, and the World's
    // respawn.
    void respawn();

    // Idle of the Playing state: the frame clock, the World's collide and update with
    // the input's controls; asks for Dead once the own Voka is dead.
    MatchRequest idle();
    // Idle of the Dead state: asks for Respawn when the input brings the Voka back.
    MatchRequest idleDead();
    // The display callback in Playing, Dead and Respawn.
    MatchRequest display(std::int32_t state);
    // Key events (press or release) in Playing, Dead and Respawn. Esc ends the program;
    // without an input that takes keys, nothing else counts.
    MatchRequest key(std::int32_t state, unsigned char character, bool up);
    // GLUT mouse buttons in Playing and Dead: left fires, right looks straight ahead
    // (when the input takes keys and buttons).
    void mouse(int button, int buttonState);

    World* getWorld() const { return world_.get(); }
    const SunLight* getSunLight() const { return sunLight_.get(); }

  private:
    void sleep(std::uint32_t ms) const;
    float clockMs() const;
    // The playback's frame under way (begun on the first call), null without a playback
    // or once the demo is over.
    const demo::Frame* playedFrame() const;
    // The player's side of the idle from a played frame instead of the keys and mouse.
    WorldInput playedInput(const demo::Frame& played);
    // What the recording keeps of the frame just drawn.
    demo::Frame recordedFrame(bool dead) const;
    // The end of a played demo: its figures, then the end of the program.
    MatchRequest endDemo();
    void addLevelItems();
    void keyPlaying(unsigned char character, bool up);
    // The frame of Playing (`dead` false) or Dead, as the frame composition orders it.
    void drawFrame(bool dead);

    MatchServices services_;
    std::shared_ptr<MatchInput> input_;
    // The last idle's clock (ms), frame time (s) and fire button, for the recording.
    float idleClockMs_ = 0.0f;
    float idleFrameTime_ = 0.0f;
    bool idleFire_ = false;
    bool clockPrimed_ = false;  // a playback has set the frame clock before its first frame
    bool warmedUp_ = false;     // a playback has drawn its first frame once, untimed
    MotionBlur motionBlur_;
    // Declared so that they go in the order the game's end wants: sun, World, camera,
    // display.
    std::unique_ptr<Hud> hud_;
    std::unique_ptr<Camera> camera_;
    std::unique_ptr<World> world_;
    std::unique_ptr<SunLight> sunLight_;
};

// The level the match plays, made current: the one the server named, or level 1 after a
// message when it named none (no server answered) or one the level file lacks.
std::int32_t settleMatchLevel(LevelRegistry& registry);

// The values the head-up display shows, from the player status.
HudInput hudInputFromStatus();
