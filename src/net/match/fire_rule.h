#pragma once

#include <cstdint>

#include "net/protocol/game_codes.h"

// How a weapon fires: the time that must pass between two pulls of the trigger
// (seconds), the type code of its projectile and the sample of a shot.
struct WeaponRule {
    std::int32_t weapon;
    double interval;
    std::uint8_t projectileType;
    std::int32_t shotSample;
};

inline constexpr WeaponRule kWeaponRules[] = {
    {WEAPON_RAIL, 2.0, TYPE_BULLET_RAIL, Sample::Rail},
    {WEAPON_MG, 0.15, TYPE_BULLET_MG, Sample::Minigun},
};

// The rule of a weapon number, or nullptr: other numbers fire nothing.
const WeaponRule* weaponRule(std::int32_t weapon);

// What the fire button does in one frame: nothing, a shot (play the rule's sample,
// create its projectile, take one round) or an empty click (Sample::NoAmmo).
enum class FireAction { None, Shot, Empty };

// The own Voka's fire timer: seconds since the trigger was last pulled, 0 when the
// weapon is ready. A held button on a ready weapon fires, or clicks without ammunition,
// and starts the timer; once the timer has passed the weapon's interval it goes back to
// 0, and the frame after that may fire again. One timer serves both weapons. A frame
// shorter than the clock's millisecond has a step of 0; it still counts as the start of
// the wait, or every such frame would fire.
class FireTimer {
  public:
    // One frame of `dt` seconds for `weapon` with `ammo` rounds left.
    FireAction step(std::int32_t weapon, bool held, std::int32_t ammo, double dt);

  private:
    double timer_ = 0.0;
    bool waiting_ = false;
};
