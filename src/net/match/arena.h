#pragma once

#include <optional>

#include "render/body.h"

// The arena is 1600 x 1600 units in x and y. A Voka that comes within 15 units of a
// wall is put 17 units from it, its heading (rotZ, degrees) mirrored off the wall.
inline constexpr float kArenaSize = 1600.0f;
inline constexpr float kArenaMargin = 15.0f;
inline constexpr float kArenaReturn = 17.0f;

// The pose after the first wall it crossed, tested in the order low x, low y, high y,
// high x; nothing when it is inside. The World applies corrections until there is none
// left, writing the pose back and re-pointing the velocity after each one (a corner
// takes two). A non-finite coordinate crosses nothing.
std::optional<Pose> arenaCorrection(const Pose& pose);
