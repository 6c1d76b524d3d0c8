#pragma once

#include <cstdint>

namespace platform {

// Milliseconds since the game started. Counting from start rather than from boot keeps
// the float seconds derived from it (ms * 0.001f) precise to the millisecond: a float
// holds every whole millisecond only below about 4.6 hours of seconds-since-origin.
// Wraps after 49 days, like the counter it replaces.
std::uint32_t timeGetTime();

// The game clock in seconds as the game keeps them: timeGetTime() * 0.001 as a float.
float clockSeconds();

// Fixes the origin of timeGetTime(); main() calls it first thing. Calling it again
// restarts the count (tests do).
void startClock();

void sleepMs(std::uint32_t milliseconds);

}  // namespace platform
