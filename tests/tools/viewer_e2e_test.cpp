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
    // `override` is handed to Mesa as MESA_EXTENSION_OVERRIDE, which it reads when the
    // viewer's context is made.
    std::string run(const std::vector<std::string>& args, int& exitCode,
                    const char* override = nullptr) {
        if (override != nullptr) setenv("MESA_EXTENSION_OVERRIDE", override, 1);
        E2eRun viewer(testing_support::builtBinary("tools/viewer/voka-viewer"), dir.path(), args);
        unsetenv("MESA_EXTENSION_OVERRIDE");
        exitCode = viewer.wait(120000);
        std::string out;
        for (const std::string& line : viewer.stdoutLines()) out += line + "\n";
        report = viewer.report();
        return out;
    }
    // RGB rows from the top; empty when the file is missing or not `width` x `height`.
    static std::vector<unsigned char> loadPng(const std::string& path, int width, int height) {
        int w = 0, h = 0, channels = 0;
        const std::unique_ptr<unsigned char, void (*)(void*)> pixels(
            stbi_load(path.c_str(), &w, &h, &channels, 3), stbi_image_free);
        if (!pixels || w != width || h != height) return {};
        return {pixels.get(), pixels.get() + w * h * 3};
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

    const std::vector<unsigned char> pixels = loadPng(shot, 400, 300);
    ASSERT_FALSE(pixels.empty()) << "no screenshot of 400 x 300";
    const auto at = [&](int x, int y) { return pixels.data() + (y * 400 + x) * 3; };
    // Sky above (blue over red), ground below (a different colour from the sky).
    const unsigned char* sky = at(200, 60);
    const unsigned char* ground = at(200, 290);
    EXPECT_GT(sky[2], sky[0]);
    EXPECT_GT(std::abs(sky[2] - ground[2]) + std::abs(sky[0] - ground[0]), 60);
}

// A driver without buffer objects, multitexturing and fog coordinates (as Mesa plays one):
// render mode 3 falls back to display lists, fog and the detail texture are skipped, and
// the picture is the one drawn with display lists and both switched off.
TEST_F(ViewerRun, WithoutTheExtensionsTheSamePictureComesWithoutFogAndDetail) {
    const std::vector<std::string> common = {"--size",   "400x300", "--frames", "1",
                                             "--warmup", "1",       "--at",     "5"};
    const auto shoot = [&](std::vector<std::string> args, const char* override) {
        args.insert(args.end(), common.begin(), common.end());
        args.insert(args.end(), {"--screenshot", dir.file("shot.png")});
        int exitCode = -1;
        run(args, exitCode, override);
        EXPECT_EQ(exitCode, 0) << report;
        return loadPng(dir.file("shot.png"), 400, 300);
    };
    const auto plain = shoot({"--render-mode", "2", "--fog", "off", "--detail", "off"}, nullptr);
    const auto fallback = shoot({"--render-mode", "3", "--fog", "on", "--detail", "on"},
                                "-GL_ARB_vertex_buffer_object -GL_ARB_multitexture "
                                "-GL_EXT_fog_coord");
    ASSERT_EQ(plain.size(), 400u * 300 * 3);
    ASSERT_EQ(fallback.size(), plain.size());
    // The readout at the top names the switches, so it differs; the world below must not.
    const std::size_t below = 40 * 400 * 3;
    int differing = 0;
    for (std::size_t i = below; i < plain.size(); ++i) differing += plain[i] != fallback[i];
    EXPECT_EQ(differing, 0);
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
