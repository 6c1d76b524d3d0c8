#pragma once

#include <cstdint>

#include "config/screen/config_editor.h"
#include "render/screen.h"

// The in-game settings editor: a tab bar of four image buttons (controls, game, save,
// cancel) and the rows of the focused page, driven by the keyboard (ConfigEditor): every
// press goes to the editor, releases are ignored. The game polls isDone().
class ConfigScreen : public Screen {
  public:
    // Loads the eight tab images (ends the process when one is missing). Needs the GL
    // context.
    explicit ConfigScreen(unsigned int background);

    // For a new visit: controls tab, no row selected, nothing open, not done.
    void reset() { editor_.reset(); }
    void draw() override;
    ScreenKey key(unsigned char character, bool up) override {
        if (!up) editor_.key(character);
        return ScreenKey::None;
    }
    bool isDone() const { return editor_.isDone(); }
    const ConfigEditor& editor() const { return editor_; }

  private:
    unsigned int background_;
    ConfigEditor editor_;
    // 0 to 3 the highlighted tabs, 4 to 7 the plain ones, in tab order.
    unsigned int names_[8] = {};
};
