#pragma once

#include "render/scene_object.h"

// Base of the short-lived visual effects of the match. An effect has no state of its
// own; by default it neither draws nor moves (both answer -2), and each kind of effect
// says how its resources are made.
class Effect : public SceneObject {
  public:
    int draw(Pose /*camera*/, const float* /*light*/) override { return -2; }
    int update() override { return -2; }
    int initGL() override = 0;
};
