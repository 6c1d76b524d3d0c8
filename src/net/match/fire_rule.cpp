#include "net/match/fire_rule.h"

const WeaponRule* weaponRule(std::int32_t weapon) {
    for (const WeaponRule& rule : kWeaponRules)
        if (rule.weapon == weapon) return &rule;
    return nullptr;
}

FireAction FireTimer::step(std::int32_t weapon, bool held, std::int32_t ammo, double dt) {
    const WeaponRule* rule = weaponRule(weapon);
    if (rule == nullptr) return FireAction::None;
    if (waiting_) {
        if (timer_ > rule->interval) {
            timer_ = 0.0;
            waiting_ = false;
        } else {
            timer_ += dt;
        }
        return FireAction::None;
    }
    if (!held) return FireAction::None;
    timer_ = dt;
    waiting_ = true;
    return ammo > 0 ? FireAction::Shot : FireAction::Empty;
}
