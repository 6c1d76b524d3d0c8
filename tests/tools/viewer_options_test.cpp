#include "viewer_options.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "fly_path.h"
#include "hills.h"

namespace {

ParsedOptions parse(std::vector<const char*> args) {
    args.insert(args.begin(), "voka-viewer");
    return parseViewerOptions(static_cast<int>(args.size()), args.data());
}

// Every switch is read in the end-to-end runs, which print what they were given.
// A screenshot is taken only with a timed run; the objects' views hold their own cameras.
TEST(ViewerOptions, RefusesWhatItCannotUse) {
    const std::vector<const char*> bad[] = {
        {"--size", "10x10"}, {"--frames", "12abc"},
        {"--at", "nan"},     {"--level"},
        {"--bogus", "1"},    {"--screenshot", "shot.png"},
        {"--view", "arms"},  {"--objects", "lineup", "--heading", "10"}};
    for (const auto& args : bad) EXPECT_FALSE(parse(args).error.empty()) << args[0];
    EXPECT_TRUE(parse({"--level", "2", "--help"}).help);
}

// Anywhere in the flight the camera moves the way it faces (within the 30 degrees that
// the wobble in and out turns it aside), and a lap later it is back.
TEST(FlyPath, StaysOverTheMapAboveTheGroundAlongItsHeadingLapAfterLap) {
    const auto ground = hills();
    for (float t = -90.0f; t <= 150.0f; t += 0.37f) {
        const Pose pose = fly_path::at(t, *ground);
        ASSERT_TRUE(pose.x > 100 && pose.x < 1500 && pose.y > 100 && pose.y < 1500 &&
                    pose.rotZ >= 0 && pose.rotZ < 360 &&
                    pose.z >= ground->terrainHeight(pose.x, pose.y) + fly_path::kClearance)
            << t;
        const Pose lap = fly_path::at(t + fly_path::kLapSeconds, *ground);
        ASSERT_TRUE(std::hypot(lap.x - pose.x, lap.y - pose.y) < 0.05f) << t;
        const Pose next = fly_path::at(t + 0.05f, *ground);
        const float radians = pose.rotZ * 3.14159265f / 180.0f;
        const float along =
            (next.x - pose.x) * std::cos(radians) + (next.y - pose.y) * std::sin(radians);
        ASSERT_GT(along, 0.85f * std::hypot(next.x - pose.x, next.y - pose.y)) << t;
    }
}

}  // namespace
