#include "config/screen/config_screen.h"

#include <GL/gl.h>

#include "render/draw_2d.h"
#include "render/texture.h"

namespace {

constexpr const char* kTabImages[8] = {
    "./textures/controls_sel.tga", "./textures/game_sel.tga", "./textures/save_sel.tga",
    "./textures/cancel_sel.tga",   "./textures/controls.tga", "./textures/game.tga",
    "./textures/save.tga",         "./textures/cancel.tga",
};

// Horizontal extent of each tab button; they overlap, later ones on top.
struct TabSpan {
    float left;
    float right;
};
constexpr TabSpan kTabs[ConfigPage::Count] = {
    {-1.0f, -0.32f}, {-0.44f, 0.12f}, {-0.02f, 0.5f}, {0.35f, 1.0f}};
constexpr float kTabTop = 0.94f;
constexpr float kTabBottom = 0.73f;
constexpr int kPlainTabs = 4;

constexpr float kFirstRowY = 0.6f;
constexpr float kRowStep = 0.1f;
constexpr float kLabelX = -0.6f;
constexpr float kValueX = -0.1f;
constexpr float kHintX = 0.3f;

void drawTab(unsigned int texture, int tab) {
    glBindTexture(GL_TEXTURE_2D, texture);
    drawTexturedRect(kTabs[tab].left, kTabTop, kTabs[tab].right, kTabBottom);
}

}  // namespace

ConfigScreen::ConfigScreen(unsigned int background) : background_(background) {
    for (int i = 0; i < 8; ++i) loadTexture(names_, kTabImages[i], i);
}

void ConfigScreen::draw() {
    {
        Overlay2d overlay;
        glEnable(GL_TEXTURE_2D);
        glDisable(GL_COLOR_MATERIAL);
        drawBackground(background_);
        for (int tab = 0; tab < ConfigPage::Count; ++tab) drawTab(names_[kPlainTabs + tab], tab);
        const std::int32_t page = editor_.page();
        if (page >= 0 && page < ConfigPage::Count) drawTab(names_[page], page);
        glDisable(GL_TEXTURE_2D);

        const std::span<const ConfigRow> rows = configRows(page);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto row = static_cast<std::int32_t>(i + 1);
            const bool selected = row == editor_.item();
            const float y = kFirstRowY - kRowStep * static_cast<float>(i);
            if (selected)
                glColor3f(0.0f, 0.0f, 1.0f);
            else
                glColor3f(0.0f, 0.0f, 0.0f);
            drawText(kLabelX, y, rows[i].label);
            drawText(kValueX, y, editor_.valueText(row).c_str());
            if (selected && !editor_.editing()) drawText(kHintX, y, "Press Enter to change!");
        }
    }
    glColor3f(1.0f, 1.0f, 1.0f);
}
