#include "pilot/pilot.h"

#include <algorithm>
#include <cmath>

#include "net/match/arena.h"

namespace {

constexpr float kDegreesPerRadian = 57.29578f;
// Players farther away than this are not looked for; shots are fired only within
// kFireRange (a shot's march ends 998 units out).
constexpr float kSightRange = 1000.0f;
constexpr float kFireRange = 600.0f;
// The middle of a Voka above the ground it stands on: its hit box is 10.7 units high.
constexpr float kTargetHeight = 5.0f;
// Closer than this to its target the pilot stops to shoot, only turning to face it.
constexpr float kStandDistance = 250.0f;
// It aims where the target will be this much later: the shot is tested against the
// target's next pose.
constexpr float kLeadSeconds = 0.05f;
// The steering keys are left alone while the goal lies within this many degrees.
constexpr float kSteerDeadZone = 4.0f;
// Goals stay this far inside the arena's walls.
constexpr float kWallMargin = 80.0f;
constexpr float kWaypointReach = 80.0f;
constexpr float kWaypointSeconds = 25.0f;
// A target lost from sight is looked for where it was last seen, for this long.
constexpr float kChaseSeconds = 6.0f;
// The aiming error is drawn anew this often.
constexpr float kErrorSeconds = 0.5f;
// An item is worth a detour within this distance; one this close is taken even in a
// fight.
constexpr float kItemRange = 800.0f;
constexpr float kItemNearby = 150.0f;
// Below this much health the pilot leaves a fight for a health item.
constexpr std::int32_t kFleeHealth = 40;
// The nearest players it looks for, at most: a crowd (or a server that floods it with
// players) costs no more.
constexpr std::size_t kMostLooks = 8;

float wrapDegrees(float degrees) {
    degrees = std::fmod(degrees, 360.0f);
    if (degrees > 180.0f) degrees -= 360.0f;
    if (degrees < -180.0f) degrees += 360.0f;
    return degrees;
}

float distance(float ax, float ay, float bx, float by) {
    return std::hypot(bx - ax, by - ay);
}

// Whether the pilot wants an item of `type` now: it would be taken (its value is not
// full) and the value it raises runs low.
bool wanted(std::uint8_t type, const PlayerValues& values) {
    if (!pickUp(type, values).taken) return false;
    switch (type) {
        case ITEM_POWER25:
        case ITEM_POWER15:
            return values.health < 70;
        case ITEM_AMMO_MG:
            return values.ammoMg < 100;
        case ITEM_AMMO_RAIL:
            return values.ammoRail < 5;
        case ITEM_AMOR_50:
        case ITEM_AMOR_100:
            return values.armor < 100;
        default:
            return false;
    }
}

}  // namespace

PilotSkill PilotSkill::ofLevel(std::int32_t level) {
    static constexpr PilotSkill kLevels[] = {
        {6.0f, 0.8f, 120.0f, 4.0f}, {4.0f, 0.6f, 180.0f, 3.0f},  {2.5f, 0.45f, 240.0f, 2.5f},
        {1.5f, 0.3f, 300.0f, 2.0f}, {0.6f, 0.15f, 400.0f, 1.5f},
    };
    return kLevels[std::clamp(level, 1, 5) - 1];
}

bool lineOfSight(const float from[3], const float to[3], const driving::GroundHeight& ground,
                 float step) {
    const float d[3] = {to[0] - from[0], to[1] - from[1], to[2] - from[2]};
    const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (!(length > step) || !(step > 0.0f)) return std::isfinite(length);
    for (float t = step; t < length; t += step) {
        const float f = t / length;
        if (from[2] + f * d[2] < ground(from[0] + f * d[0], from[1] + f * d[1])) return false;
    }
    return true;
}

Pilot::Pilot(PilotSkill skill, std::uint32_t seed) : skill_(skill), random_(seed) {}

float Pilot::uniform(float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random_);
}

PilotCommand Pilot::fly(const PilotView& view, float dt) {
    PilotCommand command;
    command.weapon = view.values.ammoRail > 0 ? WEAPON_RAIL : WEAPON_MG;
    if (view.dead) {
        target_.reset();
        return command;
    }
    errorAge_ -= dt;
    if (errorAge_ <= 0.0f) {
        std::normal_distribution<float> error(0.0f, skill_.aimErrorDegrees);
        errorYaw_ = error(random_);
        errorPitch_ = error(random_);
        errorAge_ = kErrorSeconds;
    }

    const PilotView::Player* target = chooseTarget(view);
    lastSeenAge_ += dt;
    if (target) {
        lastSeen_ = {target->x, target->y};
        lastSeenAge_ = 0.0f;
    }
    const std::optional<Point> item = neededItem(view);
    const float targetDistance =
        target ? distance(view.pose.x, view.pose.y, target->x, target->y) : 0.0f;
    const bool itemFirst =
        item && (!target || view.values.health < kFleeHealth ||
                 distance(view.pose.x, view.pose.y, item->x, item->y) < kItemNearby);
    if (itemFirst) {
        steerTo(view, *item, 0.0f, command.input);
    } else if (target) {
        steerTo(view, {target->x, target->y}, kStandDistance, command.input);
    } else if (lastSeenAge_ < kChaseSeconds) {
        steerTo(view, lastSeen_, 0.0f, command.input);
    } else {
        steerTo(view, roam(view, dt), 0.0f, command.input);
    }

    if (target == nullptr) return command;
    const bool onTarget = aimAt(view, *target, dt, command.input);
    const std::int32_t ammo =
        command.weapon == WEAPON_RAIL ? view.values.ammoRail : view.values.ammoMg;
    command.input.fireButton = onTarget && ammo > 0 && targetDistance < kFireRange &&
                               sinceTargetSeen_ >= skill_.reactionSeconds &&
                               command.weapon == view.weapon;
    return command;
}

const PilotView::Player* Pilot::chooseTarget(const PilotView& view) {
    std::vector<std::pair<float, const PilotView::Player*>> near;
    for (const PilotView::Player& player : view.players) {
        if (player.destroyed) continue;
        const float d = distance(view.pose.x, view.pose.y, player.x, player.y);
        if (d < kSightRange) near.push_back({d, &player});
    }
    const std::size_t looks = std::min(near.size(), kMostLooks);
    std::partial_sort(near.begin(), near.begin() + static_cast<std::ptrdiff_t>(looks), near.end(),
                      [](const auto& a, const auto& b) { return a.first < b.first; });
    near.resize(looks);
    for (const auto& [d, player] : near) {
        const float at[3] = {player->x, player->y, player->z + kTargetHeight};
        if (!lineOfSight(view.eye, at, *view.ground)) continue;
        if (target_ != player->id) {
            target_ = player->id;
            sinceTargetSeen_ = 0.0f;
        }
        return player;
    }
    target_.reset();
    sinceTargetSeen_ = 0.0f;
    return nullptr;
}

std::optional<Pilot::Point> Pilot::neededItem(const PilotView& view) const {
    std::optional<Point> best;
    float bestDistance = kItemRange;
    for (const PilotView::Item& item : view.items) {
        if (!wanted(item.type, view.values)) continue;
        const float d = distance(view.pose.x, view.pose.y, item.x, item.y);
        if (d >= bestDistance) continue;
        bestDistance = d;
        best = Point{item.x, item.y};
    }
    return best;
}

Pilot::Point Pilot::roam(const PilotView& view, float dt) {
    waypointAge_ += dt;
    if (!hasWaypoint_ || waypointAge_ > kWaypointSeconds ||
        distance(view.pose.x, view.pose.y, waypoint_.x, waypoint_.y) < kWaypointReach) {
        // Where the items are, the other players come too; with none, anywhere.
        if (view.items.empty()) {
            waypoint_ = {uniform(2 * kWallMargin, kArenaSize - 2 * kWallMargin),
                         uniform(2 * kWallMargin, kArenaSize - 2 * kWallMargin)};
        } else {
            const auto pick =
                std::uniform_int_distribution<std::size_t>(0, view.items.size() - 1)(random_);
            waypoint_ = {view.items[pick].x, view.items[pick].y};
        }
        waypointAge_ = 0.0f;
        hasWaypoint_ = true;
    }
    return waypoint_;
}

void Pilot::steerTo(const PilotView& view, Point goal, float stopAt, DriverInput& input) const {
    goal.x = std::clamp(goal.x, kWallMargin, kArenaSize - kWallMargin);
    goal.y = std::clamp(goal.y, kWallMargin, kArenaSize - kWallMargin);
    const float bearing =
        std::atan2(goal.y - view.pose.y, goal.x - view.pose.x) * kDegreesPerRadian;
    const float turn = wrapDegrees(bearing - view.pose.rotZ);
    input.left = turn > kSteerDeadZone;
    input.right = turn < -kSteerDeadZone;
    // A goal close behind is easier to turn to slowly.
    const float d = distance(view.pose.x, view.pose.y, goal.x, goal.y);
    input.forward = d > stopAt && (std::fabs(turn) < 90.0f || d > kWaypointReach);
}

bool Pilot::aimAt(const PilotView& view, const PilotView::Player& target, float dt,
                  DriverInput& input) {
    // The target's velocity, smoothed over the frames (its poses come every 20 ms or
    // so, not every frame).
    if (sinceTargetSeen_ > 0.0f && dt > 0.0f) {
        constexpr float kSmoothing = 0.3f;
        targetVelocity_.x += kSmoothing * ((target.x - targetSeenAt_.x) / dt - targetVelocity_.x);
        targetVelocity_.y += kSmoothing * ((target.y - targetSeenAt_.y) / dt - targetVelocity_.y);
    } else {
        targetVelocity_ = {};
    }
    targetSeenAt_ = {target.x, target.y};
    sinceTargetSeen_ += dt;
    const float d[3] = {target.x + targetVelocity_.x * kLeadSeconds - view.eye[0],
                        target.y + targetVelocity_.y * kLeadSeconds - view.eye[1],
                        target.z + kTargetHeight - view.eye[2]};
    const float wantYaw = std::atan2(d[1], d[0]) * kDegreesPerRadian + errorYaw_;
    const float wantPitch =
        std::atan2(d[2], std::hypot(d[0], d[1])) * kDegreesPerRadian + errorPitch_;
    const float haveYaw = std::atan2(view.aim[1], view.aim[0]) * kDegreesPerRadian;
    const float havePitch = std::asin(std::clamp(view.aim[2], -1.0f, 1.0f)) * kDegreesPerRadian;
    const float yaw = wrapDegrees(wantYaw - haveYaw);
    const float pitch = wantPitch - havePitch;
    const float most = skill_.lookDegreesPerSecond * dt;
    input.look = {std::clamp(yaw, -most, most), std::clamp(pitch, -most, most)};
    return std::fabs(yaw) < skill_.fireToleranceDegrees &&
           std::fabs(pitch) < skill_.fireToleranceDegrees;
}

PilotView viewOf(const MatchCore& match, const driving::GroundHeight& ground) {
    PilotView view;
    view.ground = &ground;
    const VokaState* own = match.ownVoka();
    if (own == nullptr) return view;
    const PlayerRecord& player = match.player();
    view.pose = own->body.getPose();
    view.look = own->getLookPose();
    view.dead = match.isDead();
    view.values = {player.getHealth(), player.getArmor(), player.getAmmo(WEAPON_MG),
                   player.getAmmo(WEAPON_RAIL)};
    view.weapon = player.getWeapon();
    float eye[4], aim[4];
    player.getEye(eye);
    player.getAim(aim);
    std::copy(eye, eye + 3, view.eye);
    std::copy(aim, aim + 3, view.aim);
    match.readTables([&view](const MatchCore::Tables& tables) {
        view.players.reserve(tables.players.size());
        for (const auto& [id, voka] : tables.players) {
            const Pose at = voka->body.getPose();
            view.players.push_back({id, at.x, at.y, at.z, voka->isDestroyed()});
        }
        for (const auto& [id, item] : tables.items)
            if (item.taken == 0) view.items.push_back({item.type, item.x, item.y, item.z});
    });
    return view;
}
