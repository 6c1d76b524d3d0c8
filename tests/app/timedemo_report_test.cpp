// The timedemo's figures and its line: plain arithmetic on frame times, no window.
#include "app/timedemo_report.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(TimedemoFigures, AverageAndTheSlowestPercent) {
    struct Case {
        std::vector<double> frames;
        double seconds, average, low;
    };
    std::vector<double> mostlyFast(199, 0.01);
    mostlyFast.push_back(0.05);
    mostlyFast.push_back(0.03);
    const Case cases[] = {
        {{}, 0, 0, 0},
        {{0.02, 0.02, 0.04, 0.02}, 0.1, 40, 25},  // under 100 frames: the slowest one
        {mostlyFast, 2.07, 201 / 2.07, 25},       // 201 frames: the slowest two
    };
    for (const Case& c : cases) {
        const TimedemoFigures f = timedemoFigures(c.frames, 0.5);
        EXPECT_EQ(f.frames, c.frames.size());
        EXPECT_NEAR(f.seconds, c.seconds, 1e-9);
        EXPECT_NEAR(f.averageFps, c.average, 1e-6);
        EXPECT_NEAR(f.lowFps, c.low, 1e-6);
        if (!c.frames.empty()) {
            EXPECT_NEAR(f.processorMs, 500.0 / c.frames.size(), 1e-9);
        }
    }
}

TEST(TimedemoLine, NamesTheFiguresAndTheSettings) {
    const TimedemoSettings settings{800, 600, 2, true, true, false, true, false};
    EXPECT_EQ(timedemoLine({1800, 30.0, 60.0, 41.25, 14.25}, settings),
              "timedemo: 1800 frames, 30.00 s, 60.0 fps average, 41.2 fps 1% low; 800x600, "
              "render mode Displaylists, shadows on, fog on, lens flare off, blur on, lod off; "
              "14.2 ms of processor time a frame");
}

}  // namespace
