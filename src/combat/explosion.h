#pragma once

#include <cstdint>
#include <memory>

#include "combat/effect.h"

// A flip-book of fifteen pictures ("expl_a000.bmp" to "expl_a014.bmp") on an upright
// square that turns about the vertical to face the camera, at most ten pictures a
// second. The model store builds one prototype with the pictures; every explosion of the
// match is a copy of it with its own place, size and timing: 0.08 and 0.06 for the impact
// of a shot, 1 for a destroyed Voka.
//
// The square stands in the x-z plane of its model space, 100 wide and 100 high from its
// foot at the origin; at size s it is 100 s world units on each side. Its foot is 2 units
// below the explosion's position with the ground flag set, else 20 units below.
//
// Times are seconds of the game's millisecond clock (platform::timeGetTime() * 0.001).
// The overloads without a time read that clock; tests pass the time in.
class Explosion : public Effect {
  public:
    static constexpr int kFrames = 15;
    static constexpr float kFrameSeconds = 0.1f;
    static constexpr float kSquareSide = 100.0f;  // model units at size 1
    static constexpr float kGroundFoot = 2.0f;    // world units below the position
    static constexpr float kAirFoot = 20.0f;

    // With `withFrames` (the prototype only) the fifteen squares of all three levels of
    // detail are built, loading-thread safe; without, the object stays empty until the
    // model store copies the prototype into it.
    explicit Explosion(bool withFrames);

    // Draws the current picture facing the camera's heading (the camera pose's rotation
    // about z); nothing once the animation has run out. The light is not used.
    int draw(Pose camera, const float* light) override;
    // Shows the next picture when more than 0.1 s passed since the last change: at most
    // one picture a call, however long the gap. Returns 0.
    int update() override;
    int update(float nowSeconds);
    // Main thread: the fifteen picture textures, buffers and display lists.
    int initGL() override;

    // Starts the animation from the first picture at `pose`.
    void start(Pose pose);
    void start(Pose pose, float nowSeconds);

    void setSize(float value) { size_ = value; }
    float getSize() const { return size_; }
    void setGround(bool flag) { ground_ = flag; }
    bool isGround() const { return ground_; }
    bool isFinished() const { return finished_; }
    // The picture shown, 0 to 14; 15 once the animation has run out.
    std::int32_t getFrame() const { return frame_; }

  private:
    std::int32_t frame_ = 0;
    float lastFrameTime_ = 0.0f;
    float size_ = 1.0f;
    bool finished_ = false;
    bool ground_ = false;
};

// The fifteen squares of the explosion, one mesh object and one material a picture,
// with normals and draw arrays (no OpenGL).
void buildExplosionModel(Model3ds& model);

// Builds the explosion prototype of the model store.
std::unique_ptr<SceneObject> makeExplosionPrototype();
