#include <string>
#include <vector>

#include "config/settings_fixture.h"

namespace {

// The seven key bindings in file order.
std::string bindings() {
    return {Settings::getKeyForward(),   Settings::getKeyBack(),       Settings::getKeyLeft(),
            Settings::getKeyRight(),     Settings::getKeyCenterView(), Settings::getKeyRailGun(),
            Settings::getKeyMachineGun()};
}

TEST_F(SettingsTest, ValidFileAppliesEveryKey) {
    ASSERT_EQ(readText(validFile()), 0);
    EXPECT_TRUE(errors.texts().empty());
    EXPECT_EQ(bindings(), "wsadc72");
    EXPECT_EQ(Settings::getMouseSensitivity(), 5);
    EXPECT_EQ(textOf(Settings::getPlayerName), "Rook");
    EXPECT_EQ(Settings::getVokaType(), 128);
    EXPECT_EQ(textOf(Settings::getServerIp), "127.0.0.1");
    EXPECT_EQ(Settings::getServerPort(), 24500);
    EXPECT_EQ(Settings::getWindowWidth(), 1024);
    EXPECT_EQ(Settings::getWindowHeight(), 768);
    EXPECT_EQ((std::vector<bool>{Settings::getInvertMouse(), Settings::getShadow(),
                                 Settings::getLensflare(), Settings::getMotionBlur(),
                                 Settings::getFog(), Settings::getSound(),
                                 Settings::getMultitexturing(), Settings::getMipmapping()}),
              (std::vector<bool>{false, true, true, false, true, true, true, true}));
    EXPECT_EQ(Settings::getTextureQuality(), 2);
    EXPECT_EQ(Settings::getRenderMode(), 3);
    EXPECT_DOUBLE_EQ(Settings::getFov(), 75.0);
    EXPECT_EQ(Settings::getLod(), 1);
}

TEST_F(SettingsTest, AnyOrderAndAnyWhiteSpaceLoads) {
    // Reverse the lines and join them with tabs, spaces and Unix or Windows line ends.
    std::vector<std::string> lines;
    const std::string text = validFile();
    for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1)
        lines.push_back(text.substr(at, text.find('\n', at) - at));
    std::string mixed;
    const char* separators[] = {"\t", "  \r\n\n", " \t \n", "\r\n"};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[lines.size() - 1 - i];
        line.replace(line.find(' '), 1, "\t \n ");
        mixed += line + separators[i % 4];
    }
    EXPECT_EQ(readText(mixed), 0);
    EXPECT_TRUE(errors.texts().empty());
    EXPECT_EQ(Settings::getServerPort(), 24500);
}

struct BadFile {
    std::string text;
    const char* message;
};

class SettingsBadFileTest : public SettingsTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(SettingsBadFileTest, ReportsItsMessageOnce) {
    EXPECT_EQ(readText(GetParam().text), -1);
    EXPECT_EQ(errors.texts(), std::vector<std::string>{GetParam().message});
}

constexpr const char* kBool = "value in config file must be true or false";
constexpr const char* kUnknown = "unknown string in config file";
constexpr const char* kMissing = "missing parameter";
constexpr const char* kPortLow = "server_port must be greater than 0";
constexpr const char* kPortHigh = "server_port must be lower than 65000";
constexpr const char* kNoValue = "missing value in config file";

std::string withoutLine(const std::string& line) {
    std::string text = validFile();
    return text.erase(text.find(line), line.size());
}

// The last key pushed just past the first 5000 bytes, the only part that is read.
std::string lodPastTheLimit() {
    std::string text = withoutLine("lod true\n");
    return text + std::string(5000 - text.size(), '\n') + "lod true\n";
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsBadFileTest,
    ::testing::Values(
        BadFile{"", kMissing}, BadFile{withoutLine("blur false\n"), kMissing},
        BadFile{lodPastTheLimit(), kMissing},
        BadFile{"fov 75\nfov 75\n", "double definition in config file"},
        BadFile{withValue("invert", "TRUE"), kBool}, BadFile{withValue("vokatype", "blue"), kBool},
        BadFile{withValue("fog", "truefalse"), kBool}, BadFile{withValue("lod", "1"), kBool},
        BadFile{withValue("fog", "true" + std::string(300, 'e')), kBool},
        BadFile{withValue("sensitivity", "0"), "sensitivity must be greater than 0"},
        BadFile{withValue("sensitivity", "abc"), "sensitivity must be greater than 0"},
        BadFile{withValue("server_port", "0"), kPortLow},
        BadFile{withValue("server_port", "65536"), kPortLow},
        BadFile{withValue("server_port", "x"), kPortLow},
        BadFile{withValue("server_port", "65000"), kPortHigh},
        BadFile{withValue("server_port", "99999999999999"), kPortHigh},
        BadFile{withValue("action_fwd", ","), kUnknown},
        BadFile{withoutLine("playername Rook\n") + "playername", kNoValue},
        BadFile{withValue("server_ip", "127.0.0.1:24500"), kUnknown},
        BadFile{"# my settings\n" + validFile(), kUnknown},
        BadFile{std::string(4000, 'k') + " true\n", kUnknown},
        BadFile{std::string("\x00\x01\xff\xfe", 4), kUnknown}));

TEST_F(SettingsTest, OddButAcceptedValues) {
    for (const auto& [port, stored] : {std::pair{"64999", 64999}, std::pair{"70000", 4464}}) {
        EXPECT_EQ(readText(withValue("server_port", port)), 0);
        EXPECT_EQ(Settings::getServerPort(), stored);  // the low sixteen bits
    }
    // Numbers keep their leading digits and saturate; a resolution outside the table
    // keeps the window size; a binding takes the first character; text keeps 50
    // characters; nothing past the first 5000 bytes is seen.
    Settings::setResolution(0);
    std::string text = withValue("texturqual", "12abc");
    text = withValue("rendermode", "99999999999", text);
    text = withValue("fov", "74.9", withValue("resolution", "7", text));
    text = withValue("action_fwd", "wasd", text);
    text = withValue("playername", std::string(80, 'n'), text);
    text = withValue("server_ip", std::string(120, '9'), text);
    EXPECT_EQ(readText(text + std::string(6000, ' ') + "garbage"), 0);
    EXPECT_TRUE(errors.texts().empty());
    EXPECT_EQ(Settings::getTextureQuality(), 12);
    EXPECT_EQ(Settings::getRenderMode(), 2147483647);
    EXPECT_DOUBLE_EQ(Settings::getFov(), 74.0);
    EXPECT_EQ(Settings::getWindowWidth(), 640);
    EXPECT_EQ(Settings::getKeyForward(), 'w');
    EXPECT_EQ(textOf(Settings::getPlayerName), std::string(50, 'n'));
    EXPECT_EQ(textOf(Settings::getServerIp), std::string(50, '9'));
}

TEST_F(SettingsTest, FailedChecksStillStoreTheValue) {
    EXPECT_EQ(readText(withValue("server_port", "65001")), -1);
    EXPECT_EQ(Settings::getServerPort(), 65001);
    EXPECT_EQ(readText(withValue("sensitivity", "0")), -1);
    EXPECT_EQ(Settings::getMouseSensitivity(), 0);
}

TEST_F(SettingsTest, KeyWithoutValueSwallowsNextKey) {
    // "playername" takes "vokatype" as the name, then "red" is no key.
    std::string text = validFile();
    EXPECT_EQ(readText(text.replace(text.find("playername Rook"), 15, "playername")), -1);
    EXPECT_EQ(errors.texts(), std::vector<std::string>{kUnknown});
    EXPECT_EQ(textOf(Settings::getPlayerName), "vokatype");
    // As the last token of the file a binding has no value at all: it keeps its old one.
    Settings::setKeyForward('q');
    EXPECT_EQ(readText(withoutLine("action_fwd w\n") + "action_fwd"), -1);
    EXPECT_EQ(errors.texts().back(), kNoValue);
    EXPECT_EQ(Settings::getKeyForward(), 'q');
}

TEST_F(SettingsTest, FailureOnTwentiethKeyKeepsTheNineteenBefore) {
    // The 20th key of the file is multitexturing; give it a bad value.
    EXPECT_EQ(readText(withValue("multitexturing", "maybe")), -1);
    EXPECT_EQ(bindings(), "wsadc72");
    EXPECT_EQ(Settings::getServerPort(), 24500);
    EXPECT_EQ(Settings::getWindowWidth(), 1024);
    EXPECT_TRUE(Settings::getSound());
    EXPECT_FALSE(Settings::getMultitexturing() || Settings::getMipmapping());
    EXPECT_EQ(Settings::getRenderMode(), 0);
    EXPECT_DOUBLE_EQ(Settings::getFov(), 0.0);
}

TEST_F(SettingsTest, NullNameIsStoredEmpty) {
    Settings::setPlayerName(nullptr);
    EXPECT_EQ(textOf(Settings::getPlayerName), "");
}

TEST_F(SettingsTest, ResolutionIndexComesFromWidth) {
    EXPECT_EQ(Settings::getResolution(), 1);  // 0 x 0 counts as the default
    for (int index : {0, 1, 2, 3, -1}) {      // -1 keeps the last size
        Settings::setResolution(index);
        EXPECT_EQ(Settings::getResolution(), index < 0 ? 3 : index);
    }
}

TEST_F(SettingsTest, CreateReportsUnreadableFile) {
    testing_support::ScopedWorkingDir inDir(dir.path());
    Settings::create();
    EXPECT_EQ(errors.texts(), std::vector<std::string>{"Error loading config file!"});
    dir.write("zrv.cfg", withValue("lod", "maybe"));
    Settings::create();
    EXPECT_EQ(errors.texts(), (std::vector<std::string>{"Error loading config file!", kBool,
                                                        "Error loading config file!"}));
}

TEST_F(SettingsTest, LoadShowsContentMessagesButNotTheStartUpOne) {
    testing_support::ScopedWorkingDir inDir(dir.path());
    Settings::load();  // no file: silent
    EXPECT_TRUE(errors.texts().empty());
    dir.write("zrv.cfg", withValue("blur", "1"));
    Settings::load();
    EXPECT_EQ(errors.texts(), std::vector<std::string>{kBool});
}

}  // namespace
