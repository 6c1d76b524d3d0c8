#include "app/frame_clock.h"

#include "platform/clock.h"

void FrameClock::tick() {
    const float t = static_cast<float>(platform::timeGetTime()) * 0.001f;
    s_frameTime = t - s_lastTick;
    s_lastTick = t;
    s_frameCount += 1;
    if (t - s_lastFpsTime > 1.0f) {
        s_lastFpsTime = t;
        s_fps = s_frameCount;
        s_frameCount = 0;
    }
}

void FrameClock::reset() {
    s_fps = 0;
    s_frameTime = 0.0f;
    s_lastTick = 0.0f;
    s_lastFpsTime = 0.0f;
    s_frameCount = 0;
}
