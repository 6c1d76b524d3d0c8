#include "app/run_game.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/autopilot.h"
#include "app/command_line.h"
#include "app/game.h"
#include "app/input_state.h"
#include "combat/prototypes.h"
#include "config/settings.h"
#include "fx/sound_manager.h"
#include "net/demo/demo_format.h"
#include "net/demo/demo_playback.h"
#include "net/demo/demo_recorder.h"
#include "platform/clock.h"
#include "platform/display_probe.h"
#include "platform/frame_clock.h"
#include "platform/gl_driver.h"
#include "platform/message_box.h"
#include "platform/message_dialog.h"
#include "render/gl_extensions.h"
#include "world/ground_fog.h"

namespace {

// GLUT callbacks: thin forwarders to the one game.
void onDisplay() {
    if (Game::current()->display() != 0) {
        showError("error in display");
        quit();
    }
}

void onReshape(int width, int height) {
    if (Game::current()->resize(width, height) != 0) {
        showError("error in resize");
        quit();
    }
}

// With VOKA_TRACE_INPUT set, every key event the game receives is one line on standard
// error, so that scripts driving the game by its keyboard can wait for each key to arrive
// instead of guessing how long the game takes.
void traceInput(const char* what, int code) {
    static const bool trace = std::getenv("VOKA_TRACE_INPUT") != nullptr;
    if (!trace) return;
    std::fprintf(stderr, "input: %s %d\n", what, code);
    std::fflush(stderr);
}

void onKeyboard(unsigned char character, int x, int y) {
    traceInput("key down", character);
    Game::current()->key(character, false, x, y);
}

void onKeyboardUp(unsigned char character, int x, int y) {
    traceInput("key up", character);
    Game::current()->key(character, true, x, y);
}

void onMouse(int button, int buttonState, int x, int y) {
    Game::current()->mouse(button, buttonState, x, y);
}

void onIdle() {
    Game::current()->idle();
    glutPostRedisplay();
}

void onSpecial(int key, int x, int y) {
    traceInput("special down", key);
    Game::current()->special(key, x, y);
}

// The game acts on function and arrow keys when they are pressed; their release is only
// traced.
void onSpecialUp(int key, int /*x*/, int /*y*/) {
    traceInput("special up", key);
}

}  // namespace

void initialWindowSize(int& width, int& height) {
    width = Settings::getWindowWidth();
    height = Settings::getWindowHeight();
    if (width <= 0 || height <= 0) {
        width = 800;
        height = 600;
    }
}

void runGame(int argc, char** argv) {
    const CommandLine options = parseCommandLine(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "voka: %s\n%s", options.error.c_str(), commandLineUsage());
        std::exit(kBadArgumentsExitCode);
    }
    if (options.help) {
        std::fputs(commandLineUsage(), stdout);
        std::exit(0);
    }

    // A demo that cannot be played ends the run before any window opens.
    MatchServices matchServices;
    if (!options.timedemoPath.empty()) {
        demo::ReadResult read = demo::loadDemo(options.timedemoPath);
        if (!read.demo) {
            std::fprintf(stderr, "voka: %s\n", read.error.c_str());
            std::exit(1);
        }
        matchServices.playback = std::make_shared<demo::Playback>(std::move(*read.demo));
        matchServices.frameTimesPath = options.frameTimesPath;
    } else if (!options.recordPath.empty()) {
        matchServices.recorder = std::make_shared<demo::Recorder>(options.recordPath);
    }
    const bool straightToMatch = options.start || matchServices.playback;

    platform::initWindowSystemThreads();
    platform::startClock();
    platform::DisplayProbe probe = platform::openDisplay();
    if (!probe) {
        std::fprintf(stderr, "voka: no X display available: set DISPLAY to a running X server\n");
        std::exit(1);
    }

    // Process-wide stores, in the order the rest of the game relies on.
    Settings::create();
    applyCommandLine(options);
    InputState::reset();
    FrameClock::reset();
    SoundManager::create();
    registerPrototypes();

    const bool fullScreen = platform::askYesNo("Switch to FullScreen?", "Run in Fullscreen Mode?");

    int width = 0;
    int height = 0;
    initialWindowSize(width, height);
    glutInitWindowSize(width, height);
    glutInitWindowPosition(200, 200);
    std::vector<char*> glutArgv;
    for (const std::string& arg : options.glutArgs)
        glutArgv.push_back(const_cast<char*>(arg.c_str()));
    int glutArgc = static_cast<int>(glutArgv.size());
    glutArgv.push_back(nullptr);
    glutInit(&glutArgc, glutArgv.data());
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ACCUM | GLUT_DEPTH | GLUT_STENCIL);
    glutCreateWindow(argv[0]);
    platform::pinGlDriver();
    probe.reset();
    gl_ext::loadExtensions();
    ground_fog::setUp();
    // Returning from the loop (window closed by the window manager) ends the game too.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);

    // A demo being played drives the own Voka itself; the autopilot may drive a recording.
    if (options.autopilot && !matchServices.playback)
        matchServices.input =
            std::make_shared<Autopilot>(Autopilot::kGameSkill, platform::timeGetTime());
    Game::install(std::make_unique<Game>(straightToMatch ? GameState::Loading : GameState::Menu,
                                         std::move(matchServices)));
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT |
            GL_ACCUM_BUFFER_BIT);

    glutDisplayFunc(onDisplay);
    glutReshapeFunc(onReshape);
    glutKeyboardFunc(onKeyboard);
    glutKeyboardUpFunc(onKeyboardUp);
    glutMouseFunc(onMouse);
    glutIdleFunc(onIdle);
    glutSpecialFunc(onSpecial);
    glutSpecialUpFunc(onSpecialUp);
    glutIgnoreKeyRepeat(1);

    if (fullScreen) glutFullScreen();
    glutMainLoop();
    quit();
}
