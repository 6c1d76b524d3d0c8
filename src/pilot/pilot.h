#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "combat/driving.h"
#include "net/match/match_core.h"
#include "render/body.h"
#include "world/item_rules.h"

// A computer player's brain: from what it sees of the match in one frame it decides the
// driving keys, the fire button and the turn of the look, as a player at the keyboard
// and mouse would, and which weapon to hold. It drives through the same driving model at
// the same rates as a player (the match applies its keys), and its look turns no faster
// than a quick hand. It stays in the arena, goes for the items it needs, turns towards
// the nearest player it can see (a hill in between hides one) and fires when its
// crosshair rests on the point it aims at: that point misses the target by an error that
// falls with the skill, and a new target is fired at only after a reaction time that
// falls with it too. Near its target it stops to shoot. A target lost from sight is looked for
// where it was last seen; with nobody about, it drives from item to item, where the others come
// too.
//
// Plain code: the match, a headless computer player and the game's autopilot all give
// it a PilotView; it keeps no clock of its own and its randomness comes from its seed.

// What the pilot sees. Degrees, world units, seconds; z up.
struct PilotView {
    struct Player {
        std::int32_t id = -1;
        float x = 0.0f;
        float y = 0.0f;
        float z = 0.0f;
        bool destroyed = false;
    };
    struct Item {
        std::uint8_t type = 0;
        float x = 0.0f;
        float y = 0.0f;
        float z = 0.0f;
    };

    Pose pose;          // the own Voka's pose (rotZ the heading)
    Pose look;          // its camera record (look pitch rotY, look yaw rotZ)
    float eye[3] = {};  // where the camera is
    float aim[3] = {};  // the camera's unit view direction: where a shot would go
    bool dead = false;
    PlayerValues values;
    std::int32_t weapon = 0;
    std::vector<Player> players;                    // every other player
    std::vector<Item> items;                        // the items that are available now
    const driving::GroundHeight* ground = nullptr;  // required
};

// What the pilot does this frame: the keys, buttons and look turn, and the weapon it
// wants in hand (the caller switches and announces it when it differs).
struct PilotCommand {
    DriverInput input;
    std::int32_t weapon = WEAPON_MG;
};

// How well a pilot plays, from 1 (a beginner) to 5.
struct PilotSkill {
    float aimErrorDegrees;  // spread of the aiming error about the target
    float reactionSeconds;  // before it fires at a target it has just seen
    float lookDegreesPerSecond;
    float fireToleranceDegrees;  // how far the crosshair may be off its aim point

    static PilotSkill ofLevel(std::int32_t level);
};

class Pilot {
  public:
    Pilot(PilotSkill skill, std::uint32_t seed);

    // One frame of `dt` seconds.
    PilotCommand fly(const PilotView& view, float dt);

    // The player it aims at, if any.
    std::optional<std::int32_t> target() const { return target_; }

  private:
    struct Point {
        float x = 0.0f;
        float y = 0.0f;
    };

    const PilotView::Player* chooseTarget(const PilotView& view);
    std::optional<Point> neededItem(const PilotView& view) const;
    Point roam(const PilotView& view, float dt);
    // Steers towards `goal`, driving on while it is farther than `stopAt`.
    void steerTo(const PilotView& view, Point goal, float stopAt, DriverInput& input) const;
    // Turns the look towards the target (with the aiming error) and says whether the
    // crosshair rests on that point.
    bool aimAt(const PilotView& view, const PilotView::Player& target, float dt,
               DriverInput& input);
    float uniform(float low, float high);

    PilotSkill skill_;
    std::mt19937 random_;
    std::optional<std::int32_t> target_;
    float sinceTargetSeen_ = 0.0f;
    Point targetSeenAt_;  // where the target stood last frame
    Point targetVelocity_;
    float errorYaw_ = 0.0f;  // the aiming error, degrees
    float errorPitch_ = 0.0f;
    float errorAge_ = 0.0f;
    Point lastSeen_;            // where the last target was seen
    float lastSeenAge_ = 1e9f;  // seconds since
    Point waypoint_;
    float waypointAge_ = 0.0f;
    bool hasWaypoint_ = false;
};

// What the own player sees of a match: its Voka, the values and camera vectors of its
// player record (the camera wrote the eye and aim of this frame), the other players and
// the available items, over `ground` (which must outlive the view). Main thread.
PilotView viewOf(const MatchCore& match, const driving::GroundHeight& ground);

// Whether the straight line from `from` to `to` (x, y, z) stays above the ground, tried
// every `step` world units: a coarse view test, much cheaper than a shot's march.
bool lineOfSight(const float from[3], const float to[3], const driving::GroundHeight& ground,
                 float step = 20.0f);
