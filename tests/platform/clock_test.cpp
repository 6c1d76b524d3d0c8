#include "platform/clock.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/frame_clock.h"

namespace {

// The game turns milliseconds into float seconds; close to the origin every millisecond
// stays distinct, which a count since boot would lose after hours.
TEST(Clock, CountsFromStartAndNeverGoesBackOnAnyThread) {
    platform::startClock();
    EXPECT_LT(platform::timeGetTime(), 1000u);
    std::vector<std::thread> threads;
    std::vector<int> faults(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t, &faults] {
            for (std::uint32_t i = 0, last = 0, now = 0; i < 20000; ++i, last = now)
                faults[t] += (now = platform::timeGetTime()) < last;
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(faults, std::vector<int>(4, 0));
}

// The stored times start at 0: the first step is the whole clock reading. The count is
// of the ticks in the last window longer than a second.
TEST(FrameClock, FirstTickMeasuresFromZeroAndFpsCountsTheLastWindow) {
    FrameClock::reset();
    FrameClock::tick(0.01f);
    EXPECT_FLOAT_EQ(FrameClock::getFrameTime(), 0.01f);
    for (int i = 2; i <= 100; ++i) FrameClock::tick(0.01f * static_cast<float>(i));
    EXPECT_EQ(FrameClock::getFps(), 0);
    FrameClock::tick(1.01f);  // the 101st, the first past one second
    EXPECT_EQ(FrameClock::getFps(), 101);
    FrameClock::tick(1.03f);
    EXPECT_NEAR(FrameClock::getFrameTime(), 0.02f, 1e-5f);
    EXPECT_EQ(FrameClock::getFps(), 101);
}

}  // namespace
