#include "platform/frame_clock.h"

#include "platform/clock.h"

void FrameClock::tick() {
    tick(platform::clockSeconds());
}

void FrameClock::tick(float nowSeconds) {
    s_frameTime = nowSeconds - s_lastTick;
    s_lastTick = nowSeconds;
    s_frameCount += 1;
    if (nowSeconds - s_lastFpsTime > 1.0f) {
        s_lastFpsTime = nowSeconds;
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
