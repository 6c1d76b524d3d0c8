#include "net/match/arena.h"

namespace {

// Headings mirrored off a wall of constant x, or of constant y.
float mirrorOffX(float heading) {
    return 180.0f - heading;
}
float mirrorOffY(float heading) {
    return -heading;
}

struct Wall {
    float Pose::*coordinate;
    bool low;  // the wall at 0, else the one at kArenaSize
    float (*mirror)(float heading);
};

constexpr Wall kWalls[] = {
    {&Pose::x, true, mirrorOffX},
    {&Pose::y, true, mirrorOffY},
    {&Pose::y, false, mirrorOffY},
    {&Pose::x, false, mirrorOffX},
};

}  // namespace

std::optional<Pose> arenaCorrection(const Pose& pose) {
    for (const Wall& wall : kWalls) {
        const float value = pose.*wall.coordinate;
        const bool crossed = wall.low ? value < kArenaMargin : value > kArenaSize - kArenaMargin;
        if (!crossed) continue;
        Pose corrected = pose;
        corrected.*wall.coordinate = wall.low ? kArenaReturn : kArenaSize - kArenaReturn;
        corrected.rotZ = wall.mirror(pose.rotZ);
        return corrected;
    }
    return std::nullopt;
}
