// The generated game directory holds every file the game opens, in formats that
// independent decoders (ImageMagick, sox) read as the game expects.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <sstream>
#include <string>

#include "config/settings_fixture.h"
#include "gamedata_support.h"

namespace {

using namespace gamedata_testing;
namespace fs = std::filesystem;

// identify decodes each picture under textures/ completely, not only its header: TGA or
// uncompressed BMP, 8 bits a channel, sides powers of two so that mipmaps are built
// without rescaling; the fifteen explosion pictures and no more. The files the game opens
// by name are opened by the game's tests and end-to-end runs.
TEST(Textures, EveryPictureDecodesWithPowerOfTwoSides) {
    int pictures = 0, explosion = 0;
    for (const auto& entry : fs::directory_iterator(gamePath("textures"))) {
        const std::string name = entry.path().filename().string();
        std::istringstream said(
            run("identify -format '%m%z %w %h' " + quoted(entry.path().string())).output);
        std::string kind;
        int width = 0, height = 0;
        said >> kind >> width >> height;
        EXPECT_EQ(kind, name.ends_with(".tga") ? "TGA8" : "BMP38") << name << ": " << said.str();
        EXPECT_TRUE(width >= 32 && (width & (width - 1)) == 0 && height >= 32 &&
                    (height & (height - 1)) == 0)
            << name << " " << width << "x" << height;
        ++pictures, explosion += name.starts_with("expl_a");
    }
    EXPECT_TRUE(explosion == 15 && pictures >= 50) << explosion << " " << pictures;
}

double pixelValue(const std::string& relative, const std::string& fx) {
    const CommandResult r =
        run("convert " + quoted(gamePath(relative)) + " -format '%[fx:" + fx + "]' info:");
    EXPECT_EQ(r.status, 0) << r.output;
    return r.status == 0 ? std::stod(r.output) : -1;
}

// The explosion is added to the scene, so its pictures stand on black; the crosshair is
// multiplied in with its mask and then added, so the mask is white where the scene stays
// and the crosshair is black there.
TEST(Textures, AddedPicturesAreBlackWhereTheSceneShowsThrough) {
    for (const char* name : {"textures/expl_a000.bmp", "textures/expl_a014.bmp"})
        EXPECT_LT(pixelValue(name, "p{0,0}.r+p{127,0}.g"), 0.02) << name;
    EXPECT_EQ(pixelValue("textures/CrossHairMask.bmp", "p{10,10}.r==1 && p{128,128}.r<0.1"), 1);
    EXPECT_EQ(pixelValue("textures/CrossHair.bmp", "p{10,10}.g==0 && p{128,128}.g>0.5"), 1);
}

// A full decode of each kind of sound: sox's type, channels and bits per sample, the
// length, and a peak that is neither silent nor clipped. The machine-gun shot restarts
// every 0.15 s, so it must fit in that interval. One row for each length limit and
// format.
TEST(GeneratedSound, DecodesAsAudibleMono) {
    const struct {
        const char* path;
        const char* info;
        double minSeconds, maxSeconds;
    } sounds[] = {
        {"sound/Weapon/Rail/rail.wav", "wav 1 16", 0.5, 3},
        {"sound/Weapon/Minigun/minigun.wav", "wav 1 16", 0.05, 0.15},
        {"sound/misc/explode.wav", "wav 1 16", 1, 4},
        {"sound/misc/brumm.mp3", "mp3 1 0", 0.3, 2},
    };
    for (const auto& want : sounds) {
        const std::string path = quoted(gamePath(want.path));
        const std::string stat = run("echo $(sox --i -t " + path + ") $(sox --i -c " + path +
                                     ") $(sox --i -b " + path + "); sox " + path + " -n stat")
                                     .output;
        EXPECT_TRUE(stat.starts_with(std::string(want.info) + "\n")) << stat;
        const auto value = [&](const std::string& label) {
            const size_t at = stat.find(label);
            return at == std::string::npos ? -1 : std::stod(stat.substr(at + label.size()));
        };
        const double seconds = value("Length (seconds):"), peak = value("Maximum amplitude:");
        EXPECT_TRUE(seconds >= want.minSeconds && seconds <= want.maxSeconds && peak > 0.3 &&
                    peak < 0.99)
            << want.path << ": " << stat;
    }
}

TEST(Story, FitsTheStoryScreen) {
    const std::string text = readFile(gamePath("story.txt"));
    EXPECT_TRUE(text.ends_with('\n')) << "a last line without a newline would be dropped";
    std::istringstream lines(text);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) EXPECT_LT(line.size(), 100u) << line;
    EXPECT_LE(count, 18);  // only the first 18 lines are on screen
}

// The game's own settings reader takes the default file without a message: the loopback
// address and voka-server's port (where ./play starts a server), and keys the
// configuration screen accepts (a lower-case letter or a digit).
using DefaultSettings = SettingsTest;
TEST_F(DefaultSettings, LoadInTheGamesReader) {
    EXPECT_TRUE(Settings::instance().readFile(gamePath("zrv.cfg").c_str()) == 0 &&
                errors.texts().empty());
    EXPECT_EQ(textOf(Settings::getServerIp) + ":" + std::to_string(Settings::getServerPort()),
              "127.0.0.1:24500");
    for (const unsigned char key :
         {Settings::getKeyForward(), Settings::getKeyBack(), Settings::getKeyLeft(),
          Settings::getKeyRight(), Settings::getKeyMachineGun(), Settings::getKeyRailGun(),
          Settings::getKeyCenterView()})
        EXPECT_TRUE(std::islower(key) || std::isdigit(key)) << key;
}

// The same program writes the same bytes: a second run matches the build's output.
TEST(Generator, WritesTheSameBytesEveryRun) {
    testing_support::TempDir dir;
    const CommandResult gen = run(quoted(VOKA_DATAGEN) + " " + quoted(dir.file("game")));
    ASSERT_EQ(gen.status, 0) << gen.output;
    const CommandResult diff =
        run("diff -r " + quoted(gamePath("")) + " " + quoted(dir.file("game")));
    EXPECT_EQ(diff.status, 0) << diff.output;
    EXPECT_EQ(run(quoted(VOKA_DATAGEN)).status, 2);  // usage without a directory
}

}  // namespace
