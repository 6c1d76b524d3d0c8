#pragma once

#include <cstdint>

// Frame timing of the match: the step between two ticks in seconds, and the number of
// ticks in the last window of more than one second (not divided by its length). Objects
// and effects read the step from here; tests drive it with tick(nowSeconds) and never
// wait for the real clock.
class FrameClock {
  public:
    // Reads the game clock (milliseconds * 0.001 as a float) and advances the counters.
    static void tick();
    // Advances the counters as if the game clock read `nowSeconds`.
    static void tick(float nowSeconds);
    // Sets every stored time back to 0, as at program start.
    static void reset();

    static std::int32_t getFps() { return s_fps; }
    static float getFrameTime() { return s_frameTime; }

  private:
    static inline std::int32_t s_fps = 0;
    static inline float s_frameTime = 0.0f;
    static inline float s_lastTick = 0.0f;
    static inline float s_lastFpsTime = 0.0f;
    static inline std::int32_t s_frameCount = 0;
};
