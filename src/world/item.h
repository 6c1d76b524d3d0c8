#pragma once

#include <cstdint>
#include <memory>

#include "render/matrix4.h"
#include "render/scene_object.h"

// A pick-up of the level: a small model floating one unit above its position, ten times
// its model size, spinning about the vertical at 80 degrees a second. The model store
// builds one prototype per item type code (133 to 138) and the match's items are copies
// of them; a taken item is not drawn and cannot be picked up until the server makes it
// available again.
class Item : public SceneObject {
  public:
    static constexpr float kSpinDegreesPerSecond = 80.0f;
    static constexpr float kScale = 10.0f;
    static constexpr float kHover = 1.0f;          // world units above the position
    static constexpr float kCullingRadius = 5.0f;  // world units round the position

    // An empty item, the target of a copy from the model store.
    Item() = default;
    // Loading thread: an item at (x, y, z) with its own models, read and prepared. A type
    // code outside 133 to 138 loads nothing and draws nothing.
    Item(std::int32_t typeCode, float x, float y, float z);

    // Draws the model of the level of detail chosen for its place, unless the view
    // frustum culls it (with culling on), then its shadow volumes from `light` (world
    // x, y, z, 1) when shadows are on. The camera is not used.
    int draw(Pose camera, const float* light) override;
    // Spins by the frame time. Returns 0.
    int update() override;
    int initGL() override;

    std::int32_t getType() const { return type; }
    // 0 while available; any other value while taken.
    std::int32_t isTaken() const { return taken_; }
    void setTaken(std::int32_t value) { taken_ = value; }
    void setPosition(float x, float y, float z);
    float getSpinAngle() const { return spinAngle_; }

    // World to the item's model space: the inverse of the transform it is drawn with.
    Matrix4 worldToModel() const;

  private:
    float spinAngle_ = 0.0f;  // degrees
    std::int32_t taken_ = 0;
};

// Builds the item prototype of a type code for the model store.
std::unique_ptr<SceneObject> makeItemPrototype(std::int32_t typeCode);
