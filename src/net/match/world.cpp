// The World's life: set-up of what the match shows, and each frame's bringing of the
// drawn objects in line with the match.
#include "net/match/world.h"

#include "combat/bullet.h"
#include "combat/model_store.h"
#include "combat/voka.h"
#include "fx/lens_flare.h"
#include "fx/sound_manager.h"
#include "net/match/arena.h"
#include "net/match/mouse_look.h"
#include "net/serial_table.h"
#include "world/item.h"
#include "world/sky.h"
#include "world/terrain.h"

namespace {

WorldServices withGameServices(WorldServices services) {
    if (!services.ground) {
        services.ground = [](float x, float y) { return Terrain::instance().terrainHeight(x, y); };
    }
    if (!services.playSample) {
        services.playSample = [](std::int32_t sample) {
            // The machine gun restarts its sample; every other sample plays through.
            SoundManager::play(sample, false, SoundManager::kMaxVolume, sample == Sample::Minigun);
        };
    }
    if (!services.hasModel) services.hasModel = &ModelStore::canCopy;
    return services;
}

}  // namespace

World::World(WorldServices services) : core_(withGameServices(std::move(services))) {}

World::~World() {
    // The next match in this process numbers its objects as this one did.
    if (terrainId_ != -1) net::freeSerial(terrainId_ & 0xFFFF);
}

void World::assignTerrainId() {
    Terrain& terrain = Terrain::instance();
    terrain.initGL();
    terrain.id = core_.makeId();
    terrainId_ = terrain.id;
}

bool World::ownPose(Pose& body, Pose& look) const {
    const VokaState* own = core_.ownVoka();
    if (own == nullptr) return false;
    body = own->body.getPose();
    look = own->getLookPose();
    return true;
}

void World::placeOwnVoka(const Pose& body, float yaw, float pitch) {
    core_.placeOwnVoka(body, yaw, pitch);
    // The drawn Voka stands where the frame about to be drawn shows it.
    if (ownVoka_ && core_.ownVoka() != nullptr) ownVoka_->body = core_.ownVoka()->body;
}

void World::buildFence() {
    ::buildFence(fence_, core_.groundHeight(kArenaSize, 0.0f));
}

std::int32_t World::addItem(std::int32_t id, std::uint8_t typeCode, float x, float y, float z) {
    auto item = std::make_unique<Item>();
    if (ModelStore::copyFromPrototype(*item, typeCode) != 0) return -1;
    if (core_.addItem(id, typeCode, x, y, z) != 0) return -1;
    item->setPosition(x, y, z);
    item->id = id;
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
    auto voka = std::make_unique<Voka>();
    if (ownVoka_ || ModelStore::copyVoka(*voka, vokaType) != 0) return -1;
    if (core_.createOwnVoka(vokaType) != 0) return -1;
    voka->setLocalDriven(true);
    voka->id = core_.ownId();
    voka->body = core_.ownVoka()->body;
    ownVoka_ = std::move(voka);
    return 0;
}

void World::setSunPosition(float x, float y, float z) {
    sunPosition_[0] = x;
    sunPosition_[1] = y;
    sunPosition_[2] = z;
}

World::TableSizes World::tableSizes() const {
    const MatchCore::TableSizes sizes = core_.tableSizes();
    return {sizes.players, sizes.items, sizes.ownProjectiles, sizes.remoteProjectiles,
            beams_.size()};
}

void World::update(const WorldInput& input) {
    lastFrameTime_ = input.frameTime;
    DriverInput driver = input;
    if (input.centreView && core_.ownVoka()) {
        // Whatever the mouse turned this frame, the look comes back to straight ahead.
        const Pose look = core_.ownVoka()->getLookPose();
        driver.look = centreViewTurn(look.rotZ, look.rotY);
    }
    core_.update(driver, input.frameTime);
    showMatch(input);
}

void World::showMatch(const WorldInput& input) {
    showOwnVoka(input);
    core_.readTables([&](const MatchCore::Tables& tables) {
        for (auto shown = players_.begin(); shown != players_.end();) {
            const auto state = tables.players.find(shown->first);
            const bool gone =
                state == tables.players.end() || state->second->instance != shown->second.instance;
            shown = gone ? players_.erase(shown) : std::next(shown);
        }
        for (const auto& [id, state] : tables.players) {
            Shown<Voka>& shown = players_[id];
            if (!shown.drawn) {
                shown.instance = state->instance;
                shown.drawn = std::make_unique<Voka>();
                ModelStore::copyVoka(*shown.drawn, state->type);
                shown.drawn->id = id;
            }
            Voka& voka = *shown.drawn;
            voka.body.setPose(state->body.getPose());
            voka.setCurrentWeapon(state->getCurrentWeapon());
            // The explosion starts here, on the main thread, with its sound.
            if (state->isDestroyed() && !voka.isDestroyed()) voka.animate(1, input.nowSeconds);
            if (!state->isDestroyed() && voka.isDestroyed()) voka.resetDestroyed();
            voka.updateRemote(input.nowSeconds);
        }
        showShots(tables.ownShots, ownShots_);
        showShots(tables.remoteShots, remoteShots_);
        for (const auto& [id, state] : tables.items) {
            const auto item = items_.find(id);
            if (item != items_.end()) item->second->setTaken(state.taken);
        }
    });
    for (auto& [id, item] : items_) item->update();
    beams_.updateAll();
    fence_.updateAll();
}

void World::showOwnVoka(const WorldInput& input) {
    const VokaState* state = core_.ownVoka();
    if (!ownVoka_ || state == nullptr) return;
    Voka& own = *ownVoka_;
    own.body = state->body;
    own.setCurrentWeapon(state->getCurrentWeapon());
    own.setFireButton(input.fireButton);
    if (state->isDestroyed() && !own.isDestroyed()) own.animate(1, input.nowSeconds);
    if (!state->isDestroyed() && own.isDestroyed()) own.resetDestroyed();
    own.update(input.nowSeconds);
}

void World::showShots(const MatchCore::ShotTable& shots,
                      std::unordered_map<std::int32_t, Shown<Bullet>>& shown) {
    for (auto entry = shown.begin(); entry != shown.end();) {
        const auto state = shots.find(entry->first);
        if (state != shots.end() && state->second->instance == entry->second.instance) {
            ++entry;
            continue;
        }
        forgetShot(entry->first, *entry->second.drawn);
        entry = shown.erase(entry);
    }
    for (const auto& [id, state] : shots) {
        Shown<Bullet>& entry = shown[id];
        if (!entry.drawn) {
            entry.instance = state->instance;
            entry.drawn = std::make_unique<Bullet>(*state);
            if (state->type == TYPE_BULLET_RAIL) addRailBeams(beams_, id, state->getState());
        }
        entry.drawn->update();
    }
}

void World::forgetShot(std::int32_t id, const Bullet& bullet) {
    if (bullet.type == TYPE_BULLET_RAIL) removeRailBeams(beams_, id);
}
