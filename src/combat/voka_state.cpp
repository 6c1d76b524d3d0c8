#include "combat/voka_state.h"

#include <cmath>

#include "combat/voka_geometry.h"

VokaState::VokaState(std::uint8_t typeCode) : NetEntity(typeCode), hitBox_(vokaCollisionBox()) {
    body.setMass(kMass);
}

void VokaState::placeHitBox() {
    const Pose pose = body.getPose();
    if (!destroyed_ && hasFinitePosition(pose)) worldToModel_ = voka_geometry::worldToModel(pose);
}

bool VokaState::rayHit(const float* p1, const float* p2) const {
    float a[4], b[4];
    worldToModel_.transform(p1, a);
    worldToModel_.transform(p2, b);
    const float direction[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const float length = std::sqrt(direction[0] * direction[0] + direction[1] * direction[1] +
                                   direction[2] * direction[2]);
    return hitBox_.segmentHit(a, direction, length);
}

bool VokaState::sphereHit(float x, float y, float z) const {
    const float world[4] = {x, y, z, 1.0f};
    float centre[4];
    worldToModel_.transform(world, centre);
    return hitBox_.sphereHit(centre, kPickUpRadius);
}

void VokaState::publishPose() {
    netPose().store(net::toWirePose(body.getPose()));
}

bool VokaState::adoptPose() {
    const net::Pose wire = netPose().load();
    if (!net::isFinitePose(wire)) return false;
    body.setPose(net::fromWirePose(wire));
    return true;
}
