#include "app/frame_clock.h"

#include <gtest/gtest.h>

#include "platform/clock.h"

namespace {

TEST(FrameClock, FirstTickMeasuresFromZero) {
    platform::startClock();
    platform::sleepMs(20);
    FrameClock::reset();
    FrameClock::tick();
    // The stored times start at 0: the first step is the whole clock reading.
    EXPECT_GE(FrameClock::getFrameTime(), 0.019f);
    EXPECT_LT(FrameClock::getFrameTime(), 1.0f);
    EXPECT_EQ(FrameClock::getFps(), 0);
}

TEST(FrameClock, FpsCountsTicksOfTheLastSecondWindow) {
    platform::startClock();
    FrameClock::reset();
    int ticks = 0;
    // Tick until the first window of more than one second closes.
    while (FrameClock::getFps() == 0 && ticks < 100000) {
        FrameClock::tick();
        ++ticks;
        platform::sleepMs(5);
    }
    EXPECT_EQ(FrameClock::getFps(), ticks);
    EXPECT_GT(ticks, 10);
    // From then on the step is the real time between ticks.
    platform::sleepMs(10);
    FrameClock::tick();
    EXPECT_GE(FrameClock::getFrameTime(), 0.009f);
    EXPECT_LT(FrameClock::getFrameTime(), 0.5f);
}

TEST(FrameClock, LongRunFirstTickGivesFpsOne) {
    // Started more than a second ago, the first tick already closes a window of one tick.
    platform::startClock();
    platform::sleepMs(1010);
    FrameClock::reset();
    FrameClock::tick();
    EXPECT_EQ(FrameClock::getFps(), 1);
    EXPECT_GE(FrameClock::getFrameTime(), 1.0f);
}

}  // namespace
