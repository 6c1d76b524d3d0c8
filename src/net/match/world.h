#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "combat/beam_table.h"
#include "combat/driving.h"
#include "net/match/fire_rule.h"
#include "net/match/mouse_look.h"
#include "net/match/ranking.h"
#include "net/net_client.h"
#include "render/body.h"

class Bullet;
class Item;
class LensFlare;
class Sky;
class Voka;

// One frame of the player's input, read by the app and handed to World::update: the
// driving keys and mouse buttons as they are held, the centre-view request, the mouse
// look already read and scaled (net/match/mouse_look.h), and the clocks.
struct WorldInput {
    bool forward = false;
    bool backward = false;
    bool left = false;
    bool right = false;
    bool fireButton = false;   // the left mouse button
    bool rightButton = false;  // holds the look straight ahead while down
    bool centreView = false;   // brings the look angles back to straight ahead once
    LookTurn look;             // this frame's turn of the look, degrees
    float frameTime = 0.0f;    // seconds since the last frame (the frame clock's step)
    float nowSeconds = 0.0f;   // the game clock, which explosions run by
};

// What the World takes from its surroundings, replaceable for tests and tools.
struct WorldServices {
    // The ground under the own Voka, its shots, the start points and the fence; empty:
    // the terrain's.
    driving::GroundHeight ground;
    // Plays a sample of the match at full volume; empty: the SoundManager (the
    // machine gun restarts its sample, every other sample plays through).
    std::function<void(std::int32_t sample)> playSample;
    // Where "%s connected..." lines go.
    std::FILE* console = stdout;
};

// The running match: every object of it (the own Voka, the other players' Vokas, the
// level's items, the own and the remote shots, the beams and the fence, the sky and the
// lens flare), the network client, and the main thread's work of each frame.
//
// Set-up, on the main thread in this order: connect, assignTerrainId, buildFence,
// addItem for each item of the level, createSky, createOwnVoka, setSunPosition,
// sendInfoRequest, announceOwnVoka. Each frame the app calls collide, then update, then
// draw (or, dead, draw and rankingRows). The four network handlers run on the receiving
// thread; everything else is the main thread's.
//
// The world lock guards the object tables and which Voka is the own one; the own Voka
// itself is the main thread's. See net/match/README.md for the lock order and the
// teardown.
class World {
  public:
    // The arena's red flash when a hit is reported lasts this long (seconds).
    static constexpr float kHitFlashSeconds = 0.1f;

    explicit World(WorldServices services = {});
    World(const World&) = delete;
    World& operator=(const World&) = delete;
    // Stops the network and frees every object in the order that keeps the receiving
    // thread away from freed objects.
    ~World();

    // Registers the four handlers and connects to the server of the settings (or the
    // given one), starting the network threads. Returns 0 whatever the connection gave:
    // without a server the match runs alone.
    std::int32_t connect();
    std::int32_t connect(const char* host, std::uint16_t port);
    // Registers the handlers without a server: a demo's messages reach them through the
    // client's dispatch, and what the World sends goes nowhere.
    void listen();
    // The World's network client: a demo recording taps it, a playback dispatches into
    // it.
    net::NetClient& netClient() { return *netClient_; }

    // Main thread, GL: loads the terrain of the current level and gives it an identifier.
    void assignTerrainId();
    // The red fence round the arena, from the ground height at (1600, 0).
    void buildFence();
    // An item of the level under the level file's identifier. -1, entering nothing, when
    // the model store has no item of that type code.
    std::int32_t addItem(std::int32_t id, std::uint8_t typeCode, float x, float y, float z);
    // The sky; -1 when it exists already.
    std::int32_t createSky();
    // The own Voka, 128 (red) or 129 (green), at a random start point of the current
    // level; -1 for another type code, a missing prototype, or a second call.
    std::int32_t createOwnVoka(std::int32_t vokaType);
    // Where the sun stands (world units); the sky, the shadows and the lens flare use it.
    void setSunPosition(float x, float y, float z);

    // Announcements to the other players. MSG_INFO_REQUEST asks them for their names and
    // frags; announceOwnVoka sends MSG_NEW for the own Voka and then announceState;
    // announceState sends the own name, weapon and frags (and follows every weapon
    // change).
    void sendInfoRequest();
    void announceOwnVoka();
    void announceState();

    // One frame, before update: the arena walls, the own shots (withdrawn once expired,
    // hit-tested against the other players while in their hit window) and item pick-ups.
    void collide();
    // One frame: mouse look, driving (only on the ground), firing, every object's step,
    // the own speed into the player status.
    void update(const WorldInput& input);
    // GL: the world for a camera at `camera` (the Camera's pose of this frame, with the
    // camera's view on the modelview matrix): sky, terrain, lens flare when enabled, the
    // own Voka, the items, the other players, the shots and the beams, the hit flash.
    void draw(const Pose& camera);

    // The two records the camera follows: the own Voka's pose (heading wrapped into
    // -360..360) and its camera record (look yaw raised by 50 while it explodes). Zeros
    // without an own Voka.
    void getCameraPose(Pose& pose, Pose& target);
    // The own Voka's body pose and its look record (yaw in rotZ, pitch in rotY, degrees
    // relative to the Voka); false without an own Voka.
    bool ownPose(Pose& body, Pose& look) const;
    // A demo drives the own Voka: after update, it stands at `body` with the look
    // turned to `yaw` and `pitch`, and the others' copies see it there.
    void placeOwnVoka(const Pose& body, float yaw, float pitch);
    // A hit was reported: its flash shows from the next draw for kHitFlashSeconds.
    bool isFlashing() const { return flashDue_ || hitFlash_ >= 0.0f; }
    // The own Voka is dead: set by update once it explodes, until respawn.
    bool isDead() const { return dead_; }
    // Back into the match at a new random start point; tells the others (MSG_RESPAWN).
    // The app resets the player status first.
    void respawn();
    // The ranking the dead player sees: every remote player and the own player, most
    // frags first, as rows to draw.
    std::vector<RankingRow> rankingRows() const;

    // The network handlers (the receiving thread calls them through the NetClient; a
    // tool may call them directly). Each takes the world lock.
    std::int32_t onNewObject(std::int32_t id, std::uint8_t typeCode, const net::Pose& state);
    std::int32_t onRemoveObject(std::int32_t id, std::uint8_t typeCode);
    std::int32_t onCombatEvent(std::uint8_t type, std::int32_t id1, std::int32_t id2,
                               std::int32_t id3, std::uint8_t type1, std::uint8_t type2);
    void onDataEvent(std::uint8_t type, std::int32_t id, const std::uint8_t* payload,
                     std::size_t length);

    // What the tables hold, read under the world lock (tests and tools).
    struct TableSizes {
        std::size_t players = 0;
        std::size_t items = 0;
        std::size_t ownProjectiles = 0;
        std::size_t remoteProjectiles = 0;
        std::size_t beams = 0;  // the shots' beams; the fence is apart
    };
    TableSizes tableSizes() const;
    struct PlayerView {
        Pose pose;
        std::string name;
        std::int32_t frags = 0;
        std::int32_t weapon = 0;
        bool destroyed = false;
    };
    std::optional<PlayerView> player(std::int32_t id) const;
    // The taken state of an item, or nothing when there is no such item.
    std::optional<std::int32_t> itemTaken(std::int32_t id) const;
    // The own Voka's identifier; -1 without one or without a client number.
    std::int32_t ownId() const;

  private:
    void registerHandlers();
    float groundHeight(float x, float y) const;
    void play(std::int32_t sample) const;
    void placeAtStart(Voka& voka) const;
    void collideArena();
    void collideShots();
    void collideItems();
    void updateOwnVoka(const WorldInput& input);
    void drive(Voka& own, const WorldInput& input);
    void fireWeapon(const WorldInput& input);
    void fire(std::uint8_t typeCode);
    void withdrawShot(Bullet& shot);
    void dropRemoteObjects();
    void sendFrags();
    void drawLensFlare(const Pose& camera);
    void drawHitFlash();

    WorldServices services_;

    // The world lock; it guards everything down to ownRef_.
    mutable std::mutex worldLock_;
    std::unordered_map<std::int32_t, std::unique_ptr<Voka>> players_;
    std::unordered_map<std::int32_t, std::unique_ptr<Item>> items_;
    std::unordered_map<std::int32_t, std::unique_ptr<Bullet>> ownProjectiles_;
    std::unordered_map<std::int32_t, std::unique_ptr<Bullet>> remoteProjectiles_;
    BeamTable beams_;
    BeamTable fence_;
    // Remote players killed since the last update; the main thread starts their
    // explosions (with their sound) there.
    std::unordered_set<std::int32_t> explosionsDue_;
    std::unique_ptr<Voka> ownVoka_;
    net::ObjectRef ownRef_;  // the own Voka's identifier and type; -1 without one

    float sunPosition_[3] = {0.0f, 0.0f, 0.0f};
    FireTimer fireTimer_;
    std::unique_ptr<Sky> sky_;
    std::unique_ptr<net::NetClient> netClient_;
    std::unique_ptr<LensFlare> lensFlare_;  // made at the first frame that shows it
    // Seconds since the last hit message, -1 when no flash runs; main thread. The
    // receiving thread asks for a new flash through flashDue_.
    float hitFlash_ = -1.0f;
    std::atomic<bool> flashDue_{false};
    float lastFrameTime_ = 0.0f;
    // Set by the receiving thread when a hit killed the own Voka (so no second hit
    // counts); the main thread explodes it; respawn clears it.
    std::atomic<bool> ownKilled_{false};
    bool dead_ = false;
    bool announced_ = false;       // the own Voka went out with MSG_NEW
    bool connected_ = false;       // the network threads run (until the server is lost)
    std::string ownName_;          // the player name of the settings
    std::int32_t terrainId_ = -1;  // the identifier assignTerrainId took
};
