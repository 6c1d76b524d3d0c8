#include "net/player_status.h"

#include "net/protocol/game_codes.h"

namespace {

constexpr std::int32_t kStartAmmoMg = 200;
constexpr std::int32_t kStartHealth = 100;

}  // namespace

std::int32_t PlayerRecord::getAmmo(std::int32_t weapon) const {
    if (weapon < 0 || weapon >= kWeaponSlots) return 0;
    return ammo_[weapon].load(kOrder);
}

void PlayerRecord::setAmmo(std::int32_t value, std::int32_t weapon) {
    if (weapon < 0 || weapon >= kWeaponSlots) return;
    if (value == -1) {
        ammo_[weapon].fetch_sub(1, kOrder);
    } else {
        ammo_[weapon].store(value, kOrder);
    }
}

void PlayerRecord::resetAll() {
    speed_ = 0;
    health_ = 0;
    armor_ = 0;
    for (auto& ammo : ammo_) ammo = 0;
    weapon_ = 0;
    for (float* v : {muzzle_, aim_, eye_, up_, side_})
        for (int i = 0; i < 4; ++i) v[i] = 0.0f;
    frags_ = 0;
}

void PlayerRecord::rearm() {
    setWeapon(WEAPON_MG);
    setAmmo(kStartAmmoMg, WEAPON_MG);
    setAmmo(0, WEAPON_RAIL);
    setHealth(kStartHealth);
}

void PlayerRecord::resetForMatch() {
    rearm();
    resetFrags();
}

void PlayerRecord::resetForRespawn() {
    rearm();
    setArmor(0);
}

void PlayerStatus::getCameraOffset(float* out) {
    for (int i = 0; i < 3; ++i) out[i] = s_cameraOffsets[s_cameraIndex][i];
}

void PlayerStatus::resetAll() {
    s_record.resetAll();
    s_cameraIndex = 1;
    s_viewAngles[0] = s_viewAngles[1] = 0.0f;
}
