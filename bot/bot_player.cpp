#include "bot/bot_player.h"

#include <string>
#include <vector>

#include "combat/camera_view.h"
#include "combat/voka_geometry.h"
#include "platform/message_box.h"
#include "world/level_registry.h"

namespace bot {
namespace {

constexpr float kRespawnMin = 2.0f;  // seconds dead, at the least
constexpr float kRespawnMax = 4.0f;

WorldServices servicesOf(const BotSetup& setup, PlayerRecord& player, driving::GroundHeight ground,
                         std::mt19937& random) {
    WorldServices services;
    services.ground = std::move(ground);
    services.playerName = setup.name;
    services.player = &player;
    services.console = nullptr;
    services.pickStart = [&random](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
    };
    return services;
}

}  // namespace

BotPlayer::BotPlayer(const BotSetup& setup, const GameData& data)
    : setup_(setup),
      data_(data),
      groundHeight_([this](float x, float y) {
          return ground_ != nullptr ? ground_->terrainHeight(x, y) : 0.0f;
      }),
      random_(setup.seed),
      match_(servicesOf(setup, player_, groundHeight_, random_)),
      pilot_(PilotSkill::ofLevel(setup.skill), setup.seed * 2654435761u) {}

bool BotPlayer::connect(const char* host, std::uint16_t port) {
    match_.connect(host, port);
    return match_.isOnline();
}

void BotPlayer::step(float dt, bool pilot) {
    clock_ += dt;
    switch (phase_) {
        case Phase::Joining:
            if ((match_.getClientNumber() != -1 &&
                 LevelRegistry::instance().currentLevel() != -1) ||
                clock_ >= kJoinSeconds) {
                setUp();
                phase_ = Phase::Announcing;
                announceAt_ = clock_ + kAnnounceSeconds;
            }
            break;
        case Phase::Announcing:
            // The others answer the info request with their names and frags meanwhile.
            if (clock_ >= announceAt_) {
                match_.announceOwnVoka();
                phase_ = Phase::Playing;
            }
            break;
        case Phase::Playing:
            play(dt, pilot);
            break;
    }
}

void BotPlayer::setUp() {
    LevelRegistry& levels = LevelRegistry::instance();
    std::int32_t level = levels.currentLevel();
    if (levels.getLevel(level) == nullptr) {
        showError(setup_.name + ": the server named level " + std::to_string(level) +
                  ", which the level file lacks; playing level " +
                  std::to_string(setup_.fallbackLevel));
        level = setup_.fallbackLevel;
        levels.setCurrentLevel(level);
    }
    ground_ = data_.heightmap(level);
    if (const Level* current = levels.getLevel(level)) {
        std::vector<std::int32_t> ids(static_cast<std::size_t>(current->itemCount()));
        current->itemIds(ids.data());
        for (const std::int32_t id : ids) {
            Placement item;
            current->getItem(id, item);
            // A height of exactly -1 in the level file stands for the ground there.
            if (item.pose.z == -1.0f) item.pose.z = groundHeight_(item.pose.x, item.pose.y);
            match_.addItem(id, item.type, item.pose.x, item.pose.y, item.pose.z);
        }
    }
    match_.createOwnVoka(setup_.vokaType);
    player_.resetForMatch();
    match_.sendInfoRequest();
}

void BotPlayer::play(float dt, bool pilot) {
    if (match_.isDead()) {
        if (respawnAt_ < 0.0f) {
            ++deaths_;
            respawnAt_ =
                clock_ + std::uniform_real_distribution<float>(kRespawnMin, kRespawnMax)(random_);
        } else if (clock_ >= respawnAt_) {
            player_.resetForRespawn();
            match_.respawn();
            respawnAt_ = -1.0f;
            ++respawns_;
        }
    }
    aimFromCamera();
    PilotCommand command = pilot_.fly(viewOf(match_, groundHeight_), dt);
    if (!pilot) command = PilotCommand{{}, player_.getWeapon()};
    if (command.weapon != player_.getWeapon()) {
        player_.setWeapon(command.weapon);
        match_.announceState();
    }
    match_.collide();
    match_.update(command.input, dt);
}

void BotPlayer::aimFromCamera() {
    const VokaState& own = *match_.ownVoka();
    const Pose pose = own.body.getPose();
    const Pose look = own.getLookPose();
    float offset[3];
    PlayerStatus::getCameraOffset(offset);  // the camera the game starts with
    const camera_view::Frame frame = camera_view::frame(pose, look, offset);
    player_.setEye(frame.eye);
    player_.setAim(frame.aim);
    player_.setUp(frame.up);
    player_.setSide(frame.side);
    float muzzle[4];
    voka_geometry::muzzlePoint(pose, look.rotZ, look.rotY, muzzle);
    player_.setMuzzle(muzzle);
}

}  // namespace bot
