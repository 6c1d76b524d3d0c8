#include "net/match/combat_rules.h"

#include "net/protocol/game_codes.h"

std::optional<HitDamage> projectileDamage(std::int32_t typeCode) {
    if (typeCode == TYPE_BULLET_MG) return HitDamage{3, 1};
    if (typeCode == TYPE_BULLET_RAIL) return HitDamage{60, 30};
    return std::nullopt;
}

Condition absorbHit(Condition now, HitDamage damage) {
    Condition after{now.health - damage.health, now.armor - damage.armor};
    if (after.armor < 0) {
        after.health += after.armor;
        after.armor = 0;
    }
    return after;
}

HitVerdict judgeHit(std::int32_t projectileType, bool onOwnVoka, bool ownVokaAlive, Condition now) {
    const std::optional<HitDamage> damage = projectileDamage(projectileType);
    if (!damage || !onOwnVoka || !ownVokaAlive) return {HitOutcome::Unharmed, now};
    HitVerdict verdict{HitOutcome::Damaged, absorbHit(now, *damage)};
    if (verdict.after.health < 1) {
        verdict.outcome = HitOutcome::Killed;
        verdict.after.health = 0;
    }
    return verdict;
}

bool isOwnFrag(std::int32_t shooterId, std::int32_t ownVokaId) {
    return ownVokaId != -1 && shooterId == ownVokaId;
}
