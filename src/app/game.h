#pragma once

#include <cstdint>
#include <memory>

#include "app/game_state.h"
#include "app/main_menu.h"
#include "app/match.h"
#include "render/screen.h"

class AboutScreen;
class ConfigScreen;
class LoadingScreen;
class StoryScreen;

// The one game: the state machine that owns the screens and the match, and dispatches
// every GLUT callback by its current state: the 2D screens to their Screen interface,
// Playing, Dead and Respawn to the Match. All of it runs on the main thread, which owns
// the GL context.
class Game {
  public:
    // `initialState` is Menu, or Loading for a run that goes straight to the match; the
    // match is made with `matchServices`.
    explicit Game(std::int32_t initialState, MatchServices matchServices = {});
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Stores the state and runs its entry actions: 0, -1 above 8, -2 for 2.
    int setState(std::int32_t state);
    std::int32_t getState() const { return state_; }

    int display();
    void idle();
    int resize(int width, int height);
    void key(unsigned char character, bool up, int x, int y);
    void mouse(int button, int buttonState, int x, int y);
    // GLUT special keys: the arrows are handed to key() as their codes 100 to 103, the
    // others are the debug keys, in every state.
    void special(int key, int x, int y);

    MainMenu* getMenu() const { return menu_.get(); }
    StoryScreen* getStoryScreen() const { return storyScreen_.get(); }
    AboutScreen* getAboutScreen() const { return aboutScreen_.get(); }
    ConfigScreen* getConfigScreen() const { return configScreen_.get(); }
    LoadingScreen* getLoadingScreen() const { return loadingScreen_.get(); }
    Match* getMatch() const { return match_.get(); }
    int getViewportWidth() const { return viewportWidth_; }
    int getViewportHeight() const { return viewportHeight_; }

    // The process-wide game that the GLUT callbacks reach.
    static Game* current() { return s_current.get(); }
    static void install(std::unique_ptr<Game> game) { s_current = std::move(game); }
    static void destroyCurrent() { s_current.reset(); }

  private:
    void prepareWindow();
    void enterConfig();
    void enterPlaying();
    bool inMatch() const;
    Screen* currentScreen() const;
    void keyScreen(Screen& screen, unsigned char character, bool up);
    void follow(MatchRequest request);

    MatchServices matchServices_;
    std::int32_t state_ = GameState::Menu;
    int viewportWidth_ = 0;
    int viewportHeight_ = 0;
    std::unique_ptr<Match> match_;
    std::unique_ptr<MainMenu> menu_;
    std::unique_ptr<LoadingScreen> loadingScreen_;
    std::unique_ptr<StoryScreen> storyScreen_;
    std::unique_ptr<AboutScreen> aboutScreen_;
    std::unique_ptr<ConfigScreen> configScreen_;
    unsigned int backgroundTexture_ = 0;  // "./textures/back.tga", shared by the 2D screens

    static inline std::unique_ptr<Game> s_current;
};

// Destroys the game and ends the process with `exitCode`.
[[noreturn]] void quit(int exitCode = 0);
