#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "render/body.h"
#include "render/model_3ds.h"

// Render modes of the "rendermode" setting.
struct RenderMode {
    static constexpr std::int32_t Immediate = 0;
    static constexpr std::int32_t VertexArrays = 1;
    static constexpr std::int32_t DisplayLists = 2;
    static constexpr std::int32_t BufferObjects = 3;
};

// Base of every drawable world object: its body, its model in three levels of detail
// (0 full, 1 middle, 2 far), its texture table indexed by material, its network
// identifier and its type code. Objects are built and prepared on the loading thread;
// initGL, draw and everything that touches OpenGL run on the main thread.
//
// A copy shares its models with the original (meshes, materials and their OpenGL names
// alike), so every match object copied from a prototype costs no loading. The shadow
// scratch state in the faces is shared too; drawing is single-threaded and each shadow
// cast leaves it as it found it.
class SceneObject {
  public:
    static constexpr int kTextureSlots = 100;

    SceneObject();
    virtual ~SceneObject() = default;
    SceneObject(const SceneObject&) = default;
    SceneObject& operator=(const SceneObject&) = default;

    // Draws the object for the camera's pose; `light` is the world position (x, y, z, 1)
    // of the light that casts shadows.
    virtual int draw(Pose camera, const float* light) = 0;
    // Advances the object by one frame.
    virtual int update() = 0;
    // Creates the object's OpenGL resources.
    virtual int initGL() = 0;

    Body body;
    std::shared_ptr<Model3ds> models[3];
    unsigned int textures[kTextureSlots] = {};
    std::int32_t id = -1;
    std::uint8_t type = 1;

  protected:
    // Reads base + ".3ds", base + "_middle.3ds" and base + "_far.3ds" into the three
    // models; a missing file leaves its level empty after the reader's message.
    void loadLevelsOfDetail(const std::string& base);
    // Reads one file into all three levels (objects without levels of detail).
    void loadSingleModel(const std::string& file);
    // Loading-thread preparation of all three models: face neighbours (for objects that
    // cast shadows), draw arrays, face planes.
    void prepareModels(bool castsShadows);

    // The models of the three levels, each once (levels may share one model).
    std::vector<Model3ds*> distinctModels();

    // Main-thread set-up: the texture of every material of the full model, loaded from
    // "./textures/" into the slot of the material's index; the middle and far models
    // use the same slots, so their materials must stand in the same order.
    void loadMaterialTextures();
    // Main-thread set-up: buffer objects (when available) and display lists.
    void buildBuffers();
    void buildDisplayLists();
    // The common main-thread set-up of a loaded object: material textures, then buffer
    // objects and display lists. Returns 0.
    int initMeshes();

    // The model of the detail that the level-of-detail grid chose for the cell under a
    // world position: full, middle or far.
    Model3ds& modelAt(float x, float y);

    // Draws one object of one of the three models in the current render mode.
    void drawObject(const Model3ds& model, int objectIndex);
    // Draws the shadow volume of one object into the stencil buffer, from the light
    // position stored in that object (in the object's own space).
    void castShadow(Model3ds& model, int objectIndex);
    // Stores `light` (x, y, z, 1 in the model's own space) in every object of `model` and
    // draws each object's shadow volume.
    void castShadows(Model3ds& model, const float* light);

  private:
    void submitImmediate(const Model3ds& model, const MeshObject3ds& object);
    void submitArrays(const Model3ds& model, const MeshObject3ds& object, bool fromBuffers);
    void bindTextures(const MeshObject3ds& object, bool multitexture);
    void shadowPass(MeshObject3ds& object, bool resetStates);
};

// Multitexturing of an object is in effect when the object asks for it and the setting
// and the driver allow it.
bool multitextureInEffect(const MeshObject3ds& object);
// Fog coordinates are sent when the driver has them, the object has them and fog is on.
bool fogCoordsInEffect(const MeshObject3ds& object);
