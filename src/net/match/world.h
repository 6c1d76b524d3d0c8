#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "combat/beam_table.h"
#include "net/match/match_core.h"
#include "net/match/ranking.h"
#include "render/body.h"

class Bullet;
class Item;
class LensFlare;
class Sky;
class Voka;

// One frame of the player's input, read by the app and handed to World::update: the
// driving keys, mouse buttons and mouse look (net/match/mouse_look.h) as a DriverInput,
// the centre-view request and the clocks.
struct WorldInput : DriverInput {
    bool centreView = false;  // brings the look angles back to straight ahead once
    float frameTime = 0.0f;   // seconds since the last frame (the frame clock's step)
    float nowSeconds = 0.0f;  // the game clock, which explosions run by
};

// The running match as the game plays and shows it: the match's rules and network
// (MatchCore) and everything drawn for them: a Voka model wherever a Voka stands, the
// items, what the shots leave behind (impact effects and rail beams), the arena fence,
// the sky, the lens flare and the hit flash.
//
// Set-up, on the main thread in this order: connect, assignTerrainId, buildFence,
// addItem for each item of the level, createSky, createOwnVoka, setSunPosition,
// sendInfoRequest, announceOwnVoka. Each frame the app calls collide, then update, then
// draw (or, dead, draw and rankingRows). The four network handlers run on the receiving
// thread and reach only the MatchCore; the drawn objects are the main thread's alone,
// and update brings them in line with the match.
class World {
  public:
    // The arena's red flash when a hit is reported lasts this long (seconds).
    static constexpr float kHitFlashSeconds = 0.1f;

    // Empty services are the game's own: the terrain's ground, the SoundManager, and
    // only objects whose prototype the model store holds.
    explicit World(WorldServices services = {});
    World(const World&) = delete;
    World& operator=(const World&) = delete;
    ~World();

    std::int32_t connect() { return core_.connect(); }
    std::int32_t connect(const char* host, std::uint16_t port) { return core_.connect(host, port); }
    // Registers the handlers without a server: a demo's messages reach them through the
    // client's dispatch, and what the World sends goes nowhere.
    void listen() { core_.listen(); }
    // The World's network client: a demo recording taps it, a playback dispatches into it.
    net::NetClient& netClient() { return core_.netClient(); }

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

    void sendInfoRequest() { core_.sendInfoRequest(); }
    void announceOwnVoka() { core_.announceOwnVoka(); }
    void announceState() { core_.announceState(); }

    void collide() { core_.collide(); }
    // One frame: the match's (mouse look, driving only on the ground, firing, the own
    // speed into the player status), then every drawn object's step.
    void update(const WorldInput& input);
    // GL: the world for a camera at `camera` (the Camera's pose of this frame, with the
    // camera's view on the modelview matrix): sky, terrain, lens flare when enabled, the
    // own Voka, the items, the other players, the shots and the beams, the hit flash.
    void draw(const Pose& camera);

    void getCameraPose(Pose& pose, Pose& target) { core_.getCameraPose(pose, target); }
    // The own Voka's body pose and its look record (yaw in rotZ, pitch in rotY, degrees
    // relative to the Voka); false without an own Voka.
    bool ownPose(Pose& body, Pose& look) const;
    // A demo drives the own Voka: after update, it stands at `body` with the look
    // turned to `yaw` and `pitch`, and the others' copies see it there.
    void placeOwnVoka(const Pose& body, float yaw, float pitch);
    // A hit was reported: its flash shows from the next draw for kHitFlashSeconds.
    bool isFlashing() const { return core_.isHitFlashDue() || hitFlash_ >= 0.0f; }
    bool isDead() const { return core_.isDead(); }
    void respawn() { core_.respawn(); }
    std::vector<RankingRow> rankingRows() const { return core_.rankingRows(); }

    std::int32_t onNewObject(std::int32_t id, std::uint8_t typeCode, const net::Pose& state) {
        return core_.onNewObject(id, typeCode, state);
    }
    std::int32_t onRemoveObject(std::int32_t id, std::uint8_t typeCode) {
        return core_.onRemoveObject(id, typeCode);
    }
    std::int32_t onCombatEvent(std::uint8_t type, std::int32_t id1, std::int32_t id2,
                               std::int32_t id3, std::uint8_t type1, std::uint8_t type2) {
        return core_.onCombatEvent(type, id1, id2, id3, type1, type2);
    }
    void onDataEvent(std::uint8_t type, std::int32_t id, const std::uint8_t* payload,
                     std::size_t length) {
        core_.onDataEvent(type, id, payload, length);
    }

    // What the match's tables hold (the beams are the shots' as shown; the fence is
    // apart).
    struct TableSizes {
        std::size_t players = 0;
        std::size_t items = 0;
        std::size_t ownProjectiles = 0;
        std::size_t remoteProjectiles = 0;
        std::size_t beams = 0;
    };
    TableSizes tableSizes() const;
    using PlayerView = MatchCore::PlayerView;
    std::optional<PlayerView> player(std::int32_t id) const { return core_.playerView(id); }
    std::optional<std::int32_t> itemTaken(std::int32_t id) const { return core_.itemTaken(id); }
    std::int32_t ownId() const { return core_.ownId(); }

    MatchCore& core() { return core_; }

  private:
    // A drawn object and the match object it shows.
    template <typename Drawn>
    struct Shown {
        std::uint64_t instance = 0;
        std::unique_ptr<Drawn> drawn;
    };

    // Brings the drawn objects in line with the match's tables and steps them.
    void showMatch(const WorldInput& input);
    void showOwnVoka(const WorldInput& input);
    void showShots(const MatchCore::ShotTable& shots,
                   std::unordered_map<std::int32_t, Shown<Bullet>>& shown);
    void forgetShot(std::int32_t id, const Bullet& bullet);
    void drawLensFlare(const Pose& camera);
    void drawHitFlash();

    MatchCore core_;

    std::unique_ptr<Voka> ownVoka_;
    std::int32_t terrainId_ = -1;  // the identifier assignTerrainId took
    std::unordered_map<std::int32_t, Shown<Voka>> players_;
    std::unordered_map<std::int32_t, std::unique_ptr<Item>> items_;
    std::unordered_map<std::int32_t, Shown<Bullet>> ownShots_;
    std::unordered_map<std::int32_t, Shown<Bullet>> remoteShots_;
    BeamTable beams_;
    BeamTable fence_;
    std::unique_ptr<Sky> sky_;
    std::unique_ptr<LensFlare> lensFlare_;  // made at the first frame that shows it

    float sunPosition_[3] = {0.0f, 0.0f, 0.0f};
    // Seconds since the last hit message, -1 when no flash runs.
    float hitFlash_ = -1.0f;
    float lastFrameTime_ = 0.0f;
};
