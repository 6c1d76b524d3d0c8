#include "render/body.h"

#include <cmath>

bool hasFinitePosition(const Pose& pose) {
    return std::isfinite(pose.x) && std::isfinite(pose.y) && std::isfinite(pose.z);
}

void Body::integrate(float dt) {
    if (mass_ != 0.0f) {
        for (int i = 0; i < 3; ++i) velocity_[i] += force_[i] / mass_ * dt;
    }
    pose_.x += velocity_[0] * dt;
    pose_.y += velocity_[1] * dt;
    pose_.z += velocity_[2] * dt;
}
