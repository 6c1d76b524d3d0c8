#include <cstring>
#include <string>
#include <vector>

#include "config/settings_fixture.h"

namespace {

TEST_F(SettingsTest, ValidFileAppliesEveryKey) {
    ASSERT_EQ(readText(validFile()), 0);
    EXPECT_TRUE(errors.texts().empty());
    EXPECT_EQ(Settings::getKeyForward(), 'w');
    EXPECT_EQ(Settings::getKeyBack(), 's');
    EXPECT_EQ(Settings::getKeyLeft(), 'a');
    EXPECT_EQ(Settings::getKeyRight(), 'd');
    EXPECT_EQ(Settings::getKeyCenterView(), 'c');
    EXPECT_EQ(Settings::getKeyRailGun(), '7');
    EXPECT_EQ(Settings::getKeyMachineGun(), '2');
    EXPECT_FALSE(Settings::getInvertMouse());
    EXPECT_EQ(Settings::getMouseSensitivity(), 5);
    char name[Settings::kTextSize];
    Settings::getPlayerName(name);
    EXPECT_STREQ(name, "Rook");
    EXPECT_EQ(Settings::getVokaType(), 128);
    char ip[Settings::kTextSize];
    Settings::getServerIp(ip);
    EXPECT_STREQ(ip, "127.0.0.1");
    EXPECT_EQ(Settings::getServerPort(), 24500);
    EXPECT_EQ(Settings::getWindowWidth(), 1024);
    EXPECT_EQ(Settings::getWindowHeight(), 768);
    EXPECT_TRUE(Settings::getShadow());
    EXPECT_TRUE(Settings::getLensflare());
    EXPECT_FALSE(Settings::getMotionBlur());
    EXPECT_TRUE(Settings::getFog());
    EXPECT_TRUE(Settings::getSound());
    EXPECT_TRUE(Settings::getMultitexturing());
    EXPECT_TRUE(Settings::getMipmapping());
    EXPECT_EQ(Settings::getTextureQuality(), 2);
    EXPECT_EQ(Settings::getRenderMode(), 3);
    EXPECT_DOUBLE_EQ(Settings::getFov(), 75.0);
    EXPECT_EQ(Settings::getLod(), 1);
}

TEST_F(SettingsTest, StartValuesBeforeAnyFile) {
    EXPECT_TRUE(Settings::getCockpit());
    EXPECT_TRUE(Settings::getBackfaceCulling());
    EXPECT_TRUE(Settings::getFrustumCulling());
    EXPECT_TRUE(Settings::getShowFramerate());
    EXPECT_TRUE(Settings::getTransparency());
    EXPECT_TRUE(Settings::getHasMultitexture());
    EXPECT_TRUE(Settings::getHasVbo());
    EXPECT_TRUE(Settings::getHasFogCoord());
    EXPECT_EQ(Settings::getFragLimit(), 30);
    EXPECT_EQ(Settings::getDetailTextureScale(), 16);
    EXPECT_EQ(Settings::getLod(), 1);
    EXPECT_EQ(Settings::getWindowWidth(), 0);
    EXPECT_EQ(Settings::getKeyForward(), '\0');
    EXPECT_EQ(Settings::getVokaType(), 0);
}

TEST_F(SettingsTest, AnyOrderAndAnyWhiteSpaceLoads) {
    // Reverse the lines and join them with a mix of tabs, spaces and line ends.
    std::vector<std::string> lines;
    std::string text = validFile();
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    std::string mixed;
    const char* separators[] = {"\t", "  \n\n", " \t \n", "\n"};
    int i = 0;
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        std::string line = *it;
        line.replace(line.find(' '), 1, "\t \n ");
        mixed += line + separators[i++ % 4];
    }
    EXPECT_EQ(readText(mixed), 0);
    EXPECT_TRUE(errors.texts().empty());
    EXPECT_EQ(Settings::getServerPort(), 24500);
}

TEST_F(SettingsTest, WindowsLineEndsLoad) {
    std::string text = validFile();
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
        text.insert(at, "\r");
    EXPECT_EQ(readText(text), 0);
    EXPECT_TRUE(errors.texts().empty());
}

TEST_F(SettingsTest, EmptyFileIsMissingParameter) {
    EXPECT_EQ(readText(""), -1);
    EXPECT_EQ(errors.texts(), std::vector<std::string>{"missing parameter"});
}

TEST_F(SettingsTest, MissingFileFailsWithoutReaderMessage) {
    EXPECT_EQ(Settings::instance().readFile(dir.file("absent.cfg").c_str()), -1);
    EXPECT_TRUE(errors.texts().empty());
}

TEST_F(SettingsTest, RepeatedKeyIsDoubleDefinitionEvenWithEqualValues) {
    EXPECT_EQ(readText("fov 75\nfov 75\n"), -1);
    EXPECT_EQ(lastMessage(), "double definition in config file");
}

TEST_F(SettingsTest, OneMissingKeyIsMissingParameter) {
    std::string text = validFile();
    text.erase(text.find("blur false\n"), std::strlen("blur false\n"));
    EXPECT_EQ(readText(text), -1);
    EXPECT_EQ(errors.texts(), std::vector<std::string>{"missing parameter"});
}

struct BadValue {
    const char* key;
    const char* value;
    const char* message;
};

class SettingsBadValueTest : public SettingsTest, public ::testing::WithParamInterface<BadValue> {};

TEST_P(SettingsBadValueTest, ReportsItsMessageOnce) {
    EXPECT_EQ(readText(withValue(GetParam().key, GetParam().value)), -1);
    EXPECT_EQ(errors.texts(), std::vector<std::string>{GetParam().message});
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsBadValueTest,
    ::testing::Values(BadValue{"invert", "TRUE", "value in config file must be true or false"},
                      BadValue{"vokatype", "blue", "value in config file must be true or false"},
                      BadValue{"shadow", "yes", "value in config file must be true or false"},
                      BadValue{"lensflare", "1", "value in config file must be true or false"},
                      BadValue{"blur", "False", "value in config file must be true or false"},
                      BadValue{"fog", "truefalse", "value in config file must be true or false"},
                      BadValue{"sound", "on", "value in config file must be true or false"},
                      BadValue{"multitexturing", "t", "value in config file must be true or false"},
                      BadValue{"mipmapping", "no", "value in config file must be true or false"},
                      BadValue{"lod", "1", "value in config file must be true or false"},
                      BadValue{"sensitivity", "0", "sensitivity must be greater than 0"},
                      BadValue{"sensitivity", "abc", "sensitivity must be greater than 0"},
                      BadValue{"server_port", "0", "server_port must be greater than 0"},
                      BadValue{"server_port", "65536", "server_port must be greater than 0"},
                      BadValue{"server_port", "65000", "server_port must be lower than 65000"},
                      BadValue{"server_port", "99999999999999",
                               "server_port must be lower than 65000"},
                      BadValue{"server_port", "x", "server_port must be greater than 0"},
                      BadValue{"action_fwd", ",", "unknown string in config file"},
                      BadValue{"server_ip", "127.0.0.1:24500", "unknown string in config file"}));

TEST_F(SettingsTest, PortAtUpperBoundPasses) {
    EXPECT_EQ(readText(withValue("server_port", "64999")), 0);
    EXPECT_EQ(Settings::getServerPort(), 64999);
}

TEST_F(SettingsTest, PortKeepsLowSixteenBits) {
    EXPECT_EQ(readText(withValue("server_port", "70000")), 0);
    EXPECT_EQ(Settings::getServerPort(), 4464);
}

TEST_F(SettingsTest, FailedChecksStillStoreTheValue) {
    EXPECT_EQ(readText(withValue("server_port", "65001")), -1);
    EXPECT_EQ(Settings::getServerPort(), 65001);
    Settings::resetStartValues();
    EXPECT_EQ(readText(withValue("sensitivity", "0")), -1);
    EXPECT_EQ(Settings::getMouseSensitivity(), 0);
}

TEST_F(SettingsTest, NumbersKeepLeadingDigitsAndSaturate) {
    std::string text = withValue("texturqual", "12abc");
    text.replace(text.find("rendermode 3"), 12, "rendermode 99999999999");
    text.replace(text.find("fov 75"), 6, "fov 74.9");
    EXPECT_EQ(readText(text), 0);
    EXPECT_EQ(Settings::getTextureQuality(), 12);
    EXPECT_EQ(Settings::getRenderMode(), 2147483647);
    EXPECT_DOUBLE_EQ(Settings::getFov(), 74.0);
}

TEST_F(SettingsTest, ResolutionOutsideTableKeepsWindowSize) {
    Settings::setResolution(0);
    EXPECT_EQ(readText(withValue("resolution", "7")), 0);
    EXPECT_EQ(Settings::getWindowWidth(), 640);
    EXPECT_EQ(Settings::getWindowHeight(), 480);
    EXPECT_EQ(readText(withValue("resolution", "1")), 0);
    EXPECT_EQ(Settings::getWindowWidth(), 800);
    EXPECT_EQ(Settings::getWindowHeight(), 600);
}

TEST_F(SettingsTest, KeyBindingTakesFirstCharacter) {
    EXPECT_EQ(readText(withValue("action_fwd", "wasd")), 0);
    EXPECT_EQ(Settings::getKeyForward(), 'w');
}

TEST_F(SettingsTest, HashLineIsUnknownString) {
    EXPECT_EQ(readText("# my settings\n" + validFile()), -1);
    EXPECT_EQ(errors.texts(), std::vector<std::string>{"unknown string in config file"});
}

TEST_F(SettingsTest, KeyWithoutValueSwallowsNextKey) {
    // "playername" takes "vokatype" as the name, then "red" is no key.
    std::string text = validFile();
    text.replace(text.find("playername Rook"), 15, "playername");
    EXPECT_EQ(readText(text), -1);
    EXPECT_EQ(errors.texts(), std::vector<std::string>{"unknown string in config file"});
    char name[Settings::kTextSize];
    Settings::getPlayerName(name);
    EXPECT_STREQ(name, "vokatype");
}

TEST_F(SettingsTest, FailureOnTwentiethKeyKeepsTheNineteenBefore) {
    // The 20th key of the file is multitexturing; give it a bad value.
    EXPECT_EQ(readText(withValue("multitexturing", "maybe")), -1);
    EXPECT_EQ(Settings::getKeyForward(), 'w');
    EXPECT_EQ(Settings::getServerPort(), 24500);
    EXPECT_EQ(Settings::getWindowWidth(), 1024);
    EXPECT_TRUE(Settings::getSound());
    EXPECT_FALSE(Settings::getMultitexturing());
    EXPECT_FALSE(Settings::getMipmapping());
    EXPECT_EQ(Settings::getRenderMode(), 0);
    EXPECT_DOUBLE_EQ(Settings::getFov(), 0.0);
}

TEST_F(SettingsTest, LongNameAndAddressKeepFiftyCharacters) {
    const std::string name(80, 'n');
    const std::string address(120, '9');
    std::string text = withValue("playername", name);
    text.replace(text.find("server_ip 127.0.0.1"), 19, "server_ip " + address);
    EXPECT_EQ(readText(text), 0);
    char out[Settings::kTextSize];
    Settings::getPlayerName(out);
    EXPECT_EQ(std::string(out), name.substr(0, 50));
    Settings::getServerIp(out);
    EXPECT_EQ(std::string(out), address.substr(0, 50));
}

TEST_F(SettingsTest, OverlongTokensAreCutNotOverrun) {
    // A 5000-character key is no key; a long boolean value is no boolean.
    EXPECT_EQ(readText(std::string(4000, 'k') + " true\n"), -1);
    EXPECT_EQ(lastMessage(), "unknown string in config file");
    EXPECT_EQ(readText(withValue("fog", "true" + std::string(300, 'e'))), -1);
    EXPECT_EQ(lastMessage(), "value in config file must be true or false");
}

TEST_F(SettingsTest, OnlyTheFirstFiveThousandBytesAreRead) {
    // Trailing white space past the limit changes nothing; a key past it is never seen.
    EXPECT_EQ(readText(validFile() + std::string(6000, ' ') + "garbage"), 0);
    std::string text = validFile();
    text.erase(text.find("lod true\n"));
    text += std::string(5000 - text.size(), '\n') + "lod true\n";
    EXPECT_EQ(readText(text), -1);
    EXPECT_EQ(lastMessage(), "missing parameter");
}

TEST_F(SettingsTest, BinaryFileIsUnknownString) {
    EXPECT_EQ(readText(std::string("\x00\x01\xff\xfe", 4)), -1);
    EXPECT_EQ(lastMessage(), "unknown string in config file");
}

TEST_F(SettingsTest, SettersStoreWithoutChecks) {
    Settings::setServerPort(0);
    Settings::setMouseSensitivity(-4);
    Settings::setPlayerName(nullptr);
    EXPECT_EQ(Settings::getServerPort(), 0);
    EXPECT_EQ(Settings::getMouseSensitivity(), -4);
    char name[Settings::kTextSize];
    Settings::getPlayerName(name);
    EXPECT_STREQ(name, "");
}

TEST_F(SettingsTest, ResolutionIndexComesFromWidth) {
    EXPECT_EQ(Settings::getResolution(), 1);  // 0 x 0 counts as the default
    for (int index = 0; index < 4; ++index) {
        Settings::setResolution(index);
        EXPECT_EQ(Settings::getResolution(), index);
    }
    Settings::setResolution(-1);
    EXPECT_EQ(Settings::getWindowWidth(), 1280);
}

TEST_F(SettingsTest, CreateReportsUnreadableFile) {
    testing_support::ScopedWorkingDir inDir(dir.path());
    Settings::create();
    EXPECT_EQ(errors.texts(), std::vector<std::string>{"Error loading config file!"});
    dir.write("zrv.cfg", withValue("lod", "maybe"));
    Settings::create();
    EXPECT_EQ(errors.texts(),
              (std::vector<std::string>{"Error loading config file!",
                                        "value in config file must be true or false",
                                        "Error loading config file!"}));
}

TEST_F(SettingsTest, LoadShowsContentMessagesButNotTheStartUpOne) {
    testing_support::ScopedWorkingDir inDir(dir.path());
    Settings::load();  // no file: silent
    EXPECT_TRUE(errors.texts().empty());
    dir.write("zrv.cfg", withValue("blur", "1"));
    Settings::load();
    EXPECT_EQ(errors.texts(),
              std::vector<std::string>{"value in config file must be true or false"});
}

}  // namespace
