// The terrain viewer's command line and its camera flight.
#include "viewer_options.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "fly_path.h"

namespace {

ParsedOptions parse(std::vector<const char*> args) {
    args.insert(args.begin(), "voka-viewer");
    return parseViewerOptions(static_cast<int>(args.size()), args.data());
}

TEST(ViewerOptions, DefaultsKeepTheSettingsFilesSwitches) {
    const ParsedOptions parsed = parse({});
    ASSERT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.options.level, 1);
    EXPECT_EQ(parsed.options.width, 800);
    EXPECT_EQ(parsed.options.height, 600);
    EXPECT_FALSE(parsed.options.renderMode);
    EXPECT_FALSE(parsed.options.lod);
    EXPECT_FALSE(parsed.options.fog);
    EXPECT_EQ(parsed.options.frames, 0);
    EXPECT_TRUE(parsed.options.sky);
}

TEST(ViewerOptions, ReadsEverySwitch) {
    const ParsedOptions parsed = parse(
        {"--game-dir",   "/g",   "--level",  "2",   "--size",    "640x480", "--render-mode", "3",
         "--lod",        "off",  "--fog",    "on",  "--culling", "off",     "--detail",      "off",
         "--sky",        "off",  "--frames", "300", "--warmup",  "5",       "--at",          "12.5",
         "--screenshot", "a.png"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    const ViewerOptions& o = parsed.options;
    EXPECT_EQ(o.gameDir, "/g");
    EXPECT_EQ(o.level, 2);
    EXPECT_EQ(o.width, 640);
    EXPECT_EQ(o.height, 480);
    EXPECT_EQ(o.renderMode, 3);
    EXPECT_EQ(o.lod, false);
    EXPECT_EQ(o.fog, true);
    EXPECT_EQ(o.culling, false);
    EXPECT_EQ(o.detail, false);
    EXPECT_FALSE(o.sky);
    EXPECT_EQ(o.frames, 300);
    EXPECT_EQ(o.warmup, 5);
    EXPECT_EQ(o.at, 12.5f);
    EXPECT_EQ(o.screenshot, "a.png");
}

TEST(ViewerOptions, RefusesWhatItCannotUse) {
    const std::vector<std::vector<const char*>> bad = {
        {"--render-mode", "4"},
        {"--render-mode", "-1"},
        {"--lod", "yes"},
        {"--size", "800"},
        {"--size", "10x10"},
        {"--size", "800x600x2"},
        {"--frames", "0"},
        {"--frames", "12abc"},
        {"--at", "nan"},
        {"--level"},
        {"--bogus", "1"},
        {"--level", "99999999999"},
        {"--screenshot", "shot.png"},  // only with a timed run
    };
    for (const auto& args : bad) {
        const ParsedOptions parsed = parse(args);
        EXPECT_FALSE(parsed.error.empty()) << args[0] << (args.size() > 1 ? args[1] : "");
    }
    EXPECT_TRUE(parse({"--level", "2", "--help"}).help);
}

// --- The flight --------------------------------------------------------------------

std::unique_ptr<Heightmap> hills() {
    auto map = std::make_unique<Heightmap>();
    for (int row = 0; row < Heightmap::kSide; ++row) {
        for (int column = 0; column < Heightmap::kSide; ++column) {
            map->heights[static_cast<std::size_t>(row * Heightmap::kSide + column)] =
                static_cast<std::uint8_t>(100 + 90 * std::sin(column * 0.1) * std::cos(row * 0.08));
        }
    }
    return map;
}

TEST(FlyPath, StaysOverTheMapAboveTheGroundWithAHeadingTheGridAccepts) {
    const auto ground = hills();
    for (float t = -90.0f; t <= 150.0f; t += 0.37f) {
        const Pose pose = fly_path::at(t, *ground);
        ASSERT_GT(pose.x, 100.0f);
        ASSERT_LT(pose.x, 1500.0f);
        ASSERT_GT(pose.y, 100.0f);
        ASSERT_LT(pose.y, 1500.0f);
        ASSERT_GE(pose.rotZ, 0.0f) << t;
        ASSERT_LT(pose.rotZ, 360.0f) << t;
        ASSERT_GE(pose.z, ground->terrainHeight(pose.x, pose.y) + fly_path::kClearance);
    }
}

TEST(FlyPath, RepeatsEveryLapAndFliesAlongItsHeading) {
    const auto ground = hills();
    const Pose a = fly_path::at(7.0f, *ground);
    const Pose lapLater = fly_path::at(7.0f + fly_path::kLapSeconds, *ground);
    EXPECT_NEAR(a.x, lapLater.x, 0.05f);
    EXPECT_NEAR(a.y, lapLater.y, 0.05f);
    // A moment later the camera has moved the way it faces.
    const Pose b = fly_path::at(7.05f, *ground);
    const float radians = a.rotZ * 3.14159265f / 180.0f;
    const float along = (b.x - a.x) * std::cos(radians) + (b.y - a.y) * std::sin(radians);
    const float moved = std::hypot(b.x - a.x, b.y - a.y);
    EXPECT_GT(along, 0.9f * moved);
}

}  // namespace
