#include "world/item_rules.h"

#include "net/protocol/game_codes.h"

namespace {

constexpr ItemRule kRules[] = {
    {ITEM_POWER25, "./models/items/powerup25", &PlayerValues::health, 25, 100, 100,
     Sample::Power25},
    {ITEM_POWER15, "./models/items/powerup15", &PlayerValues::health, 15, 100, 100,
     Sample::Power15},
    {ITEM_AMMO_MG, "./models/items/ammo_minigun", &PlayerValues::ammoMg, 50, 200, 200,
     Sample::Ammo},
    {ITEM_AMMO_RAIL, "./models/items/ammo_rail", &PlayerValues::ammoRail, 5, 20, 20, Sample::Ammo},
    // Armor has no cap: 199 and 100 more make 299.
    {ITEM_AMOR_50, "./models/items/amor_50", &PlayerValues::armor, 50, 0, 200, Sample::Armor50},
    {ITEM_AMOR_100, "./models/items/amor_100", &PlayerValues::armor, 100, 0, 200, Sample::Armor100},
};

}  // namespace

const ItemRule* itemRule(std::int32_t typeCode) {
    for (const ItemRule& rule : kRules) {
        if (rule.typeCode == typeCode) return &rule;
    }
    return nullptr;
}

PickUp pickUp(std::int32_t typeCode, const PlayerValues& values) {
    PickUp result;
    result.values = values;
    const ItemRule* rule = itemRule(typeCode);
    if (rule == nullptr) return result;
    std::int32_t& value = result.values.*(rule->value);
    if (value >= rule->refusedFrom) return result;
    // Below the refusal threshold the gain cannot overflow.
    value += rule->gain;
    if (rule->cap != 0 && value > rule->cap) value = rule->cap;
    result.taken = true;
    result.sample = rule->sample;
    return result;
}
