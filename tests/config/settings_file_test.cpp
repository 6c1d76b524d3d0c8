#include <sys/stat.h>

#include <string>
#include <vector>

#include "config/settings_fixture.h"

namespace {

// The lines reversed, joined with tabs, spaces and Unix or Windows line ends.
TEST_F(SettingsTest, AnyOrderAndAnyWhiteSpaceLoads) {
    const std::string text = validFile();
    const char* separators[] = {"\t", "  \r\n\n", " \t \n", "\r\n"};
    std::string mixed;
    for (std::size_t at = 0, i = 0; at < text.size(); at = text.find('\n', at) + 1, ++i) {
        std::string line = text.substr(at, text.find('\n', at) - at);
        mixed = line.replace(line.find(' '), 1, "\t \n ") + separators[i % 4] + mixed;
    }
    EXPECT_EQ(readText(mixed), 0);
    ASSERT_EQ(Settings::instance().writeFile(dir.file("out.cfg").c_str()), 0);
    EXPECT_EQ(dir.read("out.cfg"), validFile());  // every key applied, written in order
}

constexpr const char* kBool = "value in config file must be true or false";
constexpr const char* kMissing = "missing parameter";

std::string withoutLine(const std::string& line) {
    std::string text = validFile();
    return text.erase(text.find(line), line.size());
}

TEST_F(SettingsTest, EachBadFileReportsItsMessageOnce) {
    const std::string noLod = withoutLine("lod true\n");
    const std::pair<std::string, const char*> files[] = {
        {"", kMissing},
        // The last key just past the first 5000 bytes, the only part that is read.
        {noLod + std::string(5000 - noLod.size(), '\n') + "lod true\n", kMissing},
        {"fov 75\nfov 75\n", "double definition in config file"},
        {withValue("vokatype", "blue"), kBool},
        {withValue("fog", "true" + std::string(300, 'e')), kBool},
        {withValue("sensitivity", "0"), "sensitivity must be greater than 0"},
        {withValue("server_port", "65536"), "server_port must be greater than 0"},
        {withValue("server_port", "65000"), "server_port must be lower than 65000"},
        {withValue("action_fwd", ","), "unknown string in config file"},
        {std::string(4000, 'k') + " true\n", "unknown string in config file"},
    };
    for (const auto& [text, message] : files) {
        const std::size_t before = errors.texts().size();
        EXPECT_EQ(readText(text), -1) << message;
        EXPECT_EQ(std::vector<std::string>(errors.texts().begin() + before, errors.texts().end()),
                  std::vector<std::string>{message});
    }
}

// Numbers keep their leading digits and saturate, a port its low sixteen bits; a
// resolution outside the table keeps the window size; text keeps 50 characters; past
// 5000 bytes nothing is seen.
TEST_F(SettingsTest, OddButAcceptedValues) {
    Settings::setResolution(0);
    std::string text = withValue("texturqual", "12abc", withValue("server_port", "70000"));
    text = withValue("rendermode", "99999999999", text);
    text = withValue("fov", "74.9", withValue("resolution", "7", text));
    text = withValue("playername", std::string(80, 'n'), text);
    text = withValue("server_ip", std::string(120, '9'), text);
    EXPECT_EQ(readText(text + std::string(6000, ' ') + "garbage"), 0);
    EXPECT_TRUE(errors.texts().empty());
    EXPECT_EQ(Settings::getServerPort() + Settings::getTextureQuality() + Settings::getFov() +
                  Settings::getWindowWidth(),
              4464 + 12 + 74 + 640);
    EXPECT_EQ(Settings::getRenderMode(), 2147483647);
    EXPECT_EQ(textOf(Settings::getPlayerName) + textOf(Settings::getServerIp),
              std::string(50, 'n') + std::string(50, '9'));
}

// As the last token of the file a binding has no value at all: it keeps its old one. The
// keys before a failing one are applied, the rest not.
TEST_F(SettingsTest, ABindingWithoutValueKeepsItsOldOneAndAFailureTheKeysBefore) {
    Settings::setKeyForward('q');
    EXPECT_EQ(readText(withoutLine("action_fwd w\n") + "action_fwd"), -1);
    EXPECT_EQ(errors.texts(), std::vector<std::string>{"missing value in config file"});
    EXPECT_EQ(Settings::getKeyForward(), 'q');
    Settings::resetStartValues();
    EXPECT_EQ(readText(withValue("multitexturing", "maybe")), -1);
    EXPECT_EQ(Settings::getKeyMachineGun(), '2');
    EXPECT_FALSE(Settings::getMultitexturing() || Settings::getMipmapping());
}

// After a start without a file the type is 0 and no key is bound: a NUL (or a character
// outside the token set) in the file would not load again. The view angle is written
// truncated.
TEST_F(SettingsTest, StartValuesAreWrittenGreenWithTheDefaultKeys) {
    Settings::setKeyBack(',');
    Settings::setFov(74.9);
    ASSERT_EQ(Settings::instance().writeFile(dir.file("zrv.cfg").c_str()), 0);
    const std::string text = dir.read("zrv.cfg");
    EXPECT_NE(text.find("vokatype green\n"), std::string::npos);
    EXPECT_NE(text.find("fov 74\n"), std::string::npos);
    EXPECT_EQ(text.substr(0, text.find("invert")),
              "action_fwd w\naction_back s\naction_left a\naction_right d\n"
              "action_centerview c\nweapon_7 7\nweapon_2 2\n");
}

// At start-up a missing or bad file says so; a later load is silent about a missing one.
// A save that cannot write keeps the old file and tells the player.
TEST_F(SettingsTest, StartUpLoadAndSaveReportTheirFailures) {
    testing_support::ScopedWorkingDir inDir(dir.path());
    Settings::load();
    Settings::create();
    dir.write("zrv.cfg", withValue("lod", "maybe"));
    Settings::create();
    Settings::load();
    ASSERT_EQ(mkdir(dir.file("zrv.cfg.tmp").c_str(), 0700), 0);  // the write cannot start
    Settings::save();
    EXPECT_EQ(errors.texts(), (std::vector<std::string>{
                                  "Error loading config file!", kBool, "Error loading config file!",
                                  kBool, "could not write the config file zrv.cfg"}));
    EXPECT_EQ(dir.read("zrv.cfg"), withValue("lod", "maybe"));
    EXPECT_EQ(Settings::instance().writeFile(dir.file("missing/dir/zrv.cfg").c_str()), -1);
}

}  // namespace
