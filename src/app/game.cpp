#include "app/game.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

#include "app/about_screen.h"
#include "app/debug_keys.h"
#include "app/loading_screen.h"
#include "app/story_screen.h"
#include "config/screen/config_screen.h"
#include "config/settings.h"
#include "platform/clock.h"
#include "platform/cursor.h"
#include "render/gl_state.h"
#include "render/perspective.h"
#include "render/texture.h"

Game::Game(std::int32_t initialState, MatchServices matchServices)
    : matchServices_(std::move(matchServices)) {
    loadTexture(&backgroundTexture_, "./textures/back.tga", 0);
    // A run that skips the menu still gets the menu's window set-up.
    if (initialState != GameState::Menu) prepareWindow();
    setState(initialState);
}

Game::~Game() = default;

void quit(int exitCode) {
    Game::destroyCurrent();
    std::fflush(stdout);
    std::fflush(stderr);
    std::exit(exitCode);
}

int Game::setState(std::int32_t state) {
    state_ = state;
    switch (state) {
        case GameState::Menu:
            prepareWindow();
            if (!menu_) menu_ = std::make_unique<MainMenu>(backgroundTexture_);
            return 0;
        case GameState::Loading:
            // There is no way back to the menu once loading has begun.
            menu_.reset();
            loadingScreen_ = std::make_unique<LoadingScreen>(backgroundTexture_);
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
            enterPlaying();
            return 0;
        case GameState::Respawn:
            if (match_) match_->respawn();
            return 0;
        case GameState::Dead:
            return 0;
        case 2:
            return -2;
        default:
            return -1;
    }
}

void Game::prepareWindow() {
    platform::hideCursor();
    applyBaseGlState();
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

void Game::enterPlaying() {
    loadingScreen_.reset();
    match_ = std::make_unique<Match>(matchServices_);
    match_->start();
}

bool Game::inMatch() const {
    return match_ && (state_ == GameState::Playing || state_ == GameState::Dead ||
                      state_ == GameState::Respawn);
}

Screen* Game::currentScreen() const {
    switch (state_) {
        case GameState::Menu:
            return menu_.get();
        case GameState::Story:
            return storyScreen_.get();
        case GameState::About:
            return aboutScreen_.get();
        case GameState::Config:
            return configScreen_.get();
        case GameState::Loading:
            return loadingScreen_.get();
        default:
            return nullptr;
    }
}

int Game::display() {
    if (state_ == 2) return -2;
    if (state_ < 0 || state_ > GameState::Loading) return -1;
    if (inMatch()) {
        follow(match_->display(state_));
        return 0;
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glLoadIdentity();
    if (Screen* screen = currentScreen()) screen->draw();
    glFlush();
    glutSwapBuffers();
    return 0;
}

void Game::idle() {
    if (state_ == GameState::Playing && match_) {
        follow(match_->idle());
    } else if (state_ == GameState::Dead && match_) {
        follow(match_->idleDead());
    }
    if (state_ == GameState::Config && configScreen_ && configScreen_->isDone())
        setState(GameState::Menu);
    if (state_ == GameState::Loading && loadingScreen_ && loadingScreen_->isFinished())
        setState(GameState::Playing);
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
    if (inMatch()) {
        follow(match_->key(state_, character, up));
    } else if (Screen* screen = currentScreen()) {
        keyScreen(*screen, character, up);
    }
}

void Game::keyScreen(Screen& screen, unsigned char character, bool up) {
    const ScreenKey answer = screen.key(character, up);
    if (answer == ScreenKey::Back) {
        // The story is read again on the next visit; the about screen stays.
        if (state_ == GameState::Story) storyScreen_.reset();
        setState(GameState::Menu);
    } else if (answer == ScreenKey::Choose && state_ == GameState::Menu) {
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

void Game::follow(MatchRequest request) {
    switch (request) {
        case MatchRequest::EnterDead:
            setState(GameState::Dead);
            break;
        case MatchRequest::EnterRespawn:
            setState(GameState::Respawn);
            break;
        case MatchRequest::ResumePlaying:
            state_ = GameState::Playing;
            break;
        case MatchRequest::None:
            break;
    }
}

void Game::special(int specialKey, int x, int y) {
    // GLUT reports no release for these.
    if (specialKey >= GLUT_KEY_LEFT && specialKey <= GLUT_KEY_DOWN) {
        key(static_cast<unsigned char>(specialKey), false, x, y);
    } else {
        debugKey(specialKey);
    }
}

void Game::mouse(int button, int buttonState, int /*x*/, int /*y*/) {
    if (inMatch() && state_ != GameState::Respawn) match_->mouse(button, buttonState);
}
