#include "net/player_status.h"

#include "net/protocol/game_codes.h"

namespace {

constexpr std::int32_t kStartAmmoMg = 200;
constexpr std::int32_t kStartHealth = 100;

void rearm() {
    PlayerStatus::setWeapon(WEAPON_MG);
    PlayerStatus::setAmmo(kStartAmmoMg, WEAPON_MG);
    PlayerStatus::setAmmo(0, WEAPON_RAIL);
    PlayerStatus::setHealth(kStartHealth);
}

}  // namespace

std::int32_t PlayerStatus::getAmmo(std::int32_t weapon) {
    if (weapon < 0 || weapon >= kWeaponSlots) return 0;
    return s_ammo[weapon].load(kOrder);
}

void PlayerStatus::setAmmo(std::int32_t value, std::int32_t weapon) {
    if (weapon < 0 || weapon >= kWeaponSlots) return;
    if (value == -1) {
        s_ammo[weapon].fetch_sub(1, kOrder);
    } else {
        s_ammo[weapon].store(value, kOrder);
    }
}

void PlayerStatus::getCameraOffset(float* out) {
    for (int i = 0; i < 3; ++i) out[i] = s_cameraOffsets[s_cameraIndex][i];
}

void PlayerStatus::resetAll() {
    s_speed = 0;
    s_health = 0;
    s_armor = 0;
    for (auto& ammo : s_ammo) ammo = 0;
    s_weapon = 0;
    for (float* v : {s_muzzle, s_aim, s_eye, s_up, s_side})
        for (int i = 0; i < 4; ++i) v[i] = 0.0f;
    s_frags = 0;
    s_cameraIndex = 1;
    s_viewAngles[0] = s_viewAngles[1] = 0.0f;
}

void PlayerStatus::resetForMatch() {
    rearm();
    resetFrags();
}

void PlayerStatus::resetForRespawn() {
    rearm();
    setArmor(0);
}
