#include "showroom.h"

#include <atomic>
#include <cmath>

#include "combat/driving.h"
#include "combat/model_store.h"
#include "combat/prototypes.h"
#include "combat/shot.h"
#include "combat/voka_geometry.h"
#include "net/player_status.h"
#include "net/protocol/game_codes.h"
#include "platform/frame_clock.h"
#include "world/terrain.h"

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;
constexpr float kQuarterTurn = 90.0f / Item::kSpinDegreesPerSecond;  // seconds of spin

float groundAt(float x, float y) {
    return Terrain::instance().terrainHeight(x, y);
}

// A picture of an explosion that is `picture` steps in, on a clock of its own: each
// update after more than a tenth of a second shows the next one.
void advance(Explosion& explosion, int picture) {
    for (int k = 1; k <= picture; ++k) explosion.update(0.2f * static_cast<float>(k));
}

// A camera `distance` units behind a pose along its heading and `height` above it,
// looking along the heading `pitch` degrees down, turned by `turn` degrees about it.
ViewerCamera behind(const Pose& pose, float distance, float height, float pitch, float turn) {
    const float heading = (pose.rotZ + turn) * kRadiansPerDegree;
    return cameraAt({pose.x - distance * std::cos(heading), pose.y - distance * std::sin(heading),
                     pose.z + height, 0.0f, -pitch, pose.rotZ + turn});
}

// Looking south over the valley from its northern slope.
ViewerCamera crowdCamera() {
    return cameraAt({760.0f, 300.0f, 95.0f, 0.0f, -18.0f, 270.0f});
}

}  // namespace

ViewerCamera cameraAt(const Pose& pose) {
    ViewerCamera camera;
    camera.vehicle = {pose.x, pose.y, pose.z, 0.0f, 0.0f, pose.rotZ};
    camera.look.rotY = pose.rotY;
    return camera;
}

void Showroom::load(ShowroomLayout layout) {
    if (layout == ShowroomLayout::Empty) {
        views_ = {{"crowd", crowdCamera()}};
        return;
    }
    registerPrototypes();
    std::atomic<float> progress{0.0f};
    ModelStore::loadPrototypes(progress);
    ModelStore::uploadPrototypes();
    // The fence stands where the match puts it: its rows count from the ground height at
    // the arena's south-east corner.
    buildFence(fence_, groundAt(1600.0f, 0.0f));
    if (layout == ShowroomLayout::LineUp) {
        loadLineUp();
    } else {
        loadCrowd();
    }
}

Voka& Showroom::addVoka(std::int32_t type, float x, float y, float heading, std::int32_t weapon) {
    auto voka = std::make_unique<Voka>();
    ModelStore::copyVoka(*voka, type);
    voka->body.setPose({x, y, groundAt(x, y), 0.0f, 0.0f, heading});
    // A standing Voka's driving step: on the ground, pitched by the slope ahead.
    Pose look;
    driving::step(voka->body, look, 0.0f, groundAt);
    voka->setCurrentWeapon(weapon);
    vokas_.push_back(std::move(voka));
    return *vokas_.back();
}

void Showroom::addItem(std::int32_t code, float x, float y, float spinSeconds) {
    auto item = std::make_unique<Item>();
    ModelStore::copyFromPrototype(*item, code);
    item->setPosition(x, y, groundAt(x, y));
    FrameClock::reset();
    FrameClock::tick(spinSeconds);
    item->update();
    FrameClock::reset();
    items_.push_back(std::move(item));
}

void Showroom::addExplosion(float x, float y, float z, float size, int picture) {
    auto explosion = std::make_unique<Explosion>(false);
    ModelStore::copyExplosion(*explosion);
    explosion->setSize(size);
    // Shots' impacts stand on the ground; a Voka's sinks its foot 20 units below it.
    explosion->setGround(size < 1.0f);
    explosion->start({x, y, z, 0.0f, 0.0f, 0.0f}, 0.0f);
    advance(*explosion, picture);
    explosions_.push_back(std::move(explosion));
}

// A rail shot from the Voka's muzzle along its heading, `pitch` degrees down, marched onto
// the ground as an own shot is.
void Showroom::addRailShot(const Voka& from, float pitch, std::int32_t id) {
    const Pose pose = from.body.getPose();
    float muzzle[4];
    voka_geometry::muzzlePoint(pose, 0.0f, 0.0f, muzzle);
    const float heading = pose.rotZ * kRadiansPerDegree;
    const float down = -pitch * kRadiansPerDegree;
    const ShotPoint start{muzzle[0], muzzle[1], muzzle[2]};
    const ShotPoint aim{std::cos(down) * std::cos(heading), std::cos(down) * std::sin(heading),
                        std::sin(down)};
    const Shot shot = aimShot({start, aim, start}, groundAt);
    addRailBeams(shots_, id, shot.state);
}

void Showroom::loadLineUp() {
    // The valley near the south edge, looking south: east (+x) is on the left of the views.
    Voka& steering = addVoka(TYPE_VOKA_RED, 815.0f, 190.0f, 200.0f, WEAPON_MG);
    Pose lock = steering.body.getPose();
    lock.rotX = driving::kMaxSteering;
    steering.body.setPose(lock);
    const Voka& machineGun = addVoka(TYPE_VOKA_RED, 790.0f, 185.0f, 250.0f, WEAPON_MG);
    const Voka& railGun = addVoka(TYPE_VOKA_GREEN, 765.0f, 185.0f, 250.0f, WEAPON_RAIL);
    Voka& wreck = addVoka(TYPE_VOKA_GREEN, 705.0f, 175.0f, 300.0f, WEAPON_RAIL);
    // Three tenths of a second after the hit: the fourth picture, the pieces flying.
    wreck.animate(1, 0.0f);
    FrameClock::reset();
    for (int k = 1; k <= 3; ++k) {
        FrameClock::tick(0.1f * static_cast<float>(k));
        wreck.updateRemote(0.2f * static_cast<float>(k));
    }
    FrameClock::reset();
    addRailShot(railGun, 3.0f, 1);

    const std::int32_t codes[] = {ITEM_POWER25,  ITEM_POWER15, ITEM_AMOR_50,
                                  ITEM_AMOR_100, ITEM_AMMO_MG, ITEM_AMMO_RAIL};
    // Turned a quarter (at 80 degrees a second) to face the views from the north.
    for (int i = 0; i < 6; ++i)
        addItem(codes[i], 795.0f - 9.0f * static_cast<float>(i), 220.0f, kQuarterTurn);

    // A destroyed Voka's explosion at four of its pictures, along the valley to the west.
    for (int i = 0; i < 4; ++i) {
        const float x = 600.0f - 100.0f * static_cast<float>(i);
        addExplosion(x, 200.0f, groundAt(x, 200.0f), 1.0f, 1 + 4 * i);
    }

    ViewerCamera player;
    player.vehicle = steering.body.getPose();
    PlayerStatus::getCameraOffset(player.offset);
    views_ = {
        {"vokas", cameraAt({765.0f, 250.0f, 80.0f, 0.0f, -20.0f, 270.0f})},
        {"steering", behind(steering.body.getPose(), 30.0f, 10.0f, 10.0f, 0.0f)},
        {"player", player},
        {"arms", behind(machineGun.body.getPose(), 14.0f, 14.0f, 20.0f, -25.0f)},
        {"items", cameraAt({772.0f, 252.0f, 58.0f, 0.0f, -25.0f, 270.0f})},
        {"explosions", cameraAt({450.0f, 400.0f, 170.0f, 0.0f, -15.0f, 270.0f})},
        {"rail", behind(railGun.body.getPose(), 45.0f, 25.0f, 20.0f, 90.0f)},
        {"fence", cameraAt({760.0f, 60.0f, 170.0f, 0.0f, 0.0f, 0.0f})},
    };
}

void Showroom::loadCrowd() {
    // Four rows of four across the valley, turned every way; ten carry the rail gun and
    // fire it, six the machine gun.
    for (int i = 0; i < 16; ++i) {
        const float x = 820.0f - 40.0f * static_cast<float>(i % 4);
        const float y = 240.0f - 30.0f * static_cast<float>(i / 4);
        addVoka(i % 2 == 0 ? TYPE_VOKA_RED : TYPE_VOKA_GREEN, x, y, 25.0f * static_cast<float>(i),
                i % 8 < 5 ? WEAPON_RAIL : WEAPON_MG);
    }
    for (int i = 0; i < 18; ++i) {
        addItem(ITEM_POWER25 + i % 6, 830.0f - 10.0f * static_cast<float>(i),
                255.0f - 8.0f * static_cast<float>(i % 3), 0.25f * static_cast<float>(i));
    }
    for (int i = 0; i < 18; ++i) {
        const float x = 835.0f - 9.0f * static_cast<float>(i);
        const float y = 160.0f + 50.0f * static_cast<float>(i % 3);
        addExplosion(x, y, groundAt(x, y), 0.08f, i % 15);
    }
    addExplosion(700.0f, 90.0f, groundAt(700.0f, 90.0f), 1.0f, 5);
    addExplosion(840.0f, 100.0f, groundAt(840.0f, 100.0f), 1.0f, 9);
    std::int32_t shot = 0;
    for (const auto& voka : vokas_)
        if (voka->getCurrentWeapon() == WEAPON_RAIL) addRailShot(*voka, 5.0f, ++shot);
    views_ = {{"crowd", crowdCamera()}};
}

void Showroom::draw(const Pose& camera, const float* light) {
    for (auto& voka : vokas_) voka->draw(camera, light);
    for (auto& item : items_) item->draw(camera, light);
    for (auto& explosion : explosions_) explosion->draw(camera, light);
    shots_.drawAll(camera, light);
    fence_.drawAll(camera, light);
}
