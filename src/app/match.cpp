// The match's life: its start, its idle work and its keys and buttons.
#include "app/match.h"

#include <GL/freeglut.h>

#include <string>

#include "app/camera.h"
#include "app/game.h"
#include "app/game_state.h"
#include "app/input_state.h"
#include "combat/model_store.h"
#include "config/settings.h"
#include "fx/hud.h"
#include "net/demo/demo_playback.h"
#include "net/demo/demo_recorder.h"
#include "net/player_status.h"
#include "net/protocol/game_codes.h"
#include "platform/clock.h"
#include "platform/frame_clock.h"
#include "platform/message_box.h"
#include "render/gl_state.h"
#include "render/screen.h"
#include "world/level_registry.h"
#include "world/sun_light.h"
#include "world/terrain.h"

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

Match::Match(MatchServices services)
    : services_(std::move(services)),
      input_(services_.input ? services_.input : std::make_shared<KeyboardInput>()) {}

Match::~Match() = default;

void Match::sleep(std::uint32_t ms) const {
    if (services_.playback) {
        // What arrived during the pause arrives at once: a timedemo never waits.
        services_.playback->pause(world_->netClient());
        return;
    }
    if (services_.sleep) {
        services_.sleep(ms);
    } else {
        platform::sleepMs(ms);
    }
    if (services_.recorder) services_.recorder->pause();
}

float Match::clockMs() const {
    if (const demo::Frame* played = playedFrame()) return played->clockMs;
    return services_.clockMs ? services_.clockMs() : static_cast<float>(platform::timeGetTime());
}

void Match::start() {
    LevelRegistry& levels = LevelRegistry::instance();
    if (services_.playback) {
        const demo::Header& header = services_.playback->header();
        Settings::overridePlayerName(header.playerName.c_str());
        Settings::setVokaType(header.vokaType);
    }
    world_ = std::make_unique<World>(services_.world);
    if (services_.playback) {
        world_->listen();
    } else {
        if (services_.recorder) services_.recorder->attach(world_->netClient());
        world_->connect();
    }
    // The receiving thread learns the level number meanwhile.
    sleep(kStartPauseMs);
    if (services_.playback) levels.setCurrentLevel(services_.playback->header().level);
    const std::int32_t level = settleMatchLevel(levels);
    if (services_.recorder) {
        char name[Settings::kTextSize];
        Settings::getPlayerName(name);
        services_.recorder->begin({level, Settings::getVokaType(), name});
    }
    ModelStore::loadSharedTextures(levels.currentTextureFile());
    world_->assignTerrainId();
    world_->buildFence();
    addLevelItems();
    world_->createSky();
    world_->createOwnVoka(Settings::getVokaType());
    camera_ = std::make_unique<Camera>();
    hud_ = std::make_unique<Hud>();
    PlayerStatus::resetForMatch();
    sunLight_ = std::make_unique<SunLight>(kSunX, kSunY, kSunZ);
    world_->setSunPosition(kSunX, kSunY, kSunZ);
    world_->sendInfoRequest();
    // The others answer with their names and frags before the own Voka appears to them.
    sleep(kStartPauseMs);
    world_->announceOwnVoka();
    applyMatchGlState();
}

void Match::addLevelItems() {
    const Level* level =
        LevelRegistry::instance().getLevel(LevelRegistry::instance().currentLevel());
    if (level == nullptr) return;
    for (Placement item : level->itemsById()) {
        // A height of exactly -1 in the level file stands for the ground under the item.
        if (item.pose.z == -1.0f)
            item.pose.z = Terrain::instance().terrainHeight(item.pose.x, item.pose.y);
        world_->addItem(item.id, item.type, item.pose.x, item.pose.y, item.pose.z);
    }
}

void Match::respawn() {
    PlayerStatus::resetForRespawn();
    world_->respawn();
}

MatchRequest Match::idle() {
    const demo::Frame* played = playedFrame();
    if (services_.playback && played == nullptr) return endDemo();
    const float nowMs = clockMs();
    if (played != nullptr && !clockPrimed_) {
        // The first frame played steps by its recorded time, whatever ran before.
        FrameClock::tick(nowMs * 0.001f - played->frameTime);
        clockPrimed_ = true;
    }
    FrameClock::tick(nowMs * 0.001f);
    idleClockMs_ = nowMs;
    if (played != nullptr) {
        const WorldInput input = playedInput(*played);
        world_->collide();
        world_->update(input);
        world_->placeOwnVoka(played->pose, played->lookYaw, played->lookPitch);
        PlayerStatus::setSpeed(played->speed);
        return world_->isDead() ? MatchRequest::EnterDead : MatchRequest::None;
    }
    WorldInput input = input_->read(*world_, FrameClock::getFrameTime());
    input.frameTime = FrameClock::getFrameTime();
    input.nowSeconds = nowMs * 0.001f;
    idleFrameTime_ = input.frameTime;
    idleFire_ = input.fireButton;
    world_->collide();
    world_->update(input);
    return world_->isDead() ? MatchRequest::EnterDead : MatchRequest::None;
}

MatchRequest Match::idleDead() {
    return input_->respawnNow(clockMs() * 0.001f) ? MatchRequest::EnterRespawn : MatchRequest::None;
}

MatchRequest Match::display(std::int32_t state) {
    if (state == GameState::Respawn) {
        world_->respawn();
        return MatchRequest::ResumePlaying;
    }
    const bool dead = state == GameState::Dead;
    if (services_.playback) {
        const demo::Frame* played = playedFrame();
        if (played == nullptr) return endDemo();
        // The player came back in this frame: respawn first, then play it.
        if (dead && !played->dead) return MatchRequest::EnterRespawn;
    }
    if (services_.playback && !warmedUp_) {
        // The first frame once more, untimed: textures and display lists are made on
        // their first use, a cost of loading rather than of drawing.
        drawFrame(dead);
        services_.playback->restartTiming();
        warmedUp_ = true;
    }
    drawFrame(dead);
    if (services_.recorder) services_.recorder->frame(recordedFrame(dead));
    if (services_.playback) services_.playback->endFrame(world_->netClient());
    return MatchRequest::None;
}

MatchRequest Match::key(std::int32_t state, unsigned char character, bool up) {
    // A demo plays on its own and the autopilot drives by itself; Esc still ends the game.
    if (services_.playback || !input_->takesKeys()) {
        if (character == GameKey::Esc && state != GameState::Respawn) quit();
        return MatchRequest::None;
    }
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
        world_->announceState();
    } else if (c == Settings::getKeyRailGun()) {
        PlayerStatus::setWeapon(WEAPON_RAIL);
        world_->announceState();
    } else if (c == Settings::getKeyCenterView()) {
        // Kept until the match's next update has brought the look straight ahead, so a
        // tap shorter than a frame still counts.
        if (!up) InputState::setCenterView(1);
    } else if (character == GameKey::Esc) {
        quit();
    }
}

void Match::mouse(int button, int buttonState) {
    if (services_.playback || !input_->takesKeys()) return;
    const std::uint8_t pressed = buttonState == GLUT_DOWN ? 1 : 0;
    if (button == GLUT_LEFT_BUTTON) InputState::setLeftButton(pressed);
    if (button == GLUT_RIGHT_BUTTON) InputState::setRightButton(pressed);
}
