#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "world/heightmap.h"

namespace bot {

// What the bots read of a game directory, once for the whole process: the level file
// into the process's level registry, and the ground of every level it names.
class GameData {
  public:
    // Reads DIR/level.xml and each level's heightmap (file names relative to DIR). False,
    // with `error` set, when the directory holds no level.
    bool load(const std::string& gameDir, std::string& error);
    // The ground of a level, or nullptr for a level it does not know.
    const Heightmap* heightmap(std::int32_t level) const;

  private:
    std::map<std::int32_t, std::unique_ptr<Heightmap>> heightmaps_;
};

}  // namespace bot
