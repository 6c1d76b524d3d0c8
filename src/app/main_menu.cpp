#include "app/main_menu.h"

#include <GL/gl.h>

#include "fx/sound_manager.h"
#include "render/draw_2d.h"
#include "render/texture.h"

namespace {

struct EntryImage {
    const char* file;
    int slot;
};

// In the order they are loaded.
constexpr EntryImage kImages[] = {
    {"./textures/start_sel.tga", 0},  {"./textures/exit_sel.tga", 4},
    {"./textures/story_sel.tga", 2},  {"./textures/about_sel.tga", 3},
    {"./textures/config_sel.tga", 1}, {"./textures/start.tga", 5},
    {"./textures/exit.tga", 9},       {"./textures/story.tga", 6},
    {"./textures/about.tga", 8},      {"./textures/config.tga", 7},
};

// Plain image slot of each entry, in menu order.
constexpr int kPlainSlot[MainMenu::kEntryCount] = {5, 7, 6, 8, 9};

constexpr float kEntryTop = 0.6f;
constexpr float kEntryHeight = 0.25f;
constexpr float kEntryHalfWidth = 0.6f;

}  // namespace

MainMenu::MainMenu(unsigned int backgroundTexture) {
    textures_[kBackgroundSlot] = backgroundTexture;
    for (const EntryImage& image : kImages) loadTexture(textures_, image.file, image.slot);
}

void MainMenu::draw() {
    Overlay2d overlay;
    glEnable(GL_TEXTURE_2D);
    drawBackground(textures_[kBackgroundSlot]);
    for (int entry = 0; entry < kEntryCount; ++entry) {
        const int slot = entry == selection_ ? entry : kPlainSlot[entry];
        const float top = kEntryTop - kEntryHeight * static_cast<float>(entry);
        glBindTexture(GL_TEXTURE_2D, textures_[slot]);
        drawTexturedRect(-kEntryHalfWidth, top, kEntryHalfWidth, top - kEntryHeight);
    }
}

ScreenKey MainMenu::key(unsigned char character, bool up) {
    SoundManager::play(Sample::MenuKey, false, SoundManager::kMaxVolume, false);
    if (character == GameKey::Up) {
        selectPrevious();
    } else if (character == GameKey::Down) {
        selectNext();
    } else if (character == GameKey::Enter && !up) {
        return ScreenKey::Choose;
    }
    return ScreenKey::None;
}
