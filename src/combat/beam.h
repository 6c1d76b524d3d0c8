#pragma once

#include <cstdint>

#include "combat/beam_geometry.h"
#include "render/scene_object.h"

// A glowing, additively blended shape drawn with the shared circle texture: a spot, a
// band or a helix from the start point (the first three floats of its pose) along its
// extent. The rail gun leaves a helix and a band that fade; the arena fence is red bands.
// Beams are drawn for the camera that the player status describes this frame.
class Beam : public SceneObject {
  public:
    // Times are seconds of the game clock; the birth time is read from it.
    Beam(Pose state, BeamVec extent, const float colour[4], float alphaRate, float colourRate,
         std::int32_t mode);

    // Draws the beam for the camera vectors of the player status; the arguments are not
    // used.
    int draw(Pose camera, const float* light) override;
    // Fades or brightens by the frame time: each colour channel changes by
    // dt * colourRate * 50 of itself, the alpha by dt * alphaRate * 50 of itself. Beams
    // never remove themselves. Returns 0.
    int update() override;
    int initGL() override;

    float getBirthTime() const { return birthTime_; }
    void setBirthTime(float t) { birthTime_ = t; }
    const float* getColour() const { return colour_; }
    std::int32_t getMode() const { return mode_; }
    BeamVec getExtent() const { return extent_; }
    BeamVec getStart() const;

  private:
    BeamVec extent_;
    float colour_[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float alphaRate_ = 0.0f;
    float colourRate_ = 0.0f;
    std::int32_t mode_ = BeamMode::Spot;
    float birthTime_ = 0.0f;
};

// The camera vectors of the player status, as the beams use them.
BeamCamera playerCamera();
