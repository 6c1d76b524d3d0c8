// The terrain viewer run as a program on the test display, from a copy of the game
// directory: a timed run prints its figures and writes the last frame.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// PNG decoding for reading the screenshot back, private to this file.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

#include "support/e2e_runner.h"
#include "support/temp_dir.h"

namespace {

using testing_support::E2eRun;

class ViewerRun : public ::testing::Test {
  protected:
    void SetUp() override {
        testing_support::copyGameData(dir.path());
        // The shipped settings: display lists, level of detail, fog and the detail
        // texture all on.
        std::filesystem::copy_file(VOKA_BINARY_DIR "/game/zrv.cfg", dir.file("zrv.cfg"));
    }
    std::string run(const std::vector<std::string>& args, int& exitCode) {
        E2eRun viewer(testing_support::builtBinary("tools/viewer/voka-viewer"), dir.path(), args);
        exitCode = viewer.wait(120000);
        std::string out;
        for (const std::string& line : viewer.stdoutLines()) out += line + "\n";
        report = viewer.report();
        return out;
    }
    testing_support::TempDir dir;
    std::string report;
};

TEST_F(ViewerRun, TimedRunPrintsItsFiguresAndWritesTheLastFrame) {
    int exitCode = -1;
    const std::string shot = dir.file("shot.png");
    const std::string out = run({"--level", "2", "--size", "400x300", "--frames", "4", "--warmup",
                                 "1", "--at", "5", "--render-mode", "3", "--screenshot", shot},
                                exitCode);
    ASSERT_EQ(exitCode, 0) << report;
    EXPECT_NE(out.find("level=2 size=400x300 mode=3 lod=on fog=on"), std::string::npos) << out;
    EXPECT_NE(out.find(" frames=4 "), std::string::npos) << out;
    EXPECT_NE(out.find(" fps="), std::string::npos) << out;

    int width = 0, height = 0, channels = 0;
    const std::unique_ptr<unsigned char, void (*)(void*)> pixels(
        stbi_load(shot.c_str(), &width, &height, &channels, 3), stbi_image_free);
    ASSERT_TRUE(pixels) << "no screenshot";
    ASSERT_EQ(width, 400);
    ASSERT_EQ(height, 300);
    const auto at = [&](int x, int y) { return pixels.get() + (y * width + x) * 3; };
    // Sky above (blue over red), ground below (a different colour from the sky).
    const unsigned char* sky = at(200, 60);
    const unsigned char* ground = at(200, 290);
    EXPECT_GT(sky[2], sky[0]);
    EXPECT_GT(std::abs(sky[2] - ground[2]) + std::abs(sky[0] - ground[0]), 60);
}

// The showroom's crowd, drawn with its shadows.
TEST_F(ViewerRun, ObjectsRunFromTheirOwnCamera) {
    int exitCode = -1;
    const std::string out =
        run({"--objects", "crowd", "--shadow", "on", "--frames", "1", "--warmup", "0"}, exitCode);
    ASSERT_EQ(exitCode, 0) << report;
    EXPECT_NE(out.find(" view=crowd shadows=on frames=1 "), std::string::npos) << out;
}

TEST_F(ViewerRun, UnknownLevelOrBadCommandLineIsReported) {
    int exitCode = -1;
    run({"--level", "9", "--frames", "2"}, exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_NE(report.find("level 9 is not in ./level.xml"), std::string::npos) << report;
    run({"--objects", "lineup", "--view", "sideways", "--frames", "1"}, exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_NE(report.find("no view sideways; the layout has: vokas steering"), std::string::npos)
        << report;
    run({"--render-mode", "7"}, exitCode);
    EXPECT_EQ(exitCode, 2);
    EXPECT_NE(report.find("bad value for --render-mode"), std::string::npos) << report;
    EXPECT_NE(report.find("usage: voka-viewer"), std::string::npos) << report;
}

}  // namespace
