#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "config/settings_fixture.h"

namespace {

TEST_F(SettingsTest, WrittenFileHasTheTwentyFiveLinesInOrder) {
    ASSERT_EQ(readText(validFile()), 0);
    ASSERT_EQ(Settings::instance().writeFile(dir.file("out.cfg").c_str()), 0);
    EXPECT_EQ(dir.read("out.cfg"), validFile());
}

TEST_F(SettingsTest, WrittenFileReadsBackUnchanged) {
    ASSERT_EQ(readText(withValue("vokatype", "green")), 0);
    Settings::setFov(74.9);  // written truncated
    Settings::setLod(0);
    Settings::setInvertMouse(true);
    Settings::setResolution(3);
    ASSERT_EQ(Settings::instance().writeFile(dir.file("zrv.cfg").c_str()), 0);
    std::string expected = withValue("fov", "74", withValue("vokatype", "green"));
    expected = withValue("lod", "false", withValue("invert", "true", expected));
    EXPECT_EQ(dir.read("zrv.cfg"), withValue("resolution", "3", expected));

    Settings::resetStartValues();
    ASSERT_EQ(Settings::instance().readFile(dir.file("zrv.cfg").c_str()), 0);
    EXPECT_TRUE(errors.texts().empty());
    EXPECT_EQ(Settings::getVokaType(), 129);
    ASSERT_EQ(Settings::instance().writeFile(dir.file("again.cfg").c_str()), 0);
    EXPECT_EQ(dir.read("again.cfg"), dir.read("zrv.cfg"));
}

TEST_F(SettingsTest, StartValuesAreWrittenGreenWithTheDefaultKeys) {
    // After a start without a file the type is 0 and no key is bound: a NUL (or a
    // character outside the token set) in the file would not load again.
    Settings::setKeyBack(',');
    ASSERT_EQ(Settings::instance().writeFile(dir.file("zrv.cfg").c_str()), 0);
    const std::string text = dir.read("zrv.cfg");
    EXPECT_NE(text.find("vokatype green\n"), std::string::npos);
    EXPECT_EQ(text.substr(0, text.find("invert")),
              "action_fwd w\naction_back s\naction_left a\naction_right d\n"
              "action_centerview c\nweapon_7 7\nweapon_2 2\n");
}

TEST_F(SettingsTest, FailedSaveKeepsTheOldFileAndTellsThePlayer) {
    testing_support::ScopedWorkingDir inDir(dir.path());
    Settings::save();
    EXPECT_TRUE(errors.texts().empty());
    const std::string first = dir.read("zrv.cfg");
    EXPECT_FALSE(first.empty());
    ASSERT_EQ(mkdir(dir.file("zrv.cfg.tmp").c_str(), 0700), 0);  // the write cannot start
    Settings::setFov(60.0);
    Settings::save();
    EXPECT_EQ(errors.texts(), std::vector<std::string>{"could not write the config file zrv.cfg"});
    EXPECT_EQ(dir.read("zrv.cfg"), first);
    EXPECT_EQ(Settings::instance().writeFile(dir.file("missing/dir/zrv.cfg").c_str()), -1);
}

}  // namespace
