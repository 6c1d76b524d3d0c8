#include "app/game.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

#include "app/about_screen.h"
#include "app/input_state.h"
#include "app/story_screen.h"
#include "config/screen/config_screen.h"
#include "config/settings.h"
#include "fx/sound_manager.h"
#include "platform/clock.h"
#include "platform/cursor.h"
#include "platform/frame_clock.h"
#include "render/gl_state.h"
#include "render/perspective.h"
#include "render/texture.h"

Game::Game(std::int32_t initialState) {
    loadTexture(&backgroundTexture_, "./textures/back.tga", 0);
    setState(initialState);
}

Game::~Game() = default;

void quit() {
    Game::destroyCurrent();
    std::fflush(stdout);
    std::fflush(stderr);
    std::exit(0);
}

int Game::setState(std::int32_t state) {
    state_ = state;
    switch (state) {
        case GameState::Menu:
            enterMenu();
            return 0;
        case GameState::Loading:
            menu_.reset();
            return 0;
        case GameState::Story:
            if (!storyScreen_) storyScreen_ = std::make_unique<StoryScreen>(backgroundTexture_);
            return 0;
        case GameState::About:
            if (!aboutScreen_) aboutScreen_ = std::make_unique<AboutScreen>(backgroundTexture_);
            return 0;
        case GameState::Config:
            enterConfig();
            return 0;
        case GameState::Playing:
        case GameState::Dead:
        case GameState::Respawn:
            return 0;
        case 2:
            return -2;
        default:
            return -1;
    }
}

void Game::enterMenu() {
    platform::hideCursor();
    applyBaseGlState();
    if (!menu_) menu_ = std::make_unique<MainMenu>(backgroundTexture_);
}

void Game::enterConfig() {
    if (!configScreen_) {
        configScreen_ = std::make_unique<ConfigScreen>(backgroundTexture_);
        return;
    }
    configScreen_->reset();
    // A short pause before the screen shows again.
    platform::sleepMs(500);
}

void Game::drawScreen() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glLoadIdentity();
    switch (state_) {
        case GameState::Menu:
            if (menu_) menu_->draw();
            break;
        case GameState::Story:
            if (storyScreen_) storyScreen_->draw();
            break;
        case GameState::About:
            if (aboutScreen_) aboutScreen_->draw();
            break;
        case GameState::Config:
            if (configScreen_) configScreen_->draw();
            break;
        default:
            break;
    }
    glFlush();
    glutSwapBuffers();
}

int Game::display() {
    switch (state_) {
        case GameState::Menu:
        case GameState::Story:
        case GameState::Config:
        case GameState::About:
        case GameState::Loading:
            drawScreen();
            return 0;
        case GameState::Playing:
        case GameState::Dead:
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
            glutSwapBuffers();
            return 0;
        case GameState::Respawn:
            state_ = GameState::Playing;
            return 0;
        case 2:
            return -2;
        default:
            return -1;
    }
}

void Game::idle() {
    if (state_ == GameState::Playing) FrameClock::tick();
    if (state_ == GameState::Config && configScreen_ && configScreen_->isDone())
        setState(GameState::Menu);
}

int Game::resize(int width, int height) {
    viewportWidth_ = width;
    viewportHeight_ = height;
    if (state_ == 2) return -2;
    if (state_ < 0 || state_ > GameState::Loading) return -1;
    // Every screen takes the new size: the 2D screens set their own projection when they
    // draw, and the match keeps the perspective of the configured field of view.
    setPerspective(width, height);
    glLoadIdentity();
    return 0;
}

void Game::key(unsigned char character, bool up, int /*x*/, int /*y*/) {
    switch (state_) {
        case GameState::Menu:
            keyMenu(character, up);
            break;
        case GameState::Story:
            // The story is read again on the next visit.
            if (character == GameKey::Esc) {
                storyScreen_.reset();
                setState(GameState::Menu);
            }
            break;
        case GameState::About:
            if (character == GameKey::Esc) setState(GameState::Menu);
            break;
        case GameState::Config:
            if (!up && configScreen_) configScreen_->key(character);
            break;
        case GameState::Playing:
            keyPlaying(character, up);
            break;
        case GameState::Dead:
            if (character == GameKey::Esc) quit();
            setState(GameState::Respawn);
            break;
        default:
            break;
    }
}

void Game::keyMenu(unsigned char character, bool up) {
    // Every key event in the menu, releases included, sounds.
    SoundManager::play(Sample::MenuKey, false, SoundManager::kMaxVolume, false);
    if (!menu_) return;
    if (character == GameKey::Up) {
        menu_->selectPrevious();
    } else if (character == GameKey::Down) {
        menu_->selectNext();
    } else if (character == GameKey::Enter && !up) {
        switch (menu_->getSelection()) {
            case MainMenu::kStart:
                setState(GameState::Loading);
                break;
            case MainMenu::kConfig:
                setState(GameState::Config);
                break;
            case MainMenu::kStory:
                setState(GameState::Story);
                break;
            case MainMenu::kAbout:
                setState(GameState::About);
                break;
            default:
                quit();
        }
    }
}

void Game::keyPlaying(unsigned char character, bool up) {
    const std::uint8_t held = up ? 0 : 1;
    const char c = static_cast<char>(character);
    if (c == Settings::getKeyForward()) {
        InputState::setForward(held);
    } else if (c == Settings::getKeyBack()) {
        InputState::setBackward(held);
    } else if (c == Settings::getKeyLeft()) {
        InputState::setLeft(held);
    } else if (c == Settings::getKeyRight()) {
        InputState::setRight(held);
    } else if (c == Settings::getKeyMachineGun() || c == Settings::getKeyRailGun() ||
               c == Settings::getKeyCenterView()) {
        // Weapon selection joins the match; the centre-view key has no action here.
    } else if (character == GameKey::Esc) {
        quit();
    }
}

void Game::special(int specialKey, int x, int y) {
    // GLUT reports no release for these.
    if (specialKey >= GLUT_KEY_LEFT && specialKey <= GLUT_KEY_DOWN)
        key(static_cast<unsigned char>(specialKey), false, x, y);
}

void Game::mouse(int button, int buttonState, int /*x*/, int /*y*/) {
    if (state_ != GameState::Playing && state_ != GameState::Dead) return;
    const std::uint8_t pressed = buttonState == GLUT_DOWN ? 1 : 0;
    if (button == GLUT_LEFT_BUTTON) InputState::setLeftButton(pressed);
    if (button == GLUT_RIGHT_BUTTON) InputState::setRightButton(pressed);
}
