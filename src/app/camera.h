#pragma once

#include "render/body.h"

// The match's camera, riding on the local Voka at the offset that PlayerStatus selects.
// Each frame it multiplies the view onto the modelview matrix and publishes where it is
// and where it looks (eye, aim, muzzle, up, side and the look angles) in PlayerStatus for
// the weapons, the sound and the lens flare. Main thread.
class Camera {
  public:
    // `vehicle` is the Voka's pose, `look` its camera record (see combat/camera_view.h),
    // as the World's getCameraPose fills them. Call with the modelview matrix reset.
    void applyView(const Pose& vehicle, const Pose& look);
    // The same at a given offset (forward, lateral, up in the vehicle's frame, world
    // units) instead of the player's: the development tools' cameras.
    void applyView(const Pose& vehicle, const Pose& look, const float offset[3]);

    // The camera's pose of the last applyView: eye position, pitch in rotY and the yaw,
    // brought once toward 0 to 360, in rotZ.
    Pose getPose() const { return pose_; }

  private:
    Pose pose_;
};
