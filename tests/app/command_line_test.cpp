// The game's command line, and the match's choice of level: plain rules, no window.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "app/match.h"
#include "config/settings_fixture.h"
#include "world/level_registry.h"

namespace {

struct ParseCase {
    std::vector<const char*> args;  // after the program name
    std::string host;
    std::uint16_t port;
    std::string name;
    bool start;
    std::size_t glutArgs;  // the program name included
    bool bad;
};

class ParseCommandLine : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseCommandLine, OptionsValuesAndGlutsOwn) {
    const ParseCase& c = GetParam();
    std::vector<const char*> argv = {"voka"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const CommandLine options = parseCommandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(!options.error.empty(), c.bad) << options.error;
    if (c.bad) return;
    EXPECT_EQ(options.host, c.host);
    EXPECT_EQ(options.port, c.port);
    EXPECT_EQ(options.name, c.name);
    EXPECT_EQ(options.start, c.start);
    EXPECT_EQ(options.glutArgs.size(), c.glutArgs);
}

const std::string kLongText(51, 'x');

INSTANTIATE_TEST_SUITE_P(
    Table, ParseCommandLine,
    testing::Values(
        ParseCase{{}, "", 0, "", false, 1, false},
        ParseCase{{"--connect", "10.0.0.7:24600", "--name", "Kim", "--start"},
                  "10.0.0.7",
                  24600,
                  "Kim",
                  true,
                  1,
                  false},
        ParseCase{
            {"--connect=arena.example", "--name=Ada"}, "arena.example", 0, "Ada", false, 1, false},
        ParseCase{{"-display", ":3", "--start", "-sync"}, "", 0, "", true, 4, false},
        // Bad: unknown options, missing or empty values, ports out of range, long texts.
        ParseCase{{"--conect", "x"}, "", 0, "", false, 1, true},
        ParseCase{{"--name"}, "", 0, "", false, 1, true},
        ParseCase{{"-display"}, "", 0, "", false, 1, true},
        ParseCase{{"--start=yes"}, "", 0, "", false, 1, true},
        ParseCase{{"--connect", ":24500"}, "", 0, "", false, 1, true},
        ParseCase{{"--connect", "host:0"}, "", 0, "", false, 1, true},
        ParseCase{{"--connect", "host:65536"}, "", 0, "", false, 1, true},
        ParseCase{{"--connect", "host:24x"}, "", 0, "", false, 1, true},
        ParseCase{{"--name", ""}, "", 0, "", false, 1, true},
        ParseCase{{"--name", kLongText.c_str()}, "", 0, "", false, 1, true}));

class CommandLineOverrides : public SettingsTest {};

TEST_F(CommandLineOverrides, LastForTheRunAndNeverReachTheFile) {
    ASSERT_EQ(readText(validFile()), 0);
    const char* argv[] = {"voka", "--connect", "10.0.0.9:4000", "--name", "Kim"};
    applyCommandLine(parseCommandLine(5, argv));
    EXPECT_EQ(textOf(Settings::getServerIp), "10.0.0.9");
    EXPECT_EQ(Settings::getServerPort(), 4000);
    EXPECT_EQ(textOf(Settings::getPlayerName), "Kim");
    // Reading the file again keeps them; writing it writes the file's own values.
    ASSERT_EQ(readText(validFile()), 0);
    EXPECT_EQ(textOf(Settings::getPlayerName), "Kim");
    ASSERT_EQ(Settings::instance().writeFile(dir.file("zrv.cfg").c_str()), 0);
    std::stringstream written;
    written << std::ifstream(dir.file("zrv.cfg")).rdbuf();
    EXPECT_EQ(written.str(), validFile());
    // An edit in the configuration screen replaces the override.
    Settings::setPlayerName("Rook2");
    EXPECT_EQ(textOf(Settings::getPlayerName), "Rook2");
}

// --- The level of the match.

struct LevelCase {
    std::int32_t named;
    std::int32_t played;
    std::size_t messages;
};

class SettleMatchLevel : public testing::TestWithParam<LevelCase> {};

TEST_P(SettleMatchLevel, UnknownOrMissingLevelsFallBackToOneWithAMessage) {
    testing_support::CapturedErrors errors;
    LevelRegistry registry;
    for (const std::int32_t id : {1, 2}) {
        auto level = std::make_unique<Level>();
        level->setId(id);
        registry.addLevel(std::move(level));
    }
    registry.setCurrentLevel(GetParam().named);
    EXPECT_EQ(settleMatchLevel(registry), GetParam().played);
    EXPECT_EQ(registry.currentLevel(), GetParam().played);
    EXPECT_EQ(errors.texts().size(), GetParam().messages);
}

INSTANTIATE_TEST_SUITE_P(Levels, SettleMatchLevel,
                         testing::Values(LevelCase{2, 2, 0}, LevelCase{-1, 1, 1},
                                         LevelCase{7, 1, 1}, LevelCase{-128, 1, 1}));

}  // namespace
