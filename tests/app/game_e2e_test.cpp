// The built game under Xvfb, driven with xdotool like a player would: start-up with
// good and bad settings files, the window size, the menu's exit entry, resizing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/e2e_runner.h"
#include "support/temp_dir.h"
#include "support/test_images.h"

namespace {

using testing_support::E2eRun;

const std::string kSettings =
    "action_fwd w\naction_back s\naction_left a\naction_right d\naction_centerview c\n"
    "weapon_7 7\nweapon_2 2\ninvert false\nsensitivity 5\nplayername Tester\n"
    "vokatype red\nserver_ip 127.0.0.1\nserver_port 24500\nresolution 2\n"
    "shadow false\nlensflare false\nblur false\nfog false\nsound false\n"
    "multitexturing false\nmipmapping false\ntexturqual 0\nrendermode 0\nfov 75\nlod true\n";

bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class GameE2eTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing_support::copyGameData(dir.path());
        testing_support::writeScreenImages(dir.path());
    }

    std::string voka() const { return testing_support::builtBinary("src/voka"); }

    // Up from start selects exit; Enter ends the game.
    static void exitThroughMenu(E2eRun& run) {
        run.key("Up");
        run.key("Return");
    }

    static void expectWindowSize(E2eRun& run, int expectedWidth, int expectedHeight) {
        int width = 0;
        int height = 0;
        ASSERT_TRUE(run.windowSize(width, height));
        EXPECT_EQ(width, expectedWidth);
        EXPECT_EQ(height, expectedHeight);
    }

    testing_support::TempDir dir;
};

TEST_F(GameE2eTest, WithoutSettingsFileReportsItAndOpensDefaultWindow) {
    E2eRun run(voka(), dir.path());
    ASSERT_TRUE(run.waitForWindow()) << run.report();
    expectWindowSize(run, 800, 600);
    exitThroughMenu(run);
    EXPECT_EQ(run.wait(), 0);
    const auto lines = run.stderrLines();
    EXPECT_TRUE(hasLine(lines, "error: Error loading config file!"));
    // The settings are read before the full-screen question is asked.
    const auto config = std::find(lines.begin(), lines.end(), "error: Error loading config file!");
    const auto question =
        std::find(lines.begin(), lines.end(), "Switch to FullScreen?: Run in Fullscreen Mode?");
    ASSERT_NE(question, lines.end());
    EXPECT_LT(config, question);
}

TEST_F(GameE2eTest, ResolutionTwoOpensTenTwentyFourBySevenSixtyEight) {
    dir.write("zrv.cfg", kSettings);
    E2eRun run(voka(), dir.path());
    ASSERT_TRUE(run.waitForWindow()) << run.report();
    expectWindowSize(run, 1024, 768);
    exitThroughMenu(run);
    EXPECT_EQ(run.wait(), 0);
    EXPECT_FALSE(hasLine(run.stderrLines(), "error: Error loading config file!"));
}

TEST_F(GameE2eTest, FaultOnTwentiethKeyKeepsTheKeysBeforeIt) {
    std::string text = kSettings;
    text.replace(text.find("multitexturing false"), 20, "multitexturing maybe");
    dir.write("zrv.cfg", text);
    E2eRun run(voka(), dir.path());
    ASSERT_TRUE(run.waitForWindow()) << run.report();
    int width = 0;
    int height = 0;
    ASSERT_TRUE(run.windowSize(width, height));
    EXPECT_EQ(width, 1024);  // the resolution came before the fault
    exitThroughMenu(run);
    EXPECT_EQ(run.wait(), 0);
    const auto lines = run.stderrLines();
    EXPECT_TRUE(hasLine(lines, "error: value in config file must be true or false"));
    EXPECT_TRUE(hasLine(lines, "error: Error loading config file!"));
}

TEST_F(GameE2eTest, ExitEntryEndsWithCodeZero) {
    dir.write("zrv.cfg", kSettings);
    E2eRun run(voka(), dir.path());
    ASSERT_TRUE(run.waitForWindow()) << run.report();
    // Down four times from start reaches exit as well; the release of each arrow
    // reports nothing, so the selection moves once per key.
    for (int i = 0; i < 4; ++i) run.key("Down");
    EXPECT_TRUE(run.running());
    run.key("Return");
    EXPECT_EQ(run.wait(), 0);
}

TEST_F(GameE2eTest, ResizingOnTheStoryScreenKeepsTheGameRunning) {
    dir.write("zrv.cfg", kSettings);
    E2eRun run(voka(), dir.path());
    ASSERT_TRUE(run.waitForWindow()) << run.report();
    run.key("Down");
    run.key("Down");
    run.key("Return");  // story
    run.resize(640, 480);
    EXPECT_TRUE(run.running());
    int width = 0;
    int height = 0;
    ASSERT_TRUE(run.windowSize(width, height));
    EXPECT_EQ(width, 640);
    run.key("Escape");  // back to the menu, on "story"
    run.key("Down");
    run.key("Down");
    run.key("Return");  // exit
    EXPECT_EQ(run.wait(), 0);
    EXPECT_FALSE(hasLine(run.stderrLines(), "error: error in resize"));
}

TEST_F(GameE2eTest, AnsweringTheRealQuestionWithYesGivesFullScreen) {
    dir.write("zrv.cfg", kSettings);
    E2eRun run(voka(), dir.path(), {}, /*interactive=*/true);
    // Return presses the default button, Yes.
    ASSERT_TRUE(run.keyInWindowTitled("Switch to FullScreen?", "Return")) << run.report();
    ASSERT_TRUE(run.waitForWindow()) << run.report();
    int width = 0;
    int height = 0;
    ASSERT_TRUE(run.windowSize(width, height));
    const std::string screen = testing_support::runCommand("xdpyinfo | grep dimensions");
    EXPECT_NE(screen.find(std::to_string(width) + "x" + std::to_string(height)), std::string::npos)
        << screen << " window " << width << "x" << height;
    exitThroughMenu(run);
    EXPECT_EQ(run.wait(), 0);
}

TEST_F(GameE2eTest, AnsweringTheRealQuestionWithNoOpensTheConfiguredWindow) {
    dir.write("zrv.cfg", kSettings);
    E2eRun run(voka(), dir.path(), {}, /*interactive=*/true);
    ASSERT_TRUE(run.keyInWindowTitled("Switch to FullScreen?", "Escape")) << run.report();
    ASSERT_TRUE(run.waitForWindow()) << run.report();
    expectWindowSize(run, 1024, 768);
    exitThroughMenu(run);
    EXPECT_EQ(run.wait(), 0);
}

TEST_F(GameE2eTest, WithoutDisplaySaysSoInOneLine) {
    dir.write("zrv.cfg", kSettings);
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display != nullptr ? display : "";
    unsetenv("DISPLAY");
    E2eRun run(voka(), dir.path());
    const int code = run.wait();
    setenv("DISPLAY", saved.c_str(), 1);
    EXPECT_EQ(code, 1);
    const auto lines = run.stderrLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("no X display"), std::string::npos);
}

}  // namespace
