#include "bot/game_data.h"

#include <vector>

#include "world/level_registry.h"
#include "world/load_levels.h"

namespace bot {

bool GameData::load(const std::string& gameDir, std::string& error) {
    LevelRegistry& levels = LevelRegistry::instance();
    const std::string file = gameDir + "/level.xml";
    const LevelLoadResult result = loadLevels(levels, file.c_str());
    if (levels.levelCount() == 0) {
        error = "no level in " + file + (result.error.empty() ? "" : ": " + result.error);
        return false;
    }
    std::vector<std::int32_t> ids(static_cast<std::size_t>(levels.levelCount()));
    levels.levelIds(ids.data());
    for (const std::int32_t id : ids) {
        auto heightmap = std::make_unique<Heightmap>();
        // A missing heightmap has been reported; that level's ground stays flat.
        loadHeightmap(*heightmap, gameDir + "/" + levels.getLevel(id)->heightmap());
        heightmaps_[id] = std::move(heightmap);
    }
    return true;
}

const Heightmap* GameData::heightmap(std::int32_t level) const {
    const auto found = heightmaps_.find(level);
    return found == heightmaps_.end() ? nullptr : found->second.get();
}

}  // namespace bot
