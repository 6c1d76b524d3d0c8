// The terrain viewer run as a program on the test display, from a copy of the game
// directory: a timed run prints its figures and writes the last frame.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

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
    // Runs the viewer and returns its exit code; `out` gets what it printed and `report`
    // that with standard error. `override` is handed to Mesa as MESA_EXTENSION_OVERRIDE,
    // which it reads when the viewer's context is made.
    int run(const std::vector<std::string>& args, const char* override = nullptr) {
        if (override != nullptr) setenv("MESA_EXTENSION_OVERRIDE", override, 1);
        E2eRun viewer(testing_support::builtBinary("tools/viewer/voka-viewer"), dir.path(), args);
        unsetenv("MESA_EXTENSION_OVERRIDE");
        const int code = viewer.wait(120000);
        out.clear();
        for (const std::string& line : viewer.stdoutLines()) out += line + "\n";
        report = viewer.report();
        return code;
    }
    testing_support::TempDir dir;
    std::string out, report;
};

// A timed run prints its figures and writes the last frame: sky above (blue over red),
// ground below. A driver without buffer objects, multitexturing and fog coordinates (as
// Mesa plays one): render mode 3 falls back to display lists, fog and the detail texture
// are skipped, and the picture is the one drawn with display lists and both switched off.
TEST_F(ViewerRun, WithoutTheExtensionsTheSamePictureComesWithoutFogAndDetail) {
    // The screenshot's RGB rows from the top, as ImageMagick decodes them.
    const auto shoot = [&](std::vector<std::string> args, const char* override) {
        args.insert(args.end(), {"--level", "2", "--size", "400x300", "--frames", "2", "--warmup",
                                 "1", "--at", "5", "--screenshot", dir.file("shot.png")});
        EXPECT_EQ(run(args, override), 0) << report;
        return testing_support::runCommand("convert '" + dir.file("shot.png") +
                                           "' -depth 8 rgb:- 2>/dev/null");
    };
    const auto plain = shoot({"--render-mode", "2", "--fog", "off", "--detail", "off"}, nullptr);
    EXPECT_TRUE(out.find("level=2 size=400x300 mode=2 lod=on fog=off") != std::string::npos &&
                out.find(" frames=2 ") != std::string::npos &&
                out.find(" fps=") != std::string::npos)
        << out;
    const auto fallback = shoot({"--render-mode", "3", "--fog", "on", "--detail", "on"},
                                "-GL_ARB_vertex_buffer_object -GL_ARB_multitexture "
                                "-GL_EXT_fog_coord");
    ASSERT_EQ(plain.size(), 400u * 300 * 3);
    const auto at = [&](int x, int y, int c) {
        return static_cast<int>(static_cast<unsigned char>(plain[(y * 400 + x) * 3 + c]));
    };
    EXPECT_GT(at(200, 60, 2), at(200, 60, 0));  // the sky
    EXPECT_GT(
        std::abs(at(200, 60, 2) - at(200, 290, 2)) + std::abs(at(200, 60, 0) - at(200, 290, 0)),
        60);
    // The readout at the top names the switches, so it differs; the world below must not.
    EXPECT_TRUE(fallback.size() == plain.size() &&
                fallback.compare(40 * 400 * 3, std::string::npos, plain, 40 * 400 * 3) == 0);
}

// The showroom's crowd drawn with its shadows; an unknown level or view, or a bad value,
// is reported.
TEST_F(ViewerRun, ObjectsRunAndBadArgumentsAreReported) {
    // What the viewer says on standard output or standard error.
    const auto expectRun = [&](const std::vector<std::string>& args, int code, const char* says) {
        EXPECT_EQ(run(args), code) << report;
        EXPECT_NE(report.find(says), std::string::npos) << report;
    };
    expectRun({"--objects", "crowd", "--shadow", "on", "--frames", "1", "--warmup", "0"}, 0,
              " view=crowd shadows=on frames=1 ");
    expectRun({"--level", "9", "--frames", "2"}, 1, "level 9 is not in ./level.xml");
    expectRun({"--objects", "lineup", "--view", "sideways", "--frames", "1"}, 1,
              "no view sideways; the layout has: vokas steering");
    expectRun({"--render-mode", "7"}, 2, "bad value for --render-mode");
    EXPECT_NE(report.find("usage: voka-viewer"), std::string::npos) << report;
}

}  // namespace
