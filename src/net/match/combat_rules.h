#pragma once

#include <cstdint>
#include <optional>

// The own player's condition as the hit rule sees it (the PlayerStatus values).
struct Condition {
    std::int32_t health = 0;
    std::int32_t armor = 0;
};

// What one projectile takes away.
struct HitDamage {
    std::int32_t armor = 0;
    std::int32_t health = 0;
};

// A machine-gun bullet takes 3 armor and 1 health, a rail shot 60 and 30; other type
// codes do no damage.
std::optional<HitDamage> projectileDamage(std::int32_t typeCode);

// The armor absorbs what it can; what it cannot goes to health as well.
Condition absorbHit(Condition now, HitDamage damage);

enum class HitOutcome {
    Unharmed,  // not the own Voka, no known projectile, or the Voka is already down
    Damaged,
    Killed,  // health fell below 1: the client sends MSG_KILL naming the shooter
};

struct HitVerdict {
    HitOutcome outcome = HitOutcome::Unharmed;
    Condition after;  // a kill leaves health at 0
};

// A MSG_HIT as the victim's client judges it: the kill is decided here, by the victim.
// `projectileType` is the type code of the remote projectile the message names (-1
// when the World holds no such projectile). Every hit message also starts the red
// flash, whoever it names; that is the caller's part.
HitVerdict judgeHit(std::int32_t projectileType, bool onOwnVoka, bool ownVokaAlive, Condition now);

// A MSG_KILL credits the own client a frag when it names the own Voka as the shooter.
// A client without a number (identifier -1) has no Voka that another client can name.
bool isOwnFrag(std::int32_t shooterId, std::int32_t ownVokaId);
