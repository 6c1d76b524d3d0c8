#pragma once

#include <cstdint>

// The engine is three looping samples (low, middle, high band) cross-faded by speed.
// Volumes as the mixer is asked for them, before negative values become 0.
struct EngineVolumes {
    std::int32_t low;
    std::int32_t middle;
    std::int32_t high;
};

// Speed in km/h (negative while reversing): low 160 - 2v; middle 2v up to 75 km/h,
// then 320 - 2v; high 2v - 160.
EngineVolumes engineVolumes(std::int32_t speedKmh);

// Once per frame while the head-up display is drawn: keeps the three loops running and
// sets their volumes for the own speed; with `sound` off the loops are held silent.
void updateEngineSound(std::int32_t speedKmh);
