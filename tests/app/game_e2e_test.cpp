// The built game under Xvfb, driven with xdotool like a player would: start-up with
// good and bad settings files, the window size, the menu's exit entry, and the
// configuration screen's save and cancel.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "config/settings_fixture.h"
#include "support/e2e_runner.h"
#include "support/temp_dir.h"

namespace {

using testing_support::E2eRun;

const std::string kSettings = withValue("sound", "false");

class GameE2eTest : public ::testing::Test {
  protected:
    void SetUp() override { testing_support::copyGameData(dir.path()); }

    // Starts the built game on `settings`, without a zrv.cfg when they are empty.
    std::unique_ptr<E2eRun> start(const std::string& settings, bool interactive = false,
                                  const std::vector<std::string>& args = {}) {
        if (!settings.empty()) dir.write("zrv.cfg", settings);
        return std::make_unique<E2eRun>(testing_support::builtBinary("src/voka"), dir.path(), args,
                                        interactive);
    }

    static void expectWindowSize(E2eRun& run, int expectedWidth, int expectedHeight) {
        ASSERT_TRUE(run.waitForWindow()) << run.report();
        int width = 0, height = 0;
        EXPECT_TRUE(run.waitForWindowSize(expectedWidth, expectedHeight, width, height))
            << "window " << width << "x" << height;
    }

    static void keys(E2eRun& run, std::initializer_list<const char*> keysyms) {
        for (const char* keysym : keysyms) run.key(keysym);
    }
    // Up from start selects exit; Enter ends the game with code 0.
    static void exitThroughMenu(E2eRun& run) {
        keys(run, {"Up", "Return"});
        EXPECT_EQ(run.wait(), 0);
    }

    testing_support::TempDir dir;
};

// Return presses the default button, Yes: the window fills the screen; Escape answers No
// and the configured window opens.
TEST_F(GameE2eTest, AnsweringTheRealQuestionWithYesGivesFullScreenAndNoTheWindow) {
    int screenWidth = 0, screenHeight = 0;
    const std::string screen = testing_support::runCommand("xdpyinfo | grep dimensions");
    ASSERT_EQ(std::sscanf(screen.c_str(), " dimensions: %dx%d", &screenWidth, &screenHeight), 2)
        << screen;
    for (const bool yes : {true, false}) {
        const auto run = start(kSettings, /*interactive=*/true);
        ASSERT_TRUE(run->keyInWindowTitled("Switch to FullScreen?", yes ? "Return" : "Escape"))
            << run->report();
        expectWindowSize(*run, yes ? screenWidth : 1024, yes ? screenHeight : 768);
        exitThroughMenu(*run);
    }
}

// Without a settings file the game says so before it asks about full screen, and opens
// the default window. --help lists the options; a bad argument exits with 2; a demo that
// is not one, and no display, with 1 and one line.
TEST_F(GameE2eTest, NoSettingsFileHelpBadArgumentsGarbledDemoAndNoDisplay) {
    const auto first = start("");
    expectWindowSize(*first, 800, 600);
    exitThroughMenu(*first);
    const auto said = first->stderrLines();
    const auto config = std::find(said.begin(), said.end(), "error: Error loading config file!");
    EXPECT_TRUE(config != said.end() &&
                std::find(config, said.end(), "Switch to FullScreen?: Run in Fullscreen Mode?") !=
                    said.end());
    const auto help = start(kSettings, false, {"--help"});
    EXPECT_EQ(help->wait(), 0);
    EXPECT_EQ(help->stdoutLines().at(1).find("  --connect HOST[:PORT]"), 0u) << help->report();
    const auto bad = start(kSettings, false, {"--start", "--conect", "host"});
    EXPECT_EQ(bad->wait(), 2);
    EXPECT_EQ(bad->stderrLines().at(0), "voka: unknown option --conect");
    dir.write("garbled.demo", "VOKADEMO garbage");
    const auto demo = start(kSettings, false, {"--timedemo", "garbled.demo"});
    EXPECT_EQ(demo->wait(), 1) << demo->report();
    EXPECT_EQ(demo->stderrLines(),
              std::vector<std::string>{"voka: garbled.demo: truncated in the header"});
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display != nullptr ? display : "";
    unsetenv("DISPLAY");
    const auto run = start(kSettings);
    const int code = run->wait();
    setenv("DISPLAY", saved.c_str(), 1);
    EXPECT_EQ(code, 1);
    const auto lines = run->stderrLines();
    EXPECT_TRUE(lines.size() == 1 && lines[0].find("no X display") != std::string::npos);
}

// A rename and the shadow switched off, cancelled; back in, a rename and the next
// resolution, saved: the file holds the saved values alone.
TEST_F(GameE2eTest, ConfigurationCancelRestoresTheFileValuesAndSaveWritesThem) {
    // A key held longer than the X server's repeat delay (a busy machine) would type
    // twice. A freshly started X server may refuse its first connections, and a game
    // then ends at once and is started again.
    for (int i = 0;
         i < 50 && testing_support::runCommand("xset r off 2>/dev/null && echo ok") != "ok\n"; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::unique_ptr<E2eRun> game = start(kSettings);
    for (int attempt = 1; attempt < 3 && !game->waitForWindow() && !game->running(); ++attempt)
        game = start(kSettings);
    ASSERT_TRUE(game->waitForWindow()) << game->report();
    E2eRun& run = *game;
    // From the menu with "configuration" selected: opens the configuration screen and
    // types `name` into the name row of the game page, which stays selected.
    const auto renamePlayer = [&](const std::string& name) {
        keys(run, {"Return", "Right", "Down", "Return"});
        for (const char c : name) run.key(std::string(1, c));
        run.key("Return");
    };
    run.key("Down");  // from "start"
    renamePlayer("zed");
    keys(run, {"Down", "Down", "Down", "Down", "Down", "Return"});  // shadow off
    keys(run, {"Right", "Right", "Return"});                        // cancel
    renamePlayer("rex7");
    keys(run, {"Down", "Down", "Down", "Down", "Return"});  // 1024x768 becomes 1280x1024
    // Save, then exit from the menu (configuration still selected there).
    keys(run, {"Right", "Return", "Up", "Up", "Return"});
    ASSERT_EQ(run.wait(), 0) << run.report();
    EXPECT_EQ(dir.read("zrv.cfg"),
              withValue("playername", "rex7", withValue("resolution", "3", kSettings)));
}

}  // namespace
