#pragma once

#include <cstdint>

// The pick-up rules of the six items: which player value an item raises, by how much, up
// to where, and when it is refused because the value is already full. Plain data and one
// plain function, so the match, a computer player and tests apply the same rule.

// The player values that items raise (the player status's health, armor and the
// ammunition of the machine gun and the rail gun).
struct PlayerValues {
    std::int32_t health = 0;
    std::int32_t armor = 0;
    std::int32_t ammoMg = 0;
    std::int32_t ammoRail = 0;
};

struct ItemRule {
    std::uint8_t typeCode;
    const char* modelBase;  // path without ".3ds"; levels of detail add "_middle", "_far"
    std::int32_t PlayerValues::*value;
    std::int32_t gain;
    std::int32_t cap;          // the value never passes this; 0 for no cap
    std::int32_t refusedFrom;  // the item stays when the value is at least this
    std::int32_t sample;       // the sound of taking it
};

// The rule of an item type code, or nullptr outside 133 to 138.
const ItemRule* itemRule(std::int32_t typeCode);

struct PickUp {
    bool taken = false;
    PlayerValues values;       // after the pick-up; unchanged when refused
    std::int32_t sample = -1;  // the sample to play when taken, else -1
};

// Whether an item of `typeCode` is taken by a player with `values`, and what they become.
// An unknown type code is never taken.
PickUp pickUp(std::int32_t typeCode, const PlayerValues& values);
