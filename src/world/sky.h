#pragma once

#include <memory>

#include "render/scene_object.h"

// The sky dome: one textured sphere seen from inside, placed once over the map (it does
// not follow the camera) and drawn unlit. All three levels of detail hold the same
// model.
class Sky : public SceneObject {
  public:
    static constexpr const char* kModelFile = "./models/sky.3DS";

    // With `load` false only the base is built, as the target of a copy; with true the
    // dome is read and prepared (loading thread, no OpenGL).
    explicit Sky(bool load);

    int draw(Pose camera, const float* light) override;
    int update() override;
    // Main thread: the dome's texture, buffers and display lists.
    int initGL() override;
};

// Builds the sky prototype of the model store.
std::unique_ptr<SceneObject> makeSkyPrototype();
