#pragma once

#include "render/screen.h"

// The about screen: the two authors' portraits side by side, each with the author's
// name and contact line below, and "Press ESC" at the bottom. Esc, pressed or released,
// goes back.
class AboutScreen : public Screen {
  public:
    // Loads both portraits (ends the process when one is missing). Needs the GL context.
    explicit AboutScreen(unsigned int backgroundTexture);

    void draw() override;
    ScreenKey key(unsigned char character, bool up) override;

  private:
    unsigned int backgroundTexture_;
    unsigned int portraits_[2] = {};  // 0 portrait_b (right), 1 portrait_a (left)
};
