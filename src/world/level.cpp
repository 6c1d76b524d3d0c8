#include "world/level.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

void copyOut(const std::string& text, char* out) {
    std::memcpy(out, text.c_str(), text.size() + 1);
}

std::string truncated(const char* value) {
    return std::string(value, strnlen(value, Level::kTextLength));
}

void writeIds(const std::unordered_map<std::int32_t, Placement>& table, std::int32_t* out) {
    for (const auto& entry : table) *out++ = entry.first;
}

bool find(const std::unordered_map<std::int32_t, Placement>& table, std::int32_t id,
          Placement& out) {
    const auto it = table.find(id);
    if (it == table.end()) return false;
    out = it->second;
    return true;
}

}  // namespace

void Level::getName(char* out) const {
    copyOut(name_, out);
}
void Level::getHeightmap(char* out) const {
    copyOut(heightmap_, out);
}
void Level::getTexture(char* out) const {
    copyOut(texture_, out);
}
void Level::getTextureDetail(char* out) const {
    copyOut(textureDetail_, out);
}
void Level::setName(const char* value) {
    name_ = truncated(value);
}
void Level::setHeightmap(const char* value) {
    heightmap_ = truncated(value);
}
void Level::setTexture(const char* value) {
    texture_ = truncated(value);
}
void Level::setTextureDetail(const char* value) {
    textureDetail_ = truncated(value);
}

Vec3f Level::getRandomSpawn() const {
    if (spawns_.empty()) return Vec3f{};
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    return spawns_[static_cast<std::size_t>(std::rand()) % spawns_.size()];
}

void Level::itemIds(std::int32_t* out) const {
    writeIds(items_, out);
}
void Level::environmentIds(std::int32_t* out) const {
    writeIds(environment_, out);
}
std::vector<Placement> Level::itemsById() const {
    std::vector<Placement> items;
    items.reserve(items_.size());
    for (const auto& [id, item] : items_) items.push_back(item);
    std::sort(items.begin(), items.end(),
              [](const Placement& a, const Placement& b) { return a.id < b.id; });
    return items;
}

bool Level::getItem(std::int32_t id, Placement& out) const {
    return find(items_, id, out);
}
bool Level::getEnvironment(std::int32_t id, Placement& out) const {
    return find(environment_, id, out);
}
