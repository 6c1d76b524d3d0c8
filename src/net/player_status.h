#pragma once

#include <atomic>
#include <cstdint>

// One player's condition and the vectors its shots need between frames: health, armor,
// ammunition, weapon, frags and speed, and the muzzle, aim, eye, up and side vectors of
// its camera. Health, armor and frags are also written by the network's receiving
// thread, so every count is an atomic 32-bit word; no rule ties two fields together. The
// vectors belong to the thread that runs the player's frames.
//
// The game has one of these, the local player's (PlayerStatus); a computer player keeps
// its own, so that many can play in one process.
class PlayerRecord {
  public:
    static constexpr int kWeaponSlots = 10;  // ammunition by weapon number; 2 and 7 are used

    std::int32_t getSpeed() const { return speed_.load(kOrder); }
    void setSpeed(std::int32_t v) { speed_.store(v, kOrder); }
    std::int32_t getHealth() const { return health_.load(kOrder); }
    void setHealth(std::int32_t v) { health_.store(v, kOrder); }
    std::int32_t getArmor() const { return armor_.load(kOrder); }
    void setArmor(std::int32_t v) { armor_.store(v, kOrder); }
    std::int32_t getWeapon() const { return weapon_.load(kOrder); }
    void setWeapon(std::int32_t v) { weapon_.store(v, kOrder); }

    // Ammunition of a weapon number; numbers outside 0..9 have none.
    std::int32_t getAmmo(std::int32_t weapon) const;
    // Stores `value`; the value -1 instead takes one round away.
    void setAmmo(std::int32_t value, std::int32_t weapon);

    void resetFrags() { frags_.store(0, kOrder); }
    void addFrag() { frags_.fetch_add(1, kOrder); }
    std::int32_t getFrags() const { return frags_.load(kOrder); }

    // Four floats (x, y, z, w) in world coordinates, copied out or in.
    void getMuzzle(float* out) const { copy(muzzle_, out); }
    void setMuzzle(const float* in) { copy(in, muzzle_); }
    void getAim(float* out) const { copy(aim_, out); }
    void setAim(const float* in) { copy(in, aim_); }
    void getEye(float* out) const { copy(eye_, out); }
    void setEye(const float* in) { copy(in, eye_); }
    void getUp(float* out) const { copy(up_, out); }
    void setUp(const float* in) { copy(in, up_); }
    void getSide(float* out) const { copy(side_, out); }
    void setSide(const float* in) { copy(in, side_); }

    // Every value back to 0.
    void resetAll();
    // A match begins: the machine gun with 200 rounds, no rail rounds, full health and
    // no frags; the armor keeps its value.
    void resetForMatch();
    // The Voka comes back: as at a match start, but the armor is gone and the frags stay.
    void resetForRespawn();

  private:
    static constexpr std::memory_order kOrder = std::memory_order_relaxed;

    static void copy(const float* from, float* to) {
        for (int i = 0; i < 4; ++i) to[i] = from[i];
    }
    void rearm();

    std::atomic<std::int32_t> speed_{0};
    std::atomic<std::int32_t> health_{0};
    std::atomic<std::int32_t> armor_{0};
    std::atomic<std::int32_t> ammo_[kWeaponSlots] = {};
    std::atomic<std::int32_t> weapon_{0};
    float muzzle_[4] = {};
    float aim_[4] = {};
    float eye_[4] = {};
    float up_[4] = {};
    float side_[4] = {};
    std::atomic<std::int32_t> frags_{0};
};

// The local player's record and the camera's own settings: one process-wide store of
// plain getters and setters.
class PlayerStatus {
  public:
    static constexpr int kWeaponSlots = PlayerRecord::kWeaponSlots;

    // The record that the game's match plays with.
    static PlayerRecord& record() { return s_record; }

    static std::int32_t getSpeed() { return s_record.getSpeed(); }
    static void setSpeed(std::int32_t v) { s_record.setSpeed(v); }
    static std::int32_t getHealth() { return s_record.getHealth(); }
    static void setHealth(std::int32_t v) { s_record.setHealth(v); }
    static std::int32_t getArmor() { return s_record.getArmor(); }
    static void setArmor(std::int32_t v) { s_record.setArmor(v); }
    static std::int32_t getWeapon() { return s_record.getWeapon(); }
    static void setWeapon(std::int32_t v) { s_record.setWeapon(v); }
    static std::int32_t getAmmo(std::int32_t weapon) { return s_record.getAmmo(weapon); }
    static void setAmmo(std::int32_t value, std::int32_t weapon) {
        s_record.setAmmo(value, weapon);
    }
    static void resetFrags() { s_record.resetFrags(); }
    static void addFrag() { s_record.addFrag(); }
    static std::int32_t getFrags() { return s_record.getFrags(); }

    static void getMuzzle(float* out) { s_record.getMuzzle(out); }
    static void setMuzzle(const float* in) { s_record.setMuzzle(in); }
    static void getAim(float* out) { s_record.getAim(out); }
    static void setAim(const float* in) { s_record.setAim(in); }
    static void getEye(float* out) { s_record.getEye(out); }
    static void setEye(const float* in) { s_record.setEye(in); }
    static void getUp(float* out) { s_record.getUp(out); }
    static void setUp(const float* in) { s_record.setUp(in); }
    static void getSide(float* out) { s_record.getSide(out); }
    static void setSide(const float* in) { s_record.setSide(in); }

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
    static void resetForMatch() { s_record.resetForMatch(); }
    static void resetForRespawn() { s_record.resetForRespawn(); }

  private:
    static constinit inline PlayerRecord s_record{};
    static inline float s_cameraOffsets[2][3] = {{6.0f, 0.0f, 13.0f}, {-3.0f, 0.0f, 16.0f}};
    static inline std::int32_t s_cameraIndex = 1;
    static inline float s_viewAngles[2] = {};
};
