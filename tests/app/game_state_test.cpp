// The game's state machine in a real GLUT window: key rules per state, loading, the
// mouse buttons, the arrow keys, and resizing in every state.
#include <GL/freeglut.h>

#include <cmath>
#include <semaphore>
#include <tuple>

#include "app/loading_screen.h"
#include "combat/model_store.h"
#include "loopback.h"
#include "screen_fixture.h"

namespace {

// Prototype factories that each wait for the test's go, so that the loading screen can
// be read at every step.
std::counting_semaphore<64> g_nextPrototype{0};
std::unique_ptr<SceneObject> waitingPrototype() {
    g_nextPrototype.acquire();
    return nullptr;
}

using GameStateTest = GameDataTest;  // the match plays the game data's level 1

TEST_F(GameStateTest, LoadingShowsEachPercentageIgnoresKeysAndEndsConnecting) {
    constexpr int kSteps = static_cast<int>(Prototype::Count);
    while (g_nextPrototype.try_acquire()) {
    }
    for (int slot = 0; slot < kSteps; ++slot)
        ModelStore::setFactory(static_cast<Prototype>(slot), waitingPrototype);
    // However the test ends, the worker must be able to finish.
    struct OpenGate {
        ~OpenGate() { g_nextPrototype.release(kSteps); }
    } openGate;

    tap(GameKey::Enter);  // on "start"
    ASSERT_EQ(game->getState(), GameState::Loading);
    EXPECT_EQ(game->getMenu(), nullptr);
    const LoadingScreen& screen = *game->getLoadingScreen();
    std::vector<std::string> shown = {screen.statusText()};
    for (int step = 1; step <= kSteps; ++step) {
        for (unsigned char c : {GameKey::Esc, GameKey::Enter, GameKey::Up, GameKey::Down}) tap(c);
        game->special(GLUT_KEY_LEFT, 0, 0);
        game->mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
        ASSERT_EQ(game->getState(), GameState::Loading);
        g_nextPrototype.release();
        ASSERT_TRUE(loopback::eventually([&] { return screen.statusText() != shown.back(); }));
        shown.push_back(screen.statusText());
    }
    EXPECT_EQ(InputState::getLeftButton(), 0);
    // The frame that finds the worker ended uploads and says so; the next idle plays.
    ASSERT_TRUE(loopback::eventually([&] {
        game->display();
        return screen.isFinished();
    }));
    shown.push_back(screen.statusText());
    EXPECT_EQ(shown, (std::vector<std::string>{"loading:   0%", "loading:   9%", "loading:  18%",
                                               "loading:  27%", "loading:  36%", "loading:  45%",
                                               "loading:  55%", "loading:  64%", "loading:  73%",
                                               "loading:  82%", "loading:  90%", "loading:  95%",
                                               "loading: 100%", "connecting to server..."}));
    game->idle();
    EXPECT_EQ(game->getState(), GameState::Playing);
    EXPECT_EQ(game->getLoadingScreen(), nullptr);
    EXPECT_TRUE(errors.texts().empty());
    ModelStore::reset();
}

// The driving keys set their flags until released; an arrow whose code matches a
// binding ("e" is code 101, the Up arrow) sets that flag until the letter is released.
// The mouse buttons act only in the match. Any key when dead respawns (played in
// match_gl_test); of the special keys only the arrows reach the key rules.
TEST_F(GameStateTest, DrivingKeysArrowsAndMouseButtonsInTheMatchArrowsRespawn) {
    Settings::setKeyForward('e');
    Settings::setKeyBack('s');
    Settings::setKeyLeft('a');
    Settings::setKeyRight('d');
    game->setState(GameState::Playing);
    for (const char c : {'a', 's', 'd'}) press(c);
    game->special(GLUT_KEY_UP, 0, 0);
    game->special(GLUT_KEY_DOWN, 0, 0);  // "g" is bound to nothing
    EXPECT_EQ(InputState::getForward() + InputState::getLeft() + InputState::getBackward() +
                  InputState::getRight(),
              4);
    release('e');
    EXPECT_EQ(InputState::getForward(), 0);
    for (const int button : {GLUT_LEFT_BUTTON, GLUT_RIGHT_BUTTON, GLUT_MIDDLE_BUTTON})
        game->mouse(button, GLUT_DOWN, 0, 0);
    EXPECT_EQ(InputState::getLeftButton() + InputState::getRightButton(), 2);
    game->setState(GameState::Dead);
    game->mouse(GLUT_LEFT_BUTTON, GLUT_UP, 0, 0);
    EXPECT_EQ(InputState::getLeftButton(), 0);
    game->special(GLUT_KEY_F1, 0, 0);
    game->special(GLUT_KEY_HOME, 0, 0);
    EXPECT_EQ(game->getState(), GameState::Dead);
    game->special(GLUT_KEY_RIGHT, 0, 0);
    EXPECT_EQ(game->getState(), GameState::Respawn);
    press('q');  // ignored while respawning
    EXPECT_EQ(game->getState(), GameState::Respawn);
}

// The debug keys reach their table from any screen and act on the GL state at once: the
// filters and mipmap levels of the bound texture alone, the polygon mode, face culling.
TEST_F(GameStateTest, DebugKeysChangeTheGlStateOfTheMomentInAnyScreen) {
    GLuint textures[2];
    glGenTextures(2, textures);
    glBindTexture(GL_TEXTURE_2D, textures[1]);
    // A parameter of the bound texture, or else a state (the polygon mode has two values).
    const auto value = [](GLenum name) {
        GLint got[2] = {};
        name == GL_TEXTURE_MIN_FILTER || name == GL_TEXTURE_MAX_LEVEL
            ? glGetTexParameteriv(GL_TEXTURE_2D, name, got)
            : glGetIntegerv(name, got);
        return got[0];
    };
    game->setState(GameState::Story);
    // Key, the state it changes, its value after one press and after two.
    const std::tuple<int, GLenum, GLint, GLint> cases[] = {
        {GLUT_KEY_F4, GL_TEXTURE_MIN_FILTER, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR},
        {GLUT_KEY_F5, GL_TEXTURE_MAX_LEVEL, 1000, 0},
        {GLUT_KEY_F3, GL_POLYGON_MODE, GL_LINE, GL_FILL},
        {GLUT_KEY_PAGE_UP, GL_CULL_FACE, GL_FALSE, GL_TRUE}};
    for (const auto& [key, name, first, second] : cases)
        for (const GLint wanted : {first, second}) {
            game->special(key, 0, 0);
            EXPECT_EQ(value(name), wanted) << key;
        }
    EXPECT_EQ(game->getState(), GameState::Story);
    glBindTexture(GL_TEXTURE_2D, textures[0]);  // the other texture kept OpenGL's defaults
    EXPECT_EQ(value(GL_TEXTURE_MIN_FILTER), GL_NEAREST_MIPMAP_LINEAR);
    EXPECT_EQ(value(GL_TEXTURE_MAX_LEVEL), 1000);
    glDeleteTextures(2, textures);
}

// The projection is the perspective of the configured field of view: a 75 degree view
// puts 1/tan(37.5 deg) on the diagonal, divided by the aspect ratio for x. A zero height
// keeps the viewport and leaves the projection at identity. State values outside the
// table are refused.
TEST_F(GameStateTest, ResizeInAnyScreenOnlyUpdatesTheViewAndUnknownStatesAreRefused) {
    EXPECT_EQ(game->setState(2), -2);
    EXPECT_EQ(game->display(), -2);
    EXPECT_EQ(game->resize(100, 100), -2);
    EXPECT_EQ(game->setState(9), -1);
    EXPECT_EQ(game->display(), -1);
    for (const int state : std::initializer_list<int>{
             GameState::Menu, GameState::Story, GameState::About, GameState::Config,
             GameState::Loading, GameState::Playing, GameState::Dead, -1}) {
        if (state >= 0) game->setState(state);
        const int height = state >= 0 ? 100 : 0;
        const float diagonal = height > 0 ? 1.3032f : 1.0f;
        ASSERT_EQ(game->resize(200, height), 0) << state;
        GLint viewport[4] = {};
        GLfloat projection[16] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        EXPECT_TRUE(viewport[2] == 200 && viewport[3] == height &&
                    std::abs(projection[5] - diagonal) < 1e-3f &&
                    std::abs(projection[0] - (height > 0 ? diagonal / 2 : 1.0f)) < 1e-3f)
            << state << ": " << viewport[3] << " " << projection[0] << " " << projection[5];
    }
    EXPECT_TRUE(errors.texts().empty());
    game->resize(testing_support::GlTest::kWidth, testing_support::GlTest::kHeight);
}

}  // namespace
