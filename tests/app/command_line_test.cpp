// The game's command line, the match's choice of level and the timedemo's figures:
// plain rules, no window.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "app/match.h"
#include "app/timedemo_report.h"
#include "config/settings_fixture.h"
#include "support/temp_dir.h"
#include "world/level_registry.h"

namespace {

TEST(CommandLine, OptionsValuesAndGlutsOwnPassBadArgumentsDoNot) {
    // The arguments after the program name; host:port name start autopilot
    // glut-arguments and the paths given, or "bad".
    const std::string tooLong(51, 'x');
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{}, ":0  0 0 1"},
        {{"--connect", "10.0.0.7:24600", "--name", "Kim", "--start"}, "10.0.0.7:24600 Kim 1 0 1"},
        {{"--connect=arena.example", "--name=Ada", "--autopilot"}, "arena.example:0 Ada 0 1 1"},
        {{"-display", ":3", "--start", "-sync"}, ":0  1 0 4"},
        {{"--autopilot=5"}, "bad"},
        {{"-display"}, "bad"},
        {{"--connect", ":24500"}, "bad"},
        {{"--connect", "host:65536"}, "bad"},
        {{"--connect", "host:24x"}, "bad"},
        {{"--name", ""}, "bad"},
        {{"--name", tooLong.c_str()}, "bad"},
        {{"--record", "a.demo", "--start"}, ":0  1 0 1 record a.demo"},
        {{"--timedemo=b.demo"}, ":0  0 0 1 timedemo b.demo"},
        {{"--record="}, "bad"},
        {{"--record", "a.demo", "--timedemo", "b.demo"}, "bad"},
        {{"--timedemo", "b.demo", "--frame-times=t"}, ":0  0 0 1 timedemo b.demo times t"},
        {{"--frame-times", "t"}, "bad"},
    };
    for (const auto& [args, wanted] : cases) {
        std::vector<const char*> argv = {"voka"};
        argv.insert(argv.end(), args.begin(), args.end());
        const CommandLine o = parseCommandLine(static_cast<int>(argv.size()), argv.data());
        const std::string parsed =
            !o.error.empty() ? "bad"
                             : o.host + ":" + std::to_string(o.port) + " " + o.name + " " +
                                   std::to_string(o.start) + " " + std::to_string(o.autopilot) +
                                   " " + std::to_string(o.glutArgs.size()) +
                                   (o.recordPath.empty() ? "" : " record " + o.recordPath) +
                                   (o.timedemoPath.empty() ? "" : " timedemo " + o.timedemoPath) +
                                   (o.frameTimesPath.empty() ? "" : " times " + o.frameTimesPath);
        EXPECT_EQ(parsed, wanted) << o.error;
    }
}

class CommandLineOverrides : public SettingsTest {};

TEST_F(CommandLineOverrides, LastForTheRunAndNeverReachTheFile) {
    const char* argv[] = {"voka", "--connect", "10.0.0.9:4000", "--name", "Kim"};
    applyCommandLine(parseCommandLine(5, argv));
    // Reading the file again keeps them; writing it writes the file's own values.
    ASSERT_EQ(readText(validFile()), 0);
    EXPECT_EQ(textOf(Settings::getServerIp) + ":" + std::to_string(Settings::getServerPort()) +
                  " " + textOf(Settings::getPlayerName),
              "10.0.0.9:4000 Kim");
    ASSERT_EQ(Settings::instance().writeFile(dir.file("zrv.cfg").c_str()), 0);
    EXPECT_EQ(dir.read("zrv.cfg"), validFile());
    // An edit in the configuration screen replaces the override.
    Settings::setPlayerName("Rook2");
    EXPECT_EQ(textOf(Settings::getPlayerName), "Rook2");
}

// A level the server names but the level file lacks is treated as no level at all.
TEST(SettleMatchLevel, UnknownOrMissingLevelsFallBackToOneWithAMessage) {
    for (const auto& [named, played] : {std::pair{2, 2}, {-1, 1}, {7, 1}, {-128, 1}}) {
        testing_support::CapturedErrors errors;
        LevelRegistry registry;
        for (const std::int32_t id : {1, 2}) {
            auto level = std::make_unique<Level>();
            level->setId(id);
            registry.addLevel(std::move(level));
        }
        registry.setCurrentLevel(named);
        EXPECT_EQ(settleMatchLevel(registry), played);
        EXPECT_EQ(registry.currentLevel(), played);
        EXPECT_EQ(errors.texts().size(), named == played ? 0u : 1u) << named;
    }
}

// The figures: the average and the slowest percent; the line names them and the settings.
TEST(TimedemoReport, AverageAndTheSlowestPercentInOneLineWithTheSettings) {
    std::vector<double> mostlyFast(199, 0.01);
    mostlyFast.push_back(0.05);
    mostlyFast.push_back(0.03);
    // Frame times; seconds, average and low fps.
    const std::pair<std::vector<double>, std::array<double, 3>> cases[] = {
        {{}, {0, 0, 0}},
        {{0.02, 0.02, 0.04, 0.02}, {0.1, 40, 25}},  // under 100 frames: the slowest one
        {mostlyFast, {2.07, 201 / 2.07, 25}},       // 201 frames: the slowest two
    };
    for (const auto& [frames, wanted] : cases) {
        const TimedemoFigures f = timedemoFigures(frames, 0.5);
        EXPECT_TRUE(f.frames == frames.size() && std::abs(f.seconds - wanted[0]) < 1e-9 &&
                    std::abs(f.averageFps - wanted[1]) < 1e-6 &&
                    std::abs(f.lowFps - wanted[2]) < 1e-6 &&
                    (frames.empty() || std::abs(f.processorMs - 500.0 / frames.size()) < 1e-9))
            << frames.size();
    }
    EXPECT_EQ(timedemoLine({1800, 30.0, 60.0, 41.25, 14.25},
                           {800, 600, 2, true, true, false, true, false}),
              "timedemo: 1800 frames, 30.00 s, 60.0 fps average, 41.2 fps 1% low; 800x600, "
              "render mode Displaylists, shadows on, fog on, lens flare off, blur on, lod off; "
              "14.2 ms of processor time a frame");
}

// The frame times, a line each; a file that cannot be made, or a disk that fills up,
// is said.
TEST(TimedemoReport, FrameTimesGoToTheFileOrTheFailureIsSaid) {
    testing_support::TempDir dir;
    EXPECT_EQ(writeFrameTimes(dir.file("times.txt"), {0.02, 0.125}), "");
    EXPECT_EQ(dir.read("times.txt"), "0.020000\n0.125000\n");
    EXPECT_EQ(writeFrameTimes(dir.path(), {0.02}),
              "could not write the frame times to " + dir.path() + ": Is a directory");
    EXPECT_EQ(writeFrameTimes("/dev/full", {0.02}),
              "could not write the frame times to /dev/full: No space left on device");
}

}  // namespace
