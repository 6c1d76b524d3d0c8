#include "platform/frame_clock.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(FrameClock, FirstTickMeasuresFromZero) {
    // The stored times start at 0: the first step is the whole clock reading, and a
    // first tick more than a second in already closes a window of one tick.
    for (const auto& [now, fps] : {std::pair{0.02f, 0}, std::pair{1.01f, 1}}) {
        FrameClock::reset();
        FrameClock::tick(now);
        EXPECT_FLOAT_EQ(FrameClock::getFrameTime(), now);
        EXPECT_EQ(FrameClock::getFps(), fps);
    }
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

}  // namespace
