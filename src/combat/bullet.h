#pragma once

#include <cstdint>

#include "combat/explosion.h"
#include "combat/shot_state.h"
#include "render/scene_object.h"

// What a shot leaves to see (its rules are ShotState's): the impact effect of a
// machine-gun shot where the shot shows it; a rail shot's two beams are the match's.
class Bullet : public SceneObject {
  public:
    static constexpr float kOwnEffectSize = 0.08f;  // an 8-unit impact square
    static constexpr float kRemoteEffectSize = 0.06f;

    // The effect at the shot's effect point, 8 units across for an own shot and 6 for
    // another client's.
    explicit Bullet(const ShotState& shot);

    // Draws the impact effect of a machine-gun shot; a rail shot draws nothing itself.
    int draw(Pose camera, const float* light) override;
    // Advances the impact effect (on the game clock). Returns 0.
    int update() override;
    int initGL() override { return 0; }

    const Explosion& impactEffect() const { return effect_; }

  private:
    Explosion effect_{false};
};
