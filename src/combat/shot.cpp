#include "combat/shot.h"

#include <cmath>

namespace {

// Before the impact, along the aim: the impact effect stands in front of the ground.
constexpr float kEffectSetBack = 2.0f;

ShotPoint along(ShotPoint start, ShotPoint direction, float t) {
    return {start.x + t * direction.x, start.y + t * direction.y, start.z + t * direction.z};
}

}  // namespace

bool isFinite(ShotPoint p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

RayHit marchRay(ShotPoint start, ShotPoint direction, const GroundHeight& ground) {
    const int samples = static_cast<int>(RayMarch::kRange / RayMarch::kStep);
    for (int i = 0; i < samples; ++i) {
        const float t = static_cast<float>(i) * RayMarch::kStep;
        const ShotPoint p = along(start, direction, t);
        if (!(p.z > ground(p.x, p.y))) return {t, p};
    }
    const float last = static_cast<float>(samples - 1) * RayMarch::kStep;
    return {last, along(start, direction, last)};
}

Shot aimShot(const ShotInput& input, const GroundHeight& ground) {
    Shot shot;
    ShotPoint impact;
    if (isFinite(input.eye) && isFinite(input.aim)) {
        impact = marchRay(input.eye, input.aim, ground).point;
        shot.effectPoint = along(impact, input.aim, -kEffectSetBack);
        shot.rayStart = input.eye;
    }
    shot.usable = isFinite(input.eye) && isFinite(input.aim) && isFinite(input.muzzle) &&
                  isFinite(impact) && isFinite(shot.effectPoint);
    if (shot.usable) {
        shot.state = {input.muzzle.x, input.muzzle.y, input.muzzle.z, impact.x, impact.y, impact.z};
        return shot;
    }
    const ShotPoint standIn = isFinite(input.muzzle) ? input.muzzle
                              : isFinite(input.eye)  ? input.eye
                                                     : ShotPoint{};
    shot.state = {standIn.x, standIn.y, standIn.z, standIn.x, standIn.y, standIn.z};
    shot.rayStart = standIn;
    shot.effectPoint = standIn;
    return shot;
}
