// The World's life: set-up of the match, the teardown, and what it tells the app.
#include "net/match/world.h"

#include "combat/bullet.h"
#include "combat/model_store.h"
#include "combat/voka.h"
#include "config/settings.h"
#include "fx/lens_flare.h"
#include "fx/sound_manager.h"
#include "net/match/arena.h"
#include "net/player_status.h"
#include "net/serial_table.h"
#include "world/item.h"
#include "world/level_registry.h"
#include "world/sky.h"
#include "world/terrain.h"

namespace {

std::string settingsPlayerName() {
    char name[Settings::kTextSize] = {};
    Settings::getPlayerName(name);
    return name;
}

}  // namespace

World::World(WorldServices services)
    : services_(std::move(services)),
      netClient_(std::make_unique<net::NetClient>()),
      ownName_(settingsPlayerName()) {}

World::~World() {
    // No handler may run past this point, and none is waiting for the world lock while
    // these calls wait for it: the lock is not held.
    netClient_->setNewObjectHandler(nullptr, nullptr);
    netClient_->setRemoveObjectHandler(nullptr, nullptr);
    netClient_->setCombatEventHandler(nullptr, nullptr);
    netClient_->setDataEventHandler(nullptr, nullptr);
    sky_.reset();
    if (ownVoka_ && announced_) netClient_->removeObject(*ownVoka_);
    ownVoka_.reset();
    for (auto& [id, projectile] : ownProjectiles_) netClient_->removeObject(*projectile);
    ownProjectiles_.clear();
    // From here on the receiving thread has ended and no remote pose is written.
    netClient_->disconnect();
    remoteProjectiles_.clear();
    items_.clear();
    players_.clear();
    netClient_.reset();
    lensFlare_.reset();
    // The next match in this process numbers its objects as this one did.
    if (terrainId_ != -1) net::freeSerial(terrainId_ & 0xFFFF);
}

std::int32_t World::connect() {
    return connect(nullptr, 0);
}

std::int32_t World::connect(const char* host, std::uint16_t port) {
    registerHandlers();
    const std::int32_t result =
        host == nullptr ? netClient_->connect() : netClient_->connect(host, port);
    connected_ = result == 0;
    return 0;
}

void World::listen() {
    registerHandlers();
}

void World::registerHandlers() {
    netClient_->setNewObjectHandler(
        this, [](void* world, std::int32_t id, std::uint8_t typeCode, net::Pose state) {
            return static_cast<World*>(world)->onNewObject(id, typeCode, state);
        });
    netClient_->setRemoveObjectHandler(
        this, [](void* world, std::int32_t id, std::uint8_t typeCode) {
            return static_cast<World*>(world)->onRemoveObject(id, typeCode);
        });
    netClient_->setCombatEventHandler(
        this, [](void* world, std::uint8_t type, std::int32_t id1, std::int32_t id2,
                 std::int32_t id3, std::uint8_t type1, std::uint8_t type2) {
            return static_cast<World*>(world)->onCombatEvent(type, id1, id2, id3, type1, type2);
        });
    netClient_->setDataEventHandler(this, [](void* world, std::uint8_t type, std::int32_t id,
                                             const std::uint8_t* payload, std::size_t length) {
        static_cast<World*>(world)->onDataEvent(type, id, payload, length);
    });
}

void World::assignTerrainId() {
    Terrain& terrain = Terrain::instance();
    terrain.initGL();
    terrain.id = netClient_->makeId();
    terrainId_ = terrain.id;
}

void World::buildFence() {
    std::lock_guard<std::mutex> guard(worldLock_);
    ::buildFence(fence_, groundHeight(kArenaSize, 0.0f));
}

std::int32_t World::addItem(std::int32_t id, std::uint8_t typeCode, float x, float y, float z) {
    auto item = std::make_unique<Item>();
    if (ModelStore::copyFromPrototype(*item, typeCode) != 0) return -1;
    item->setPosition(x, y, z);
    item->id = id;
    std::lock_guard<std::mutex> guard(worldLock_);
    items_[id] = std::move(item);
    return 0;
}

std::int32_t World::createSky() {
    if (sky_) return -1;
    sky_ = std::make_unique<Sky>(false);
    ModelStore::copySky(*sky_);
    return 0;
}

std::int32_t World::createOwnVoka(std::int32_t vokaType) {
    if (ownVoka_) return -1;
    auto voka = std::make_unique<Voka>();
    if (ModelStore::copyVoka(*voka, vokaType) != 0) return -1;
    voka->setLocalDriven(true);
    if (services_.ground) voka->setGround(services_.ground);
    voka->buildCollisionModel();
    placeAtStart(*voka);
    voka->id = netClient_->makeId();
    voka->publishPose();
    std::lock_guard<std::mutex> guard(worldLock_);
    ownRef_ = voka->ref();
    ownVoka_ = std::move(voka);
    return 0;
}

void World::placeAtStart(Voka& voka) const {
    // A level the server named mid-match that the level file lacks has no start
    // points: the middle of the arena then.
    const Level* level =
        LevelRegistry::instance().getLevel(LevelRegistry::instance().currentLevel());
    Vec3f start =
        level != nullptr ? level->getRandomSpawn() : Vec3f{kArenaSize / 2, kArenaSize / 2, -1.0f};
    if (start.z == -1.0f) start.z = groundHeight(start.x, start.y);
    Pose pose = voka.body.getPose();
    pose.x = start.x;
    pose.y = start.y;
    pose.z = start.z;
    voka.body.setPose(pose);
}

void World::setSunPosition(float x, float y, float z) {
    sunPosition_[0] = x;
    sunPosition_[1] = y;
    sunPosition_[2] = z;
}

float World::groundHeight(float x, float y) const {
    if (services_.ground) return services_.ground(x, y);
    return Terrain::instance().terrainHeight(x, y);
}

void World::play(std::int32_t sample) const {
    if (services_.playSample) {
        services_.playSample(sample);
        return;
    }
    SoundManager::play(sample, false, SoundManager::kMaxVolume, sample == Sample::Minigun);
}

void World::getCameraPose(Pose& pose, Pose& target) {
    if (!ownVoka_) {
        pose = target = Pose{};
        return;
    }
    ownVoka_->getCameraPose(pose, target);
}

bool World::ownPose(Pose& body, Pose& look) const {
    if (!ownVoka_) return false;
    body = ownVoka_->body.getPose();
    look = ownVoka_->getLookPose();
    return true;
}

void World::placeOwnVoka(const Pose& body, float yaw, float pitch) {
    if (!ownVoka_) return;
    ownVoka_->body.setPose(body);
    const Pose look = ownVoka_->getLookPose();
    ownVoka_->look(yaw - look.rotZ, pitch - look.rotY);
    ownVoka_->publishPose();
}

std::vector<RankingRow> World::rankingRows() const {
    std::vector<RankingEntry> remote;
    {
        std::lock_guard<std::mutex> guard(worldLock_);
        remote.reserve(players_.size());
        for (const auto& [id, voka] : players_)
            remote.push_back({voka->getFrags(), voka->getPlayerName()});
    }
    return ::rankingRows(rankPlayers(std::move(remote), {PlayerStatus::getFrags(), ownName_}));
}

World::TableSizes World::tableSizes() const {
    std::lock_guard<std::mutex> guard(worldLock_);
    return {players_.size(), items_.size(), ownProjectiles_.size(), remoteProjectiles_.size(),
            beams_.size()};
}

std::optional<World::PlayerView> World::player(std::int32_t id) const {
    std::lock_guard<std::mutex> guard(worldLock_);
    const auto found = players_.find(id);
    if (found == players_.end()) return std::nullopt;
    const Voka& voka = *found->second;
    return PlayerView{voka.body.getPose(), voka.getPlayerName(), voka.getFrags(),
                      voka.getCurrentWeapon(), voka.isDestroyed()};
}

std::optional<std::int32_t> World::itemTaken(std::int32_t id) const {
    std::lock_guard<std::mutex> guard(worldLock_);
    const auto found = items_.find(id);
    if (found == items_.end()) return std::nullopt;
    return found->second->isTaken();
}

std::int32_t World::ownId() const {
    std::lock_guard<std::mutex> guard(worldLock_);
    return ownRef_.id;
}
