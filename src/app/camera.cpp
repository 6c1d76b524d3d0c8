#include "app/camera.h"

#include <GL/gl.h>

#include "combat/camera_view.h"
#include "net/player_status.h"

void Camera::applyView(const Pose& vehicle, const Pose& look) {
    float offset[3];
    PlayerStatus::getCameraOffset(offset);
    applyView(vehicle, look, offset);
}

void Camera::applyView(const Pose& vehicle, const Pose& look, const float offset[3]) {
    glMultMatrixf(camera_view::view(vehicle, look, offset).m);
    const camera_view::Frame frame = camera_view::frame(vehicle, look, offset);
    PlayerStatus::setViewAngles(look.rotZ, look.rotY);
    PlayerStatus::setEye(frame.eye);
    PlayerStatus::setAim(frame.aim);
    PlayerStatus::setMuzzle(frame.muzzle);
    PlayerStatus::setUp(frame.up);
    PlayerStatus::setSide(frame.side);
    pose_ = frame.pose;
}
