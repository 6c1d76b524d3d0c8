#pragma once

#include <cstdint>

// The game's numeric codes, in one table that the client, the relay server and the
// tools share. Object type codes are the type byte of every scene object; the codes from
// 0x80 up also travel as the type byte of MSG_NEW, weapon numbers in MSG_WEAPON, and item
// codes name the level file's items. Header only, standard library only.

// Weapon numbers (PlayerStatus, MSG_WEAPON) and the type byte of the weapon objects.
inline constexpr std::int32_t WEAPON_MG = 2;
inline constexpr std::int32_t WEAPON_RAIL = 7;

// Object type codes.
inline constexpr std::uint8_t TYPE_VOKA_RED = 128;
inline constexpr std::uint8_t TYPE_VOKA_GREEN = 129;
inline constexpr std::uint8_t TYPE_BULLET_MG = 130;
inline constexpr std::uint8_t TYPE_BULLET_RAIL = 131;
inline constexpr std::uint8_t ITEM_POWER25 = 133;
inline constexpr std::uint8_t ITEM_POWER15 = 134;
inline constexpr std::uint8_t ITEM_AMMO_MG = 135;
inline constexpr std::uint8_t ITEM_AMMO_RAIL = 136;
inline constexpr std::uint8_t ITEM_AMOR_50 = 137;
inline constexpr std::uint8_t ITEM_AMOR_100 = 138;
inline constexpr std::uint8_t TYPE_TERRAIN = 139;

constexpr bool isVokaType(std::int32_t code) {
    return code == TYPE_VOKA_RED || code == TYPE_VOKA_GREEN;
}
constexpr bool isBulletType(std::int32_t code) {
    return code == TYPE_BULLET_MG || code == TYPE_BULLET_RAIL;
}
constexpr bool isItemType(std::int32_t code) {
    return code >= ITEM_POWER25 && code <= ITEM_AMOR_100;
}
constexpr bool isWeaponNumber(std::int32_t number) {
    return number == WEAPON_MG || number == WEAPON_RAIL;
}

// Sound samples: each number is also the mixer channel the sample always plays on.
struct Sample {
    static constexpr std::int32_t Rail = 0;
    static constexpr std::int32_t Minigun = 1;
    static constexpr std::int32_t NoAmmo = 2;
    static constexpr std::int32_t Power25 = 3;
    static constexpr std::int32_t Power15 = 4;
    static constexpr std::int32_t Armor50 = 5;
    static constexpr std::int32_t Armor100 = 6;
    static constexpr std::int32_t Ammo = 7;
    static constexpr std::int32_t Explode = 8;
    static constexpr std::int32_t Hit = 9;
    static constexpr std::int32_t MenuKey = 10;
    static constexpr std::int32_t EngineLow = 11;
    static constexpr std::int32_t EngineMiddle = 12;
    static constexpr std::int32_t EngineHigh = 13;
    static constexpr std::int32_t Count = 14;
};
