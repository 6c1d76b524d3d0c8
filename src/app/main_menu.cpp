#include "app/main_menu.h"

// The menu images arrive with the game's data; until they are drawn the menu frame
// stays the cleared background that Game::display gives every screen.
void MainMenu::draw() {
    static_cast<void>(backgroundTexture_);
}
