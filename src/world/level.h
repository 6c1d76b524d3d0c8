#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "render/body.h"
#include "render/model_3ds.h"

// One object placed by the level file: its identifier, its type code (the item codes
// 133 to 138) and its pose. The file gives only the position; the rotation stays zero.
struct Placement {
    std::int32_t id = 0;
    std::uint8_t type = 0;
    Pose pose;
};

// One level of the level file: its names and files, the players' start points and the
// placed items and environment objects.
class Level {
  public:
    // Names and file names keep at most this many characters.
    static constexpr std::size_t kTextLength = 50;
    // Size of a caller's buffer for one of the texts: the text and its NUL.
    static constexpr std::size_t kTextSize = kTextLength + 1;

    std::int32_t getId() const { return id_; }
    void setId(std::int32_t id) { id_ = id; }

    // Each copies its text (empty until set) with a NUL into `out` of kTextSize bytes.
    void getName(char* out) const;
    void getHeightmap(char* out) const;
    void getTexture(char* out) const;
    void getTextureDetail(char* out) const;
    const std::string& name() const { return name_; }
    const std::string& heightmap() const { return heightmap_; }
    const std::string& texture() const { return texture_; }
    const std::string& textureDetail() const { return textureDetail_; }
    // Each keeps the first kTextLength characters of `value`.
    void setName(const char* value);
    void setHeightmap(const char* value);
    void setTexture(const char* value);
    void setTextureDetail(const char* value);

    void addSpawn(const Vec3f& position) { spawns_.push_back(position); }
    const std::vector<Vec3f>& spawns() const { return spawns_; }
    // A start point picked at random (the generator seeded with the time in seconds);
    // the origin for a level without start points, which the level file never
    // registers.
    Vec3f getRandomSpawn() const;

    // A repeated identifier replaces the earlier placement.
    void putItem(const Placement& placement) { items_[placement.id] = placement; }
    void putEnvironment(const Placement& placement) { environment_[placement.id] = placement; }
    std::int32_t itemCount() const { return static_cast<std::int32_t>(items_.size()); }
    std::int32_t environmentCount() const { return static_cast<std::int32_t>(environment_.size()); }
    // Write every identifier into `out`, which holds itemCount() / environmentCount().
    void itemIds(std::int32_t* out) const;
    void environmentIds(std::int32_t* out) const;
    // Every item in identifier order: the order in which each client creates them, so
    // that all create the same items.
    std::vector<Placement> itemsById() const;
    // Copies the placement with that identifier into `out`; false when there is none.
    bool getItem(std::int32_t id, Placement& out) const;
    bool getEnvironment(std::int32_t id, Placement& out) const;

  private:
    std::int32_t id_ = -1;
    std::string name_;
    std::string heightmap_;
    std::string texture_;
    std::string textureDetail_;
    std::vector<Vec3f> spawns_;
    std::unordered_map<std::int32_t, Placement> items_;
    std::unordered_map<std::int32_t, Placement> environment_;
};
