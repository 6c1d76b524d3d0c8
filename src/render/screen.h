#pragma once

// Key codes that the keyboard callbacks deliver to the screens and the match.
struct GameKey {
    static constexpr unsigned char Backspace = 8;
    static constexpr unsigned char Enter = 13;
    static constexpr unsigned char Esc = 27;
    // The arrow keys arrive through the special-key callback with GLUT's codes and are
    // handed on as these characters: "d", "e", "f", "g".
    static constexpr unsigned char Left = 100;
    static constexpr unsigned char Up = 101;
    static constexpr unsigned char Right = 102;
    static constexpr unsigned char Down = 103;
};

// What a key event asks of the game, as a screen answers it.
enum class ScreenKey {
    None,    // the screen handled it, or ignores it
    Back,    // leave this screen for the menu
    Choose,  // act on the screen's selection
};

// One of the 2D screens around the match: the menu, the story, the about screen, the
// configuration and the loading screen. The game clears the frame, lets the screen of
// its state draw and swaps; it hands that screen every key event of the state and acts
// on the answer. Everything runs on the main thread.
class Screen {
  public:
    virtual ~Screen() = default;
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    virtual void draw() = 0;
    // A press (`up` false) or a release of `character`.
    virtual ScreenKey key(unsigned char character, bool up) = 0;

  protected:
    Screen() = default;
};
