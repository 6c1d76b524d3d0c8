#include "app/match.h"

#include <GL/freeglut.h>

#include <string>

#include "app/game.h"
#include "app/game_state.h"
#include "app/input_state.h"
#include "combat/model_store.h"
#include "config/settings.h"
#include "net/player_status.h"
#include "net/protocol/game_codes.h"
#include "platform/frame_clock.h"
#include "platform/message_box.h"
#include "render/gl_state.h"
#include "render/screen.h"
#include "world/level_registry.h"

std::int32_t settleMatchLevel(LevelRegistry& registry) {
    constexpr std::int32_t kFallbackLevel = 1;
    const std::int32_t named = registry.currentLevel();
    if (named == -1) {
        showError("current level is -1, not connected to server? setting to 1");
    } else if (registry.getLevel(named) == nullptr) {
        // The texture loader would end the program on the missing files.
        showError("current level is " + std::to_string(named) +
                  ", which level.xml does not have - setting to 1");
    } else {
        return named;
    }
    registry.setCurrentLevel(kFallbackLevel);
    return kFallbackLevel;
}

void Match::start() {
    LevelRegistry& levels = LevelRegistry::instance();
    settleMatchLevel(levels);
    ModelStore::loadSharedTextures(levels.currentTextureFile());
    PlayerStatus::resetForMatch();
    sunLight_ = std::make_unique<SunLight>(kSunX, kSunY, kSunZ);
    applyMatchGlState();
}

void Match::respawn() {
    PlayerStatus::resetForRespawn();
}

void Match::idle() {
    FrameClock::tick();
}

MatchRequest Match::display(std::int32_t state) {
    if (state == GameState::Respawn) return MatchRequest::ResumePlaying;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glLoadIdentity();
    if (sunLight_) sunLight_->apply();
    glFlush();
    glutSwapBuffers();
    return MatchRequest::None;
}

MatchRequest Match::key(std::int32_t state, unsigned char character, bool up) {
    if (state == GameState::Playing) {
        keyPlaying(character, up);
    } else if (state == GameState::Dead) {
        if (character == GameKey::Esc) quit();
        // Any other event, a release included, brings the Voka back.
        return MatchRequest::EnterRespawn;
    }
    return MatchRequest::None;
}

void Match::keyPlaying(unsigned char character, bool up) {
    const std::uint8_t held = up ? 0 : 1;
    const char c = static_cast<char>(character);
    // The first binding that matches wins.
    if (c == Settings::getKeyForward()) {
        InputState::setForward(held);
    } else if (c == Settings::getKeyBack()) {
        InputState::setBackward(held);
    } else if (c == Settings::getKeyLeft()) {
        InputState::setLeft(held);
    } else if (c == Settings::getKeyRight()) {
        InputState::setRight(held);
    } else if (c == Settings::getKeyMachineGun()) {
        PlayerStatus::setWeapon(WEAPON_MG);  // on press and again on release
    } else if (c == Settings::getKeyRailGun()) {
        PlayerStatus::setWeapon(WEAPON_RAIL);
    } else if (c == Settings::getKeyCenterView()) {
        // Kept until the match's next update has brought the look straight ahead, so a
        // tap shorter than a frame still counts.
        if (!up) InputState::setCenterView(1);
    } else if (character == GameKey::Esc) {
        quit();
    }
}

void Match::mouse(int button, int buttonState) {
    const std::uint8_t pressed = buttonState == GLUT_DOWN ? 1 : 0;
    if (button == GLUT_LEFT_BUTTON) InputState::setLeftButton(pressed);
    if (button == GLUT_RIGHT_BUTTON) InputState::setRightButton(pressed);
}
