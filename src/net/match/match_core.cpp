// The match's life: its set-up, the teardown, and what it tells its players.
#include "net/match/match_core.h"

#include "config/settings.h"
#include "net/match/arena.h"
#include "world/level_registry.h"

namespace {

std::string settingsPlayerName() {
    char name[Settings::kTextSize] = {};
    Settings::getPlayerName(name);
    return name;
}

}  // namespace

MatchCore::MatchCore(WorldServices services)
    : services_(std::move(services)),
      player_(services_.player != nullptr ? *services_.player : PlayerStatus::record()),
      netClient_(std::make_unique<net::NetClient>()),
      ownName_(services_.playerName.empty() ? settingsPlayerName() : services_.playerName) {
    if (!services_.ground) services_.ground = [](float, float) { return 0.0f; };
}

MatchCore::~MatchCore() {
    // No handler may run past this point, and none is waiting for the world lock while
    // these calls wait for it: the lock is not held.
    netClient_->setNewObjectHandler(nullptr, nullptr);
    netClient_->setRemoveObjectHandler(nullptr, nullptr);
    netClient_->setCombatEventHandler(nullptr, nullptr);
    netClient_->setDataEventHandler(nullptr, nullptr);
    if (ownVoka_ && announced_) netClient_->removeObject(*ownVoka_);
    ownVoka_.reset();
    for (auto& [id, projectile] : ownProjectiles_) netClient_->removeObject(*projectile);
    ownProjectiles_.clear();
    // From here on the receiving thread has ended and no remote pose is written.
    netClient_->disconnect();
    remoteProjectiles_.clear();
    players_.clear();
    netClient_.reset();
}

std::int32_t MatchCore::connect() {
    return connect(nullptr, 0);
}

std::int32_t MatchCore::connect(const char* host, std::uint16_t port) {
    listen();
    const std::int32_t result =
        host == nullptr ? netClient_->connect() : netClient_->connect(host, port);
    connected_ = result == 0;
    return 0;
}

void MatchCore::listen() {
    netClient_->setNewObjectHandler(
        this, [](void* match, std::int32_t id, std::uint8_t typeCode, net::Pose state) {
            return static_cast<MatchCore*>(match)->onNewObject(id, typeCode, state);
        });
    netClient_->setRemoveObjectHandler(
        this, [](void* match, std::int32_t id, std::uint8_t typeCode) {
            return static_cast<MatchCore*>(match)->onRemoveObject(id, typeCode);
        });
    netClient_->setCombatEventHandler(
        this, [](void* match, std::uint8_t type, std::int32_t id1, std::int32_t id2,
                 std::int32_t id3, std::uint8_t type1, std::uint8_t type2) {
            return static_cast<MatchCore*>(match)->onCombatEvent(type, id1, id2, id3, type1, type2);
        });
    netClient_->setDataEventHandler(this, [](void* match, std::uint8_t type, std::int32_t id,
                                             const std::uint8_t* payload, std::size_t length) {
        static_cast<MatchCore*>(match)->onDataEvent(type, id, payload, length);
    });
}

void MatchCore::placeOwnVoka(const Pose& body, float yaw, float pitch) {
    if (!ownVoka_) return;
    ownVoka_->body.setPose(body);
    const Pose look = ownVoka_->getLookPose();
    ownVoka_->look(yaw - look.rotZ, pitch - look.rotY);
    ownVoka_->publishPose();
}

std::int32_t MatchCore::addItem(std::int32_t id, std::uint8_t typeCode, float x, float y, float z) {
    if (!isItemType(typeCode) || !canShow(typeCode)) return -1;
    std::lock_guard<std::mutex> guard(worldLock_);
    items_[id] = ItemState{id, typeCode, x, y, z, 0};
    return 0;
}

std::int32_t MatchCore::createOwnVoka(std::int32_t vokaType) {
    if (ownVoka_ || !isVokaType(vokaType) || !canShow(static_cast<std::uint8_t>(vokaType)))
        return -1;
    auto voka = std::make_unique<VokaState>(static_cast<std::uint8_t>(vokaType));
    placeAtStart(*voka);
    voka->id = netClient_->makeId();
    voka->instance = nextInstance();
    voka->publishPose();
    std::lock_guard<std::mutex> guard(worldLock_);
    ownRef_ = voka->ref();
    ownVoka_ = std::move(voka);
    return 0;
}

void MatchCore::placeAtStart(VokaState& voka) const {
    // A level the server named mid-match that the level file lacks has no start
    // points: the middle of the arena then.
    const Level* level =
        LevelRegistry::instance().getLevel(LevelRegistry::instance().currentLevel());
    Vec3f start{kArenaSize / 2, kArenaSize / 2, -1.0f};
    if (level != nullptr && !level->spawns().empty()) {
        const std::vector<Vec3f>& starts = level->spawns();
        start = services_.pickStart ? starts[services_.pickStart(starts.size()) % starts.size()]
                                    : level->getRandomSpawn();
    }
    if (start.z == -1.0f) start.z = groundHeight(start.x, start.y);
    Pose pose = voka.body.getPose();
    pose.x = start.x;
    pose.y = start.y;
    pose.z = start.z;
    voka.body.setPose(pose);
}

float MatchCore::groundHeight(float x, float y) const {
    return services_.ground(x, y);
}

void MatchCore::play(std::int32_t sample) const {
    if (services_.playSample) services_.playSample(sample);
}

bool MatchCore::canShow(std::uint8_t typeCode) const {
    return !services_.hasModel || services_.hasModel(typeCode);
}

void MatchCore::getCameraPose(Pose& pose, Pose& target) {
    if (!ownVoka_) {
        pose = target = Pose{};
        return;
    }
    ownVoka_->getCameraPose(pose, target);
}

std::vector<RankingRow> MatchCore::rankingRows() const {
    std::vector<RankingEntry> remote;
    {
        std::lock_guard<std::mutex> guard(worldLock_);
        remote.reserve(players_.size());
        for (const auto& [id, voka] : players_)
            remote.push_back({voka->getFrags(), voka->getPlayerName()});
    }
    return ::rankingRows(rankPlayers(std::move(remote), {player_.getFrags(), ownName_}));
}

MatchCore::TableSizes MatchCore::tableSizes() const {
    std::lock_guard<std::mutex> guard(worldLock_);
    return {players_.size(), items_.size(), ownProjectiles_.size(), remoteProjectiles_.size()};
}

std::optional<MatchCore::PlayerView> MatchCore::playerView(std::int32_t id) const {
    std::lock_guard<std::mutex> guard(worldLock_);
    const auto found = players_.find(id);
    if (found == players_.end()) return std::nullopt;
    const VokaState& voka = *found->second;
    return PlayerView{voka.body.getPose(), voka.getPlayerName(), voka.getFrags(),
                      voka.getCurrentWeapon(), voka.isDestroyed()};
}

std::optional<std::int32_t> MatchCore::itemTaken(std::int32_t id) const {
    std::lock_guard<std::mutex> guard(worldLock_);
    const auto found = items_.find(id);
    if (found == items_.end()) return std::nullopt;
    return found->second.taken;
}

std::int32_t MatchCore::ownId() const {
    std::lock_guard<std::mutex> guard(worldLock_);
    return ownRef_.id;
}
