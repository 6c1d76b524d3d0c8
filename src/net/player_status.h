#pragma once

#include <atomic>
#include <cstdint>

// The local player's condition and the camera vectors other parts need between frames.
// One process-wide record of plain getters and setters. Health, armor and frags are also
// written by the network's receiving thread, so every count is an atomic 32-bit word;
// no rule ties two fields together. The vectors are the main thread's alone.
class PlayerStatus {
  public:
    static constexpr int kWeaponSlots = 10;  // ammunition by weapon number; 2 and 7 are used

    static std::int32_t getSpeed() { return s_speed.load(kOrder); }
    static void setSpeed(std::int32_t v) { s_speed.store(v, kOrder); }
    static std::int32_t getHealth() { return s_health.load(kOrder); }
    static void setHealth(std::int32_t v) { s_health.store(v, kOrder); }
    static std::int32_t getArmor() { return s_armor.load(kOrder); }
    static void setArmor(std::int32_t v) { s_armor.store(v, kOrder); }
    static std::int32_t getWeapon() { return s_weapon.load(kOrder); }
    static void setWeapon(std::int32_t v) { s_weapon.store(v, kOrder); }

    // Ammunition of a weapon number; numbers outside 0..9 have none.
    static std::int32_t getAmmo(std::int32_t weapon);
    // Stores `value`; the value -1 instead takes one round away.
    static void setAmmo(std::int32_t value, std::int32_t weapon);

    static void resetFrags() { s_frags.store(0, kOrder); }
    static void addFrag() { s_frags.fetch_add(1, kOrder); }
    static std::int32_t getFrags() { return s_frags.load(kOrder); }

    // Four floats (x, y, z, w) in world coordinates, copied out or in.
    static void getMuzzle(float* out) { copy(s_muzzle, out); }
    static void setMuzzle(const float* in) { copy(in, s_muzzle); }
    static void getAim(float* out) { copy(s_aim, out); }
    static void setAim(const float* in) { copy(in, s_aim); }
    static void getEye(float* out) { copy(s_eye, out); }
    static void setEye(const float* in) { copy(in, s_eye); }
    static void getUp(float* out) { copy(s_up, out); }
    static void setUp(const float* in) { copy(in, s_up); }
    static void getSide(float* out) { copy(s_side, out); }
    static void setSide(const float* in) { copy(in, s_side); }

    // Switches between the two third-person camera offsets.
    static void nextCameraOffset() { s_cameraIndex = (s_cameraIndex + 1) % 2; }
    // The three floats of the offset in use.
    static void getCameraOffset(float* out);

    static void setViewAngles(float a, float b) {
        s_viewAngles[0] = a;
        s_viewAngles[1] = b;
    }
    static void getViewAngles(float& a, float& b) {
        a = s_viewAngles[0];
        b = s_viewAngles[1];
    }

    // Everything back to its value at program start.
    static void resetAll();
    // A match begins: the machine gun with 200 rounds, no rail rounds, full health and
    // no frags; the armor keeps its value.
    static void resetForMatch();
    // The own Voka comes back: as at a match start, but the armor is gone and the frags
    // stay.
    static void resetForRespawn();

  private:
    static constexpr std::memory_order kOrder = std::memory_order_relaxed;

    static void copy(const float* from, float* to) {
        for (int i = 0; i < 4; ++i) to[i] = from[i];
    }

    static inline std::atomic<std::int32_t> s_speed{0};
    static inline std::atomic<std::int32_t> s_health{0};
    static inline std::atomic<std::int32_t> s_armor{0};
    static inline std::atomic<std::int32_t> s_ammo[kWeaponSlots] = {};
    static inline std::atomic<std::int32_t> s_weapon{0};
    static inline float s_muzzle[4] = {};
    static inline float s_aim[4] = {};
    static inline float s_eye[4] = {};
    static inline float s_up[4] = {};
    static inline float s_side[4] = {};
    static inline std::atomic<std::int32_t> s_frags{0};
    static inline float s_cameraOffsets[2][3] = {{6.0f, 0.0f, 13.0f}, {-3.0f, 0.0f, 16.0f}};
    static inline std::int32_t s_cameraIndex = 1;
    static inline float s_viewAngles[2] = {};
};
