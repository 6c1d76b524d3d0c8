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
    Settings::setFov(74.9);
    Settings::setLod(0);
    Settings::setInvertMouse(true);
    Settings::setResolution(3);
    ASSERT_EQ(Settings::instance().writeFile(dir.file("zrv.cfg").c_str()), 0);
    const std::string first = dir.read("zrv.cfg");
    EXPECT_NE(first.find("fov 74\n"), std::string::npos);
    EXPECT_NE(first.find("lod false\n"), std::string::npos);
    EXPECT_NE(first.find("vokatype green\n"), std::string::npos);
    EXPECT_NE(first.find("invert true\n"), std::string::npos);
    EXPECT_NE(first.find("resolution 3\n"), std::string::npos);

    Settings::resetStartValues();
    ASSERT_EQ(Settings::instance().readFile(dir.file("zrv.cfg").c_str()), 0);
    EXPECT_TRUE(errors.texts().empty());
    EXPECT_EQ(Settings::getVokaType(), 129);
    EXPECT_EQ(Settings::getLod(), 0);
    EXPECT_TRUE(Settings::getInvertMouse());
    EXPECT_EQ(Settings::getWindowWidth(), 1280);
    EXPECT_DOUBLE_EQ(Settings::getFov(), 74.0);
    ASSERT_EQ(Settings::instance().writeFile(dir.file("again.cfg").c_str()), 0);
    EXPECT_EQ(dir.read("again.cfg"), first);
}

TEST_F(SettingsTest, TypeZeroIsWrittenGreen) {
    ASSERT_EQ(Settings::instance().writeFile(dir.file("zrv.cfg").c_str()), 0);
    EXPECT_NE(dir.read("zrv.cfg").find("vokatype green\n"), std::string::npos);
}

TEST_F(SettingsTest, FieldOfViewIsTruncatedTowardZero) {
    for (double fov : {75.0, 74.9, 0.5}) {
        Settings::setFov(fov);
        ASSERT_EQ(Settings::instance().writeFile(dir.file("zrv.cfg").c_str()), 0);
        const std::string expected = "fov " + std::to_string(static_cast<int>(fov)) + "\n";
        EXPECT_NE(dir.read("zrv.cfg").find(expected), std::string::npos) << fov;
    }
}

TEST_F(SettingsTest, FailedWriteKeepsTheOldFile) {
    dir.write("zrv.cfg", validFile());
    ASSERT_EQ(mkdir(dir.file("zrv.cfg.tmp").c_str(), 0700), 0);  // the write cannot start
    EXPECT_EQ(Settings::instance().writeFile(dir.file("zrv.cfg").c_str()), -1);
    EXPECT_EQ(dir.read("zrv.cfg"), validFile());
    EXPECT_EQ(Settings::instance().writeFile(dir.file("missing/dir/zrv.cfg").c_str()), -1);
}

TEST_F(SettingsTest, SaveTellsThePlayerWhenTheFileCannotBeWritten) {
    testing_support::ScopedWorkingDir inDir(dir.path());
    Settings::save();
    EXPECT_TRUE(errors.texts().empty());
    EXPECT_FALSE(dir.read("zrv.cfg").empty());
    ASSERT_EQ(mkdir(dir.file("zrv.cfg.tmp").c_str(), 0700), 0);  // blocks the write
    Settings::save();
    EXPECT_EQ(errors.texts(), std::vector<std::string>{"could not write the config file zrv.cfg"});
}

}  // namespace
