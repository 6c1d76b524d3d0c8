#include "app/about_screen.h"

#include <GL/gl.h>

#include "render/draw_2d.h"
#include "render/texture.h"

namespace {

constexpr int kPortraitB = 0;
constexpr int kPortraitA = 1;

struct Credit {
    float x;
    const char* name;
    const char* contact;
};

constexpr Credit kLeftAuthor = {-0.7f, "Ilka Voss, Voka Arena team", "team@voka-arena.example"};
constexpr Credit kRightAuthor = {0.3f, "Tavi Renn, Voka Arena team", "team@voka-arena.example"};

void drawCredit(const Credit& credit) {
    drawText(credit.x, -0.4f, credit.name);
    drawText(credit.x, -0.5f, credit.contact);
}

}  // namespace

AboutScreen::AboutScreen(unsigned int backgroundTexture) : backgroundTexture_(backgroundTexture) {
    loadTexture(portraits_, "./textures/portrait_b.bmp", kPortraitB);
    loadTexture(portraits_, "./textures/portrait_a.bmp", kPortraitA);
}

void AboutScreen::draw() {
    Overlay2d overlay;
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_COLOR_MATERIAL);
    drawBackground(backgroundTexture_);
    glBindTexture(GL_TEXTURE_2D, portraits_[kPortraitA]);
    drawTexturedRect(-0.85f, 0.6f, -0.15f, -0.2f);
    glBindTexture(GL_TEXTURE_2D, portraits_[kPortraitB]);
    drawTexturedRect(0.15f, 0.6f, 0.85f, -0.2f);
    glDisable(GL_TEXTURE_2D);
    glColor3f(0.0f, 0.0f, 0.0f);
    drawCredit(kLeftAuthor);
    drawCredit(kRightAuthor);
    drawText(-0.1f, -0.9f, "Press ESC");
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

ScreenKey AboutScreen::key(unsigned char character, bool /*up*/) {
    return character == GameKey::Esc ? ScreenKey::Back : ScreenKey::None;
}
