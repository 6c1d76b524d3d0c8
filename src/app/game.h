#pragma once

#include <cstdint>
#include <memory>

#include "app/main_menu.h"

class StoryScreen;
class AboutScreen;
class ConfigScreen;

// Screen states of the game. Value 2 is never entered; setState, display and resize
// answer it with -2.
struct GameState {
    enum : std::int32_t {
        Menu = 0,
        Playing = 1,
        Dead = 3,
        Respawn = 4,
        About = 5,
        Story = 6,
        Config = 7,
        Loading = 8,
    };
};

// Key codes that the keyboard callbacks deliver.
struct GameKey {
    static constexpr unsigned char Enter = 13;
    static constexpr unsigned char Esc = 27;
    // The arrow keys arrive through the special-key callback with GLUT's codes and are
    // handed on as these characters: "d", "e", "f", "g".
    static constexpr unsigned char Left = 100;
    static constexpr unsigned char Up = 101;
    static constexpr unsigned char Right = 102;
    static constexpr unsigned char Down = 103;
};

// The one game: owns the screens and the match, and dispatches every GLUT callback by
// its current state. All of it runs on the main thread, which owns the GL context.
class Game {
  public:
    explicit Game(std::int32_t initialState);
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
    // GLUT special keys: the arrows are handed to key() as their codes 100 to 103.
    void special(int key, int x, int y);

    MainMenu* getMenu() const { return menu_.get(); }
    StoryScreen* getStoryScreen() const { return storyScreen_.get(); }
    AboutScreen* getAboutScreen() const { return aboutScreen_.get(); }
    ConfigScreen* getConfigScreen() const { return configScreen_.get(); }
    int getViewportWidth() const { return viewportWidth_; }
    int getViewportHeight() const { return viewportHeight_; }

    // The process-wide game that the GLUT callbacks reach.
    static Game* current() { return s_current.get(); }
    static void install(std::unique_ptr<Game> game) { s_current = std::move(game); }
    static void destroyCurrent() { s_current.reset(); }

  private:
    void enterMenu();
    void enterConfig();
    void keyMenu(unsigned char character, bool up);
    void keyPlaying(unsigned char character, bool up);
    void drawScreen();

    std::int32_t state_ = GameState::Menu;
    int viewportWidth_ = 0;
    int viewportHeight_ = 0;
    std::unique_ptr<MainMenu> menu_;
    std::unique_ptr<StoryScreen> storyScreen_;
    std::unique_ptr<AboutScreen> aboutScreen_;
    std::unique_ptr<ConfigScreen> configScreen_;
    float lastBlurTime_ = 0.0f;           // milliseconds
    unsigned int backgroundTexture_ = 0;  // "./textures/back.tga", shared by the 2D screens

    static inline std::unique_ptr<Game> s_current;
};

// Destroys the game and ends the process with exit code 0.
[[noreturn]] void quit();
