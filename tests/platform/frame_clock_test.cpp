#include "platform/frame_clock.h"

#include <gtest/gtest.h>

namespace {

TEST(FrameClock, FirstTickMeasuresFromZero) {
    FrameClock::reset();
    FrameClock::tick(0.02f);
    // The stored times start at 0: the first step is the whole clock reading.
    EXPECT_FLOAT_EQ(FrameClock::getFrameTime(), 0.02f);
    EXPECT_EQ(FrameClock::getFps(), 0);
}

TEST(FrameClock, FpsCountsTicksOfTheLastWindowLongerThanOneSecond) {
    FrameClock::reset();
    // Ticks every 10 ms: the window closes on the first tick past 1 s, the 101st.
    for (int i = 1; i <= 100; ++i) FrameClock::tick(0.01f * static_cast<float>(i));
    EXPECT_EQ(FrameClock::getFps(), 0);
    FrameClock::tick(1.01f);
    EXPECT_EQ(FrameClock::getFps(), 101);
    FrameClock::tick(1.03f);
    EXPECT_NEAR(FrameClock::getFrameTime(), 0.02f, 1e-5f);
    EXPECT_EQ(FrameClock::getFps(), 101);
}

TEST(FrameClock, LongRunFirstTickGivesFpsOne) {
    // Started more than a second ago, the first tick already closes a window of one tick.
    FrameClock::reset();
    FrameClock::tick(1.01f);
    EXPECT_EQ(FrameClock::getFps(), 1);
    EXPECT_FLOAT_EQ(FrameClock::getFrameTime(), 1.01f);
}

}  // namespace
