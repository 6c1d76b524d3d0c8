#pragma once

#include <cstdint>

#include "render/screen.h"

// The main menu: five image entries from top to bottom, one of them highlighted. Every
// key event sounds; "e" and "g" (also the Up and Down arrows) move the highlight on
// press and on release, and Enter on press chooses the highlighted entry.
class MainMenu : public Screen {
  public:
    static constexpr std::int32_t kStart = 0;
    static constexpr std::int32_t kConfig = 1;
    static constexpr std::int32_t kStory = 2;
    static constexpr std::int32_t kAbout = 3;
    static constexpr std::int32_t kExit = 4;
    static constexpr std::int32_t kEntryCount = 5;

    // Loads the ten entry images (ends the process when one is missing). Needs the GL
    // context.
    explicit MainMenu(unsigned int backgroundTexture);

    void draw() override;
    ScreenKey key(unsigned char character, bool up) override;

    std::int32_t getSelection() const { return selection_; }
    // Down, wrapping from exit to start.
    void selectNext() { selection_ = (selection_ + 1) % kEntryCount; }
    // Up, wrapping from start to exit.
    void selectPrevious() {
        selection_ -= 1;
        if (selection_ < 0) selection_ = kEntryCount - 1;
    }

  private:
    // Slots 0 to 4 the highlighted images of the entries in menu order, 5 to 9 the plain
    // ones (start, story, config, about, exit), 10 the background.
    static constexpr int kBackgroundSlot = 10;

    std::int32_t selection_ = kStart;
    unsigned int textures_[11] = {};
};
