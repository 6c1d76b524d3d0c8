#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "world/level.h"

// Every level read from the level file, by identifier, and the identifier of the level
// being played (-1 until the server or the match set-up names one). The game keeps one
// registry for the whole run; the loading thread fills it and the main thread reads it
// only after that thread has ended. The current level is set by the network's receiving
// thread during a match and read by the main thread, so it is an atomic word.
class LevelRegistry {
  public:
    static LevelRegistry& instance();

    void setCurrentLevel(std::int32_t id) { current_.store(id); }
    std::int32_t currentLevel() const { return current_.load(); }
    // The terrain texture file of the current level, or nullptr when it is not known.
    const char* currentTextureFile() const;

    // The level registered under `id`, or nullptr.
    const Level* getLevel(std::int32_t id) const;
    std::int32_t levelCount() const { return static_cast<std::int32_t>(levels_.size()); }
    // Writes every identifier into `out`, which holds levelCount() values.
    void levelIds(std::int32_t* out) const;
    // Registers the level under its own identifier, replacing an earlier one.
    void addLevel(std::unique_ptr<Level> level);

  private:
    std::atomic<std::int32_t> current_{-1};
    std::unordered_map<std::int32_t, std::unique_ptr<Level>> levels_;
};
