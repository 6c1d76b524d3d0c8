// The generated game directory holds every file the game opens, in formats that
// independent decoders (ImageMagick, sox) read as the game expects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "config/settings.h"
#include "gamedata_support.h"
#include "support/captured_errors.h"
#include "support/temp_dir.h"

namespace {

using namespace gamedata_testing;
namespace fs = std::filesystem;

// Every path that the game opens by name.
const char* const kOpenedPaths[] = {
    "zrv.cfg",
    "story.txt",
    "level.xml",
    "textures/back.tga",
    "textures/start.tga",
    "textures/start_sel.tga",
    "textures/config.tga",
    "textures/config_sel.tga",
    "textures/story.tga",
    "textures/story_sel.tga",
    "textures/about.tga",
    "textures/about_sel.tga",
    "textures/exit.tga",
    "textures/exit_sel.tga",
    "textures/controls.tga",
    "textures/controls_sel.tga",
    "textures/game.tga",
    "textures/game_sel.tga",
    "textures/save.tga",
    "textures/save_sel.tga",
    "textures/cancel.tga",
    "textures/cancel_sel.tga",
    "textures/portrait_a.bmp",
    "textures/portrait_b.bmp",
    "textures/kreis.tga",
    "textures/bullet.bmp",
    "textures/bullet_mask.bmp",
    "textures/CrossHair.bmp",
    "textures/CrossHairMask.bmp",
    "textures/mg.tga",
    "textures/railgun.tga",
    "textures/Glow.bmp",
    "textures/BigGlow.bmp",
    "textures/Halo.bmp",
    "textures/Streaks.bmp",
    "models/voka_red.3ds",
    "models/voka_red_middle.3ds",
    "models/voka_red_far.3ds",
    "models/voka.3ds",
    "models/voka_middle.3ds",
    "models/voka_far.3ds",
    "models/weapon_mg.3ds",
    "models/weapon_mg_middle.3ds",
    "models/weapon_mg_far.3ds",
    "models/weapon_railgun.3ds",
    "models/weapon_railgun_middle.3ds",
    "models/weapon_railgun_far.3ds",
    "models/sky.3DS",
    "models/items/powerup25.3ds",
    "models/items/powerup25_middle.3ds",
    "models/items/powerup25_far.3ds",
    "models/items/powerup15.3ds",
    "models/items/powerup15_middle.3ds",
    "models/items/powerup15_far.3ds",
    "models/items/ammo_minigun.3ds",
    "models/items/ammo_minigun_middle.3ds",
    "models/items/ammo_minigun_far.3ds",
    "models/items/ammo_rail.3ds",
    "models/items/ammo_rail_middle.3ds",
    "models/items/ammo_rail_far.3ds",
    "models/items/amor_50.3ds",
    "models/items/amor_50_middle.3ds",
    "models/items/amor_50_far.3ds",
    "models/items/amor_100.3ds",
    "models/items/amor_100_middle.3ds",
    "models/items/amor_100_far.3ds",
    "sound/Weapon/Rail/rail.wav",
    "sound/Weapon/Minigun/minigun.wav",
    "sound/Weapon/noammo.wav",
    "sound/item/powerup25.wav",
    "sound/item/amor.wav",
    "sound/item/ammo.wav",
    "sound/misc/explode.wav",
    "sound/misc/hit.wav",
    "sound/misc/brumm.mp3",
    "sound/misc/motor_2000.wav",
    "sound/misc/motor_4000.wav",
    "sound/misc/motor_6000.wav",
};

class OpenedPath : public ::testing::TestWithParam<const char*> {};

TEST_P(OpenedPath, ExistsAndIsNotEmpty) {
    const fs::path path = gamePath(GetParam());
    ASSERT_TRUE(fs::is_regular_file(path)) << path;
    EXPECT_GT(fs::file_size(path), 0u);
}

INSTANTIATE_TEST_SUITE_P(EveryFileTheGameOpens, OpenedPath, ::testing::ValuesIn(kOpenedPaths));

TEST(ExplosionPictures, AllFifteenExist) {
    for (int i = 0; i < 15; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "textures/expl_a%03d.bmp", i);
        EXPECT_TRUE(fs::is_regular_file(gamePath(name))) << name;
    }
    EXPECT_FALSE(fs::exists(gamePath("textures/expl_a015.bmp")));
}

// What ImageMagick must report for an image: format, size, channels, compression.
struct ImageSpec {
    const char* path;
    const char* format;  // TGA or BMP3
    int width, height;
    const char* channels;  // srgb or srgba
    const char* compression;
};

void PrintTo(const ImageSpec& s, std::ostream* os) {
    *os << s.path;
}

const ImageSpec kImages[] = {
    {"textures/back.tga", "TGA", 512, 512, "srgb", "None"},
    {"textures/start.tga", "TGA", 512, 128, "srgb", "RLE"},
    {"textures/start_sel.tga", "TGA", 512, 128, "srgb", "RLE"},
    {"textures/exit_sel.tga", "TGA", 512, 128, "srgb", "RLE"},
    {"textures/config.tga", "TGA", 512, 128, "srgb", "RLE"},
    {"textures/controls.tga", "TGA", 256, 64, "srgba", "RLE"},
    {"textures/cancel_sel.tga", "TGA", 256, 64, "srgba", "RLE"},
    {"textures/kreis.tga", "TGA", 64, 64, "srgba", "None"},
    {"textures/mg.tga", "TGA", 256, 128, "srgb", "RLE"},
    {"textures/railgun.tga", "TGA", 256, 128, "srgb", "RLE"},
    {"textures/sky.tga", "TGA", 512, 256, "srgb", "None"},
    {"textures/voka_red_body.tga", "TGA", 512, 512, "srgb", "RLE"},
    {"textures/voka_green_body.tga", "TGA", 512, 512, "srgb", "RLE"},
    {"textures/voka_wheel.tga", "TGA", 256, 256, "srgb", "RLE"},
    {"textures/portrait_a.bmp", "BMP3", 256, 256, "srgb", "None"},
    {"textures/portrait_b.bmp", "BMP3", 256, 256, "srgb", "None"},
    {"textures/expl_a000.bmp", "BMP3", 128, 128, "srgb", "None"},
    {"textures/expl_a014.bmp", "BMP3", 128, 128, "srgb", "None"},
    {"textures/CrossHair.bmp", "BMP3", 256, 256, "srgb", "None"},
    {"textures/CrossHairMask.bmp", "BMP3", 256, 256, "srgb", "None"},
    {"textures/bullet.bmp", "BMP3", 32, 32, "srgb", "None"},
    {"textures/Glow.bmp", "BMP3", 128, 128, "srgb", "None"},
    {"textures/BigGlow.bmp", "BMP3", 256, 256, "srgb", "None"},
    {"textures/Halo.bmp", "BMP3", 128, 128, "srgb", "None"},
    {"textures/Streaks.bmp", "BMP3", 256, 256, "srgb", "None"},
    {"textures/reach_ground.bmp", "BMP3", 512, 512, "srgb", "None"},
    {"textures/kessel_detail.bmp", "BMP3", 256, 256, "srgb", "None"},
};

class GeneratedImage : public ::testing::TestWithParam<ImageSpec> {};

TEST_P(GeneratedImage, DecodesWithTheExpectedSizeAndDepth) {
    const ImageSpec& want = GetParam();
    const CommandResult r =
        run("identify -format '%m %w %h %[channels] %C %z\\n' " + quoted(gamePath(want.path)));
    ASSERT_EQ(r.status, 0) << r.output;
    std::ostringstream expected;
    expected << want.format << ' ' << want.width << ' ' << want.height << ' ' << want.channels
             << ' ' << want.compression << " 8\n";
    EXPECT_EQ(r.output, expected.str());
}

INSTANTIATE_TEST_SUITE_P(Textures, GeneratedImage, ::testing::ValuesIn(kImages));

// Every image in the directory decodes completely (not only its header), and its sides are
// powers of two so that mipmaps are built without rescaling.
TEST(EveryImage, DecodesFullyWithPowerOfTwoSides) {
    int count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(gamePath("textures"))) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".tga" && ext != ".bmp") continue;
        ++count;
        const CommandResult r =
            run("convert " + quoted(entry.path().string()) + " -format '%w %h' info:");
        ASSERT_EQ(r.status, 0) << entry.path() << ": " << r.output;
        int w = 0, h = 0;
        ASSERT_EQ(std::sscanf(r.output.c_str(), "%d %d", &w, &h), 2) << r.output;
        EXPECT_TRUE(w > 0 && (w & (w - 1)) == 0 && h > 0 && (h & (h - 1)) == 0)
            << entry.path() << " " << w << "x" << h;
    }
    EXPECT_GE(count, 50);
}

// The explosion is added to the scene, so its pictures stand on black: the corners are dark.
TEST(ExplosionPictures, StandOnBlack) {
    for (int i : {0, 7, 14}) {
        char name[64];
        std::snprintf(name, sizeof name, "textures/expl_a%03d.bmp", i);
        const CommandResult r =
            run("convert " + quoted(gamePath(name)) + " -format '%[fx:p{0,0}.r+p{127,0}.g]' info:");
        ASSERT_EQ(r.status, 0) << r.output;
        EXPECT_LT(std::stod(r.output), 0.02) << name;
    }
}

// The crosshair is multiplied in with its mask and then added: the mask is white where
// the scene stays and the crosshair is black there.
TEST(Crosshair, MaskKeepsTheSceneWhereTheCrosshairAddsNothing) {
    const CommandResult mask = run("convert " + quoted(gamePath("textures/CrossHairMask.bmp")) +
                                   " -format '%[fx:p{10,10}.r] %[fx:p{128,128}.r]' info:");
    const CommandResult hair = run("convert " + quoted(gamePath("textures/CrossHair.bmp")) +
                                   " -format '%[fx:p{10,10}.g] %[fx:p{128,128}.g]' info:");
    ASSERT_EQ(mask.status, 0) << mask.output;
    ASSERT_EQ(hair.status, 0) << hair.output;
    double maskCorner = 0, maskCentre = 0, hairCorner = 0, hairCentre = 0;
    ASSERT_EQ(std::sscanf(mask.output.c_str(), "%lf %lf", &maskCorner, &maskCentre), 2);
    ASSERT_EQ(std::sscanf(hair.output.c_str(), "%lf %lf", &hairCorner, &hairCentre), 2);
    EXPECT_EQ(maskCorner, 1.0);
    EXPECT_EQ(hairCorner, 0.0);
    EXPECT_LT(maskCentre, 0.1);
    EXPECT_GT(hairCentre, 0.5);
}

struct SoundSpec {
    const char* path;
    const char* type;  // as sox names it
    double minSeconds;
    double maxSeconds;
};

void PrintTo(const SoundSpec& s, std::ostream* os) {
    *os << s.path;
}

const SoundSpec kSounds[] = {
    {"sound/Weapon/Rail/rail.wav", "wav", 0.5, 3},
    {"sound/Weapon/Minigun/minigun.wav", "wav", 0.05, 0.15},
    {"sound/Weapon/noammo.wav", "wav", 0.05, 0.5},
    {"sound/item/powerup25.wav", "wav", 0.2, 2},
    {"sound/item/amor.wav", "wav", 0.2, 2},
    {"sound/item/ammo.wav", "wav", 0.2, 2},
    {"sound/misc/explode.wav", "wav", 1, 4},
    {"sound/misc/hit.wav", "wav", 0.1, 1},
    {"sound/misc/motor_2000.wav", "wav", 0.5, 3},
    {"sound/misc/motor_4000.wav", "wav", 0.5, 3},
    {"sound/misc/motor_6000.wav", "wav", 0.5, 3},
    {"sound/misc/brumm.mp3", "mp3", 0.3, 2},
};

class GeneratedSound : public ::testing::TestWithParam<SoundSpec> {};

// The machine-gun shot restarts every 0.15 s, so it must fit in that interval.
TEST_P(GeneratedSound, DecodesAsAudibleMono) {
    const SoundSpec& want = GetParam();
    const std::string path = quoted(gamePath(want.path));
    const CommandResult type = run("sox --i -t " + path);
    ASSERT_EQ(type.status, 0) << type.output;
    EXPECT_EQ(type.output, std::string(want.type) + "\n");
    EXPECT_EQ(run("sox --i -c " + path).output, "1\n");
    if (std::string(want.type) == "wav") {
        EXPECT_EQ(run("sox --i -b " + path).output, "16\n");
    }
    const CommandResult length = run("sox --i -D " + path);
    ASSERT_EQ(length.status, 0) << length.output;
    EXPECT_GE(std::stod(length.output), want.minSeconds);
    EXPECT_LE(std::stod(length.output), want.maxSeconds);
    // A full decode; the peak shows the sound is neither silent nor clipped.
    const CommandResult stat = run("sox " + path + " -n stat");
    ASSERT_EQ(stat.status, 0) << stat.output;
    const size_t at = stat.output.find("Maximum amplitude:");
    ASSERT_NE(at, std::string::npos) << stat.output;
    const double peak = std::stod(stat.output.substr(at + std::strlen("Maximum amplitude:")));
    EXPECT_GT(peak, 0.3);
    EXPECT_LT(peak, 0.99);
}

INSTANTIATE_TEST_SUITE_P(Samples, GeneratedSound, ::testing::ValuesIn(kSounds));

// Decodes a WAV file to 16-bit samples with sox.
std::vector<int16_t> samples(const std::string& relative) {
    const CommandResult r =
        run("sox " + quoted(gamePath(relative)) + " -t raw -e signed -b 16 -L -");
    std::vector<int16_t> out(r.output.size() / 2);
    std::memcpy(out.data(), r.output.data(), out.size() * 2);
    return out;
}

class EngineLoop : public ::testing::TestWithParam<const char*> {};

// The engine samples loop: the jump from the last sample back to the first is no bigger
// than the steps inside the sound, so the loop does not click.
TEST_P(EngineLoop, JoinsWithoutAClick) {
    const std::vector<int16_t> s = samples(GetParam());
    ASSERT_GT(s.size(), 1000u);
    int largestStep = 0;
    for (size_t i = 1; i < s.size(); ++i)
        largestStep = std::max(largestStep, std::abs(s[i] - s[i - 1]));
    const int wrap = std::abs(s.front() - s.back());
    EXPECT_LE(wrap, largestStep) << "first " << s.front() << " last " << s.back();
    EXPECT_GT(largestStep, 100);
}

INSTANTIATE_TEST_SUITE_P(Motors, EngineLoop,
                         ::testing::Values("sound/misc/motor_2000.wav", "sound/misc/motor_4000.wav",
                                           "sound/misc/motor_6000.wav"));

// The detail texture is multiplied into the ground at double brightness and repeated every
// 100 units: it must average mid-grey and join itself without a seam.
TEST(DetailTextures, AverageMidGreyAndTileWithoutSeams) {
    for (const char* name : {"textures/reach_detail.bmp", "textures/kessel_detail.bmp"}) {
        const CommandResult r = run("convert " + quoted(gamePath(name)) + " -depth 8 rgb:-");
        ASSERT_EQ(r.output.size(), 256u * 256 * 3) << name;
        auto at = [&](int x, int y, int c) {
            return static_cast<double>(
                static_cast<unsigned char>(r.output[(static_cast<size_t>(y) * 256 + x) * 3 + c]));
        };
        double sum = 0;
        for (size_t i = 0; i < r.output.size(); ++i) sum += static_cast<unsigned char>(r.output[i]);
        const double mean = sum / static_cast<double>(r.output.size()) / 255;
        EXPECT_GT(mean, 0.42) << name;
        EXPECT_LT(mean, 0.58) << name;
        double inside = 0, seam = 0;
        for (int y = 0; y < 256; ++y) {
            inside += std::abs(at(0, y, 1) - at(1, y, 1)) + std::abs(at(y, 0, 1) - at(y, 1, 1));
            seam += std::abs(at(255, y, 1) - at(0, y, 1)) + std::abs(at(y, 255, 1) - at(y, 0, 1));
        }
        EXPECT_LT(seam, inside * 1.5 + 256) << name;
    }
}

TEST(Story, FitsTheStoryScreen) {
    const std::string text = readFile(gamePath("story.txt"));
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n') << "a last line without a newline would be dropped";
    std::istringstream lines(text);
    std::string line;
    int count = 0;
    int written = 0;
    while (std::getline(lines, line)) {
        ++count;
        if (!line.empty()) ++written;
        EXPECT_LT(line.size(), 100u) << line;
        EXPECT_EQ(line.find('\r'), std::string::npos);
    }
    // Only the first 18 lines are on screen.
    EXPECT_LE(count, 18);
    EXPECT_GE(written, 8);
}

TEST(DefaultSettings, HoldAll25KeysOnceWithTheLoopbackServer) {
    std::istringstream in(readFile(gamePath("zrv.cfg")));
    std::map<std::string, std::string> values;
    std::string key;
    std::string value;
    while (in >> key >> value) {
        EXPECT_TRUE(values.emplace(key, value).second) << "twice: " << key;
    }
    const std::set<std::string> keys = {
        "action_fwd", "action_back", "action_left", "action_right", "action_centerview",
        "weapon_7",   "weapon_2",    "invert",      "sensitivity",  "playername",
        "vokatype",   "server_ip",   "server_port", "resolution",   "shadow",
        "lensflare",  "blur",        "fog",         "sound",        "multitexturing",
        "mipmapping", "texturqual",  "rendermode",  "fov",          "lod"};
    EXPECT_EQ(values.size(), 25u);
    for (const std::string& k : keys) EXPECT_EQ(values.count(k), 1u) << k;
    EXPECT_EQ(values["server_ip"], "127.0.0.1");
    EXPECT_EQ(values["server_port"], "24500");
    EXPECT_EQ(values["action_fwd"] + values["action_back"] + values["action_left"] +
                  values["action_right"],
              "wsad");
    EXPECT_EQ(values["resolution"], "1");
    // Weapons on keys that the configuration screen accepts: a lower-case letter or digit.
    for (const char* k : {"weapon_2", "weapon_7", "action_centerview"}) {
        ASSERT_EQ(values[k].size(), 1u);
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(values[k][0])) ||
                    std::islower(static_cast<unsigned char>(values[k][0])));
    }
}

// The game's own settings reader takes the default file without a message.
TEST(DefaultSettings, LoadInTheGamesReader) {
    Settings::resetStartValues();
    testing_support::CapturedErrors errors;
    EXPECT_EQ(Settings::instance().readFile(gamePath("zrv.cfg").c_str()), 0);
    EXPECT_TRUE(errors.texts().empty());
    EXPECT_EQ(Settings::getServerPort(), 24500);
    EXPECT_EQ(Settings::getWindowWidth(), 800);
    EXPECT_EQ(Settings::getKeyMachineGun(), '2');
    EXPECT_EQ(Settings::getVokaType(), 128);
    EXPECT_TRUE(Settings::getShadow());
    EXPECT_TRUE(Settings::getFog());
    Settings::resetStartValues();
}

TEST(GameDirectory, StaysSmall) {
    uintmax_t total = 0;
    for (const auto& entry : fs::recursive_directory_iterator(gameDir())) {
        if (entry.is_regular_file()) total += entry.file_size();
    }
    EXPECT_LT(total, 20u * 1024 * 1024);
}

// The same program writes the same bytes: a second run matches the build's output.
TEST(Generator, WritesTheSameBytesEveryRun) {
    testing_support::TempDir dir;
    const CommandResult gen = run(quoted(VOKA_DATAGEN) + " " + quoted(dir.file("game")));
    ASSERT_EQ(gen.status, 0) << gen.output;
    const CommandResult diff = run("diff -r " + quoted(gameDir()) + " " + quoted(dir.file("game")));
    EXPECT_EQ(diff.status, 0) << diff.output;
}

TEST(Generator, RefusesAMissingArgument) {
    const CommandResult r = run(quoted(VOKA_DATAGEN));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("usage"), std::string::npos);
}

}  // namespace
