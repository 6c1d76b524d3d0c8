#pragma once

#include <cstdint>

// The main menu: five entries from top to bottom, one of them selected.
class MainMenu {
  public:
    static constexpr std::int32_t kStart = 0;
    static constexpr std::int32_t kConfig = 1;
    static constexpr std::int32_t kStory = 2;
    static constexpr std::int32_t kAbout = 3;
    static constexpr std::int32_t kExit = 4;
    static constexpr std::int32_t kEntryCount = 5;

    explicit MainMenu(unsigned int backgroundTexture) : backgroundTexture_(backgroundTexture) {}
    virtual ~MainMenu() = default;

    void draw();

    std::int32_t getSelection() const { return selection_; }
    // Down, wrapping from exit to start.
    void selectNext() { selection_ = (selection_ + 1) % kEntryCount; }
    // Up, wrapping from start to exit.
    void selectPrevious() {
        selection_ -= 1;
        if (selection_ < 0) selection_ = kEntryCount - 1;
    }

  private:
    std::int32_t selection_ = kStart;
    unsigned int backgroundTexture_;
};
