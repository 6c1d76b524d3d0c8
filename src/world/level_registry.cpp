#include "world/level_registry.h"

#include <utility>

LevelRegistry& LevelRegistry::instance() {
    static LevelRegistry registry;
    return registry;
}

const Level* LevelRegistry::getLevel(std::int32_t id) const {
    const auto it = levels_.find(id);
    return it == levels_.end() ? nullptr : it->second.get();
}

void LevelRegistry::levelIds(std::int32_t* out) const {
    for (const auto& entry : levels_) *out++ = entry.first;
}

void LevelRegistry::addLevel(std::unique_ptr<Level> level) {
    const std::int32_t id = level->getId();
    levels_[id] = std::move(level);
}

const char* LevelRegistry::currentTextureFile() const {
    const Level* level = getLevel(currentLevel());
    return level != nullptr ? level->texture().c_str() : nullptr;
}
