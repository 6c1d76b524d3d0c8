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
#include <vector>

#include "combat/driving.h"
#include "combat/shot_state.h"
#include "combat/voka_state.h"
#include "net/match/fire_rule.h"
#include "net/match/ranking.h"
#include "net/net_client.h"
#include "net/player_status.h"
#include "render/body.h"

// What drives the own Voka for one frame: the driving keys and the mouse buttons as they
// are held, and the turn of the look. A player's keyboard and mouse fill it, or a
// computer player's pilot.
struct DriverInput {
    bool forward = false;
    bool backward = false;
    bool left = false;
    bool right = false;
    bool fireButton = false;   // the left mouse button
    bool rightButton = false;  // holds the look straight ahead while down
    LookTurn look;             // this frame's turn of the look, degrees
};

// What the match takes from its surroundings, replaceable for tests and tools.
struct WorldServices {
    // The ground under the own Voka, its shots and the start points; empty: flat at 0
    // (the game's World passes its terrain).
    driving::GroundHeight ground;
    // Plays a sample of the match; empty: silent (the game's World plays it through the
    // SoundManager).
    std::function<void(std::int32_t sample)> playSample;
    // Where "%s connected..." lines go; nullptr: nowhere.
    std::FILE* console = stdout;
    // The own player's name; empty: the player name of the settings.
    std::string playerName;
    // The own player's values; nullptr: the game's PlayerStatus.
    PlayerRecord* player = nullptr;
    // The index of the start point to use, below `count`; empty: at random, from the
    // generator seeded with the time, as the level file's reader picks one.
    std::function<std::size_t(std::size_t count)> pickStart;
    // Whether objects of a type code can be shown, so may be kept; empty: every one (the
    // game's World asks whether the model store holds the prototype).
    std::function<bool(std::uint8_t typeCode)> hasModel;
};

// A pick-up of the level as the match's rules know it.
struct ItemState {
    std::int32_t id = 0;
    std::uint8_t type = 0;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    std::int32_t taken = 0;  // 0 while available
};

// The running match without drawing: the own Voka, the other players' Vokas, the level's
// items, the own and the remote shots, the network client, the main thread's work of
// each frame (arena walls, hits, pick-ups, driving, firing) and the network handlers
// with their scoring. The game's World shows it; a computer player plays it directly.
//
// Set-up, in this order: connect, addItem for each item of the level, createOwnVoka,
// sendInfoRequest, announceOwnVoka. Each frame: collide, then update. The four network
// handlers run on the receiving thread; everything else is the thread's that runs the
// frames (the main thread).
//
// The world lock guards the object tables and which Voka is the own one; the own Voka
// itself is the main thread's. See net/match/README.md for the lock order and the
// teardown.
class MatchCore {
  public:
    using VokaTable = std::unordered_map<std::int32_t, std::unique_ptr<VokaState>>;
    using ShotTable = std::unordered_map<std::int32_t, std::unique_ptr<ShotState>>;
    using ItemTable = std::unordered_map<std::int32_t, ItemState>;

    explicit MatchCore(WorldServices services = {});
    MatchCore(const MatchCore&) = delete;
    MatchCore& operator=(const MatchCore&) = delete;
    // Stops the network and frees every object in the order that keeps the receiving
    // thread away from freed objects.
    ~MatchCore();

    // Registers the four handlers and connects to the server of the settings (or the
    // given one), starting the network threads. Returns 0 whatever the connection gave:
    // without a server the match runs alone.
    std::int32_t connect();
    std::int32_t connect(const char* host, std::uint16_t port);
    // Registers the handlers without a server: a demo's messages reach them through the
    // client's dispatch, and what the match sends goes nowhere.
    void listen();
    // The match's network client: a demo recording taps it, a playback dispatches into it.
    net::NetClient& netClient() { return *netClient_; }
    // False once the server is gone (or never answered): the match runs alone.
    bool isOnline() const { return connected_; }
    // An identifier of this client: -1 until the server has given the client number.
    std::int32_t makeId() { return netClient_->makeId(); }
    std::int32_t getClientNumber() const { return netClient_->getClientNumber(); }

    // An item of the level under the level file's identifier; -1, entering nothing, for
    // a type code that is no item's or that cannot be shown.
    std::int32_t addItem(std::int32_t id, std::uint8_t typeCode, float x, float y, float z);
    // The own Voka, 128 (red) or 129 (green), at a start point of the current level; -1
    // for another type code, one that cannot be shown, or a second call.
    std::int32_t createOwnVoka(std::int32_t vokaType);

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
    // One frame of `dt` seconds: the look, driving (only on the ground), firing, the
    // shots' ages and the other players' poses, the own speed into the player's values.
    void update(const DriverInput& input, float dt);

    // The two records the camera follows: the own Voka's pose (heading wrapped into
    // -360..360) and its camera record (look yaw raised by 50 while it explodes). Zeros
    // without an own Voka.
    void getCameraPose(Pose& pose, Pose& target);
    // Whether a hit was reported since the last call (each hit message flashes the
    // arena red on screen).
    bool takeHitFlash() { return flashDue_.exchange(false); }
    bool isHitFlashDue() const { return flashDue_; }
    // The own Voka is dead: set by update once it is destroyed, until respawn.
    bool isDead() const { return dead_; }
    // Back into the match at a new start point; tells the others (MSG_RESPAWN). The
    // caller resets the player's values first.
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

    // The own player's values and the own Voka (nullptr before createOwnVoka); main
    // thread.
    PlayerRecord& player() { return player_; }
    const PlayerRecord& player() const { return player_; }
    const VokaState* ownVoka() const { return ownVoka_.get(); }
    // A demo drives the own Voka: it stands at `body` with the look turned to `yaw` and
    // `pitch` (degrees relative to the Voka), and the others' copies see it there.
    void placeOwnVoka(const Pose& body, float yaw, float pitch);
    // The own Voka's identifier; -1 without one or without a client number.
    std::int32_t ownId() const;

    // The tables as they stand, read under the world lock: `read` is called with them
    // and must not keep references past its return, nor call back into the match.
    struct Tables {
        const VokaTable& players;
        const ItemTable& items;
        const ShotTable& ownShots;
        const ShotTable& remoteShots;
    };
    template <typename Read>
    void readTables(Read read) const {
        std::lock_guard<std::mutex> guard(worldLock_);
        read(Tables{players_, items_, ownProjectiles_, remoteProjectiles_});
    }

    // What the tables hold, read under the world lock (tests and tools).
    struct TableSizes {
        std::size_t players = 0;
        std::size_t items = 0;
        std::size_t ownProjectiles = 0;
        std::size_t remoteProjectiles = 0;
    };
    TableSizes tableSizes() const;
    struct PlayerView {
        Pose pose;
        std::string name;
        std::int32_t frags = 0;
        std::int32_t weapon = 0;
        bool destroyed = false;
    };
    std::optional<PlayerView> playerView(std::int32_t id) const;
    // The taken state of an item, or nothing when there is no such item.
    std::optional<std::int32_t> itemTaken(std::int32_t id) const;

    // The ground height at a world position (the services' ground).
    float groundHeight(float x, float y) const;

  private:
    void play(std::int32_t sample) const;
    bool canShow(std::uint8_t typeCode) const;
    std::uint64_t nextInstance() { return instances_.fetch_add(1) + 1; }
    void placeAtStart(VokaState& voka) const;
    void collideArena();
    void collideShots();
    void collideItems();
    void updateOwnVoka(const DriverInput& input, float dt);
    void drive(VokaState& own, const DriverInput& input, float dt);
    void fireWeapon(const DriverInput& input, float dt);
    void fire(std::uint8_t typeCode);
    void dropRemoteObjects();
    void sendFrags();

    WorldServices services_;
    PlayerRecord& player_;

    // The world lock; it guards everything down to ownRef_.
    mutable std::mutex worldLock_;
    VokaTable players_;
    ItemTable items_;
    ShotTable ownProjectiles_;
    ShotTable remoteProjectiles_;
    std::unique_ptr<VokaState> ownVoka_;
    net::ObjectRef ownRef_;  // the own Voka's identifier and type; -1 without one

    FireTimer fireTimer_;
    std::unique_ptr<net::NetClient> netClient_;
    std::atomic<std::uint64_t> instances_{0};
    // A hit was reported (receiving thread) and not yet shown (main thread).
    std::atomic<bool> flashDue_{false};
    // Set by the receiving thread when a hit killed the own Voka (so no second hit
    // counts); the main thread destroys it; respawn clears it.
    std::atomic<bool> ownKilled_{false};
    bool dead_ = false;
    bool announced_ = false;  // the own Voka went out with MSG_NEW
    bool connected_ = false;  // the network threads run (until the server is lost)
    std::string ownName_;
};
