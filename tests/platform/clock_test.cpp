#include "platform/clock.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

TEST(Clock, CountsFromStartNotFromBoot) {
    platform::startClock();
    EXPECT_LT(platform::timeGetTime(), 1000u);
    // The game turns milliseconds into float seconds; close to the origin every
    // millisecond stays distinct, which a count since boot would lose after hours.
    const float a = static_cast<float>(platform::timeGetTime()) * 0.001f;
    platform::sleepMs(30);
    const std::uint32_t later = platform::timeGetTime();
    EXPECT_GE(later, 30u);
    EXPECT_LT(later, 5000u);
    EXPECT_GT(static_cast<float>(later) * 0.001f, a);
}

TEST(Clock, ReadingFromManyThreadsIsMonotonicPerThread) {
    platform::startClock();
    std::vector<std::thread> threads;
    std::vector<int> faults(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &faults] {
            std::uint32_t last = 0;
            for (int i = 0; i < 20000; ++i) {
                const std::uint32_t now = platform::timeGetTime();
                if (now < last) faults[t]++;
                last = now;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    for (int fault : faults) EXPECT_EQ(fault, 0);
}

}  // namespace
