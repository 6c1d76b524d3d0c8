// The configuration screen's keyboard rules, without a window.
#include "config/config_editor.h"

#include <string>

#include "config/settings_fixture.h"
#include "support/temp_dir.h"

namespace {

constexpr unsigned char kEnter = ConfigEditor::kEnter;
constexpr unsigned char kLeft = ConfigEditor::kLeft;
constexpr unsigned char kUp = ConfigEditor::kUp;
constexpr unsigned char kRight = ConfigEditor::kRight;
constexpr unsigned char kDown = ConfigEditor::kDown;

class ConfigEditorTest : public SettingsTest {
  protected:
    void keys(const std::string& typed) {
        for (const char c : typed) editor.key(static_cast<unsigned char>(c));
    }
    // Selects a row of a page from a fresh screen.
    void select(std::int32_t page, int row) {
        editor.reset();
        for (int i = 0; i < page; ++i) editor.key(kRight);
        for (int i = 0; i < row; ++i) editor.key(kDown);
    }
    void open(std::int32_t page, int row) {
        select(page, row);
        editor.key(kEnter);
        ASSERT_TRUE(editor.editing());
    }
    std::string playerName() const {
        char name[Settings::kTextSize];
        Settings::getPlayerName(name);
        return name;
    }
    std::string serverIp() const {
        char address[Settings::kTextSize];
        Settings::getServerIp(address);
        return address;
    }

    ConfigEditor editor;
};

TEST_F(ConfigEditorTest, TabsWrapBothWaysAndLeaveNoRowSelected) {
    editor.key(kDown);
    editor.key(kLeft);
    EXPECT_EQ(editor.page(), ConfigPage::Cancel);
    EXPECT_EQ(editor.item(), 0);
    editor.key(kRight);
    EXPECT_EQ(editor.page(), ConfigPage::Controls);
    editor.key(kDown);
    editor.key(kRight);
    EXPECT_EQ(editor.page(), ConfigPage::Game);
    EXPECT_EQ(editor.item(), 0);
}

TEST_F(ConfigEditorTest, RowsWrapOnEachPage) {
    select(ConfigPage::Controls, 9);
    editor.key(kDown);
    EXPECT_EQ(editor.item(), 1);
    select(ConfigPage::Game, 1);
    editor.key(kUp);
    EXPECT_EQ(editor.item(), 16);
    editor.key(kDown);
    EXPECT_EQ(editor.item(), 1);
    // Up from the tab bar goes to the last row.
    select(ConfigPage::Controls, 0);
    editor.key(kUp);
    EXPECT_EQ(editor.item(), 9);
}

TEST_F(ConfigEditorTest, SaveAndCancelPagesHaveNoRows) {
    for (const std::int32_t page : {ConfigPage::Save, ConfigPage::Cancel}) {
        select(page, 0);
        editor.key(kDown);
        editor.key(kUp);
        EXPECT_EQ(editor.item(), 0);
        EXPECT_EQ(editor.valueText(1), "");
    }
}

TEST_F(ConfigEditorTest, EnterOnTheTabBarDoesNothing) {
    Settings::setShadow(false);
    editor.key(kRight);
    editor.key(kEnter);
    EXPECT_FALSE(editor.editing());
    EXPECT_FALSE(editor.isDone());
}

TEST_F(ConfigEditorTest, FogAndMultitexturingNeedTheirExtensions) {
    Settings::setHasFogCoord(false);
    Settings::setHasMultitexture(false);
    select(ConfigPage::Game, 9);
    editor.key(kEnter);
    EXPECT_FALSE(Settings::getFog());
    Settings::setFog(true);
    editor.key(kEnter);
    EXPECT_FALSE(Settings::getFog());
    select(ConfigPage::Game, 11);
    editor.key(kEnter);
    EXPECT_FALSE(Settings::getMultitexturing());

    Settings::setHasFogCoord(true);
    select(ConfigPage::Game, 9);
    editor.key(kEnter);
    EXPECT_TRUE(Settings::getFog());
}

TEST_F(ConfigEditorTest, RenderModeCyclesThroughWhatTheDriverOffers) {
    select(ConfigPage::Game, 14);
    std::string seen;
    for (int i = 0; i < 5; ++i) {
        editor.key(kEnter);
        seen += std::to_string(Settings::getRenderMode());
    }
    EXPECT_EQ(seen, "12301");
    Settings::setHasVbo(false);
    Settings::setRenderMode(0);
    seen.clear();
    for (int i = 0; i < 4; ++i) {
        editor.key(kEnter);
        seen += std::to_string(Settings::getRenderMode());
    }
    EXPECT_EQ(seen, "1201");
}

TEST_F(ConfigEditorTest, ActionRowsCycleTheirValues) {
    Settings::setResolution(3);
    select(ConfigPage::Game, 5);
    editor.key(kEnter);
    EXPECT_EQ(Settings::getWindowWidth(), 640);
    EXPECT_EQ(editor.valueText(5), "640x480");
    select(ConfigPage::Game, 2);
    editor.key(kEnter);  // type 0 is not red: becomes red
    EXPECT_EQ(Settings::getVokaType(), 128);
    editor.key(kEnter);
    EXPECT_EQ(editor.valueText(2), "Green");
    select(ConfigPage::Game, 13);
    Settings::setTextureQuality(2);
    editor.key(kEnter);
    EXPECT_EQ(editor.valueText(13), "Point");
    select(ConfigPage::Game, 16);
    editor.key(kEnter);  // lod starts at 1
    EXPECT_EQ(editor.valueText(16), "No");
    select(ConfigPage::Controls, 8);
    editor.key(kEnter);
    EXPECT_TRUE(Settings::getInvertMouse());
    EXPECT_FALSE(editor.editing());
}

TEST_F(ConfigEditorTest, OddValuesFromAHandEditedFileShowAsUnknown) {
    Settings::setTextureQuality(7);
    Settings::setRenderMode(-2);
    Settings::setFov(74.9);
    select(ConfigPage::Game, 0);
    EXPECT_EQ(editor.valueText(13), "Unknown");
    EXPECT_EQ(editor.valueText(14), "Unknown");
    EXPECT_EQ(editor.valueText(15), "74");
}

TEST_F(ConfigEditorTest, PortTakesFourDigitsAndDefaultsTo90) {
    open(ConfigPage::Game, 4);
    editor.key(kEnter);
    EXPECT_EQ(Settings::getServerPort(), 90);
    EXPECT_FALSE(editor.editing());
    open(ConfigPage::Game, 4);
    keys("24500");
    EXPECT_EQ(editor.valueText(4), "2450_");
    keys("\b\b99x");
    editor.key(kEnter);
    EXPECT_EQ(Settings::getServerPort(), 2499);
}

TEST_F(ConfigEditorTest, ZeroIsRefusedWhereTheFileReaderWouldRefuseIt) {
    Settings::setServerPort(24500);
    open(ConfigPage::Game, 4);
    keys("0");
    editor.key(kEnter);
    EXPECT_TRUE(editor.editing());
    EXPECT_EQ(editor.entry(), "");
    EXPECT_EQ(Settings::getServerPort(), 24500);
    Settings::setMouseSensitivity(7);
    open(ConfigPage::Controls, 9);
    keys("000");
    editor.key(kEnter);
    EXPECT_TRUE(editor.editing());
    EXPECT_EQ(Settings::getMouseSensitivity(), 7);
}

TEST_F(ConfigEditorTest, SensitivityAndFovTakeThreeDigits) {
    open(ConfigPage::Controls, 9);
    editor.key(kEnter);
    EXPECT_EQ(Settings::getMouseSensitivity(), 5);
    open(ConfigPage::Controls, 9);
    keys("1234");
    editor.key(kEnter);
    EXPECT_EQ(Settings::getMouseSensitivity(), 123);

    open(ConfigPage::Game, 15);
    editor.key(kEnter);
    EXPECT_DOUBLE_EQ(Settings::getFov(), 90.0);
    open(ConfigPage::Game, 15);
    keys("75");
    editor.key(kEnter);
    EXPECT_DOUBLE_EQ(Settings::getFov(), 75.0);
    // The projection cannot take 180 degrees or more.
    open(ConfigPage::Game, 15);
    keys("180");
    editor.key(kEnter);
    EXPECT_TRUE(editor.editing());
    keys("179");
    editor.key(kEnter);
    EXPECT_DOUBLE_EQ(Settings::getFov(), 179.0);
}

TEST_F(ConfigEditorTest, NameTakesEightLowerCaseLettersOrDigits) {
    open(ConfigPage::Game, 1);
    editor.key(kEnter);
    EXPECT_EQ(playerName(), "Player");
    open(ConfigPage::Game, 1);
    keys("Rook-9 x");
    EXPECT_EQ(editor.entry(), "ook9x");
    keys("abcdef");
    EXPECT_EQ(editor.entry(), "ook9xabc");
    keys("\b");
    editor.key(kEnter);
    EXPECT_EQ(playerName(), "ook9xab");
    EXPECT_FALSE(editor.editing());
}

struct AddressCase {
    const char* typed;
    const char* entry;   // what the row holds after typing
    const char* stored;  // the address after Enter
    bool open;           // the row is still open after Enter
};

class AddressRow : public ConfigEditorTest, public ::testing::WithParamInterface<AddressCase> {};

TEST_P(AddressRow, TakesDottedQuads) {
    const AddressCase& c = GetParam();
    open(ConfigPage::Game, 3);
    keys(c.typed);
    EXPECT_EQ(editor.entry(), c.entry);
    editor.key(kEnter);
    EXPECT_EQ(serverIp(), c.stored);
    EXPECT_EQ(editor.editing(), c.open);
}

INSTANTIATE_TEST_SUITE_P(
    Typed, AddressRow,
    ::testing::Values(AddressCase{"1.2.3.4", "1.2.3.4", "1.2.3.4", false},
                      AddressCase{"1.2.3", "1.2.3", "1.2.3", true},
                      AddressCase{"1..2.3.4", "1.2.3.4", "1.2.3.4", false},
                      AddressCase{".1.2.3.4", "1.2.3.4", "1.2.3.4", false},
                      AddressCase{"1234.5.6.7", "123.5.6.7", "123.5.6.7", false},
                      AddressCase{"999.999.999.9999", "999.999.999.999", "999.999.999.999", false},
                      AddressCase{"1.2.3.4.5", "1.2.3.45", "1.2.3.45", false},
                      AddressCase{"10.0.0.7\b8", "10.0.0.8", "10.0.0.8", false},
                      AddressCase{"a1-.2", "1.2", "1.2", true},
                      AddressCase{"", "", kDefaultServerIp, true}));

TEST_F(ConfigEditorTest, KeyRowsTakeLowerCaseLettersAndDigits) {
    open(ConfigPage::Controls, 1);
    editor.key('W');
    EXPECT_TRUE(editor.editing());
    EXPECT_EQ(editor.valueText(1), "INVALID KEY_");
    editor.key(kEnter);
    EXPECT_EQ(editor.entry(), "INVALID KEY");
    editor.key('q');
    EXPECT_FALSE(editor.editing());
    EXPECT_EQ(Settings::getKeyForward(), 'q');
    EXPECT_EQ(editor.valueText(1), "q");
    // The left arrow arrives as 100, the code of d.
    open(ConfigPage::Controls, 6);
    editor.key(kLeft);
    EXPECT_EQ(Settings::getKeyRailGun(), 'd');
    EXPECT_EQ(editor.page(), ConfigPage::Controls);
}

TEST_F(ConfigEditorTest, SaveWritesTheFileAndEnds) {
    testing_support::ScopedWorkingDir inDir(dir.path());
    ASSERT_EQ(readText(validFile()), 0);
    open(ConfigPage::Game, 1);
    keys("ace");
    editor.key(kEnter);
    select(ConfigPage::Save, 0);
    editor.key(kEnter);
    EXPECT_TRUE(editor.isDone());
    EXPECT_NE(dir.read("zrv.cfg").find("playername ace\n"), std::string::npos);
    editor.reset();
    EXPECT_FALSE(editor.isDone());
    EXPECT_EQ(editor.page(), ConfigPage::Controls);
}

TEST_F(ConfigEditorTest, CancelReadsTheFileBackOverTheEdits) {
    testing_support::ScopedWorkingDir inDir(dir.path());
    dir.write("zrv.cfg", validFile());
    ASSERT_EQ(Settings::instance().readFile(), 0);
    const std::string before = playerName();
    open(ConfigPage::Game, 1);
    keys("ace");
    editor.key(kEnter);
    select(ConfigPage::Game, 6);
    editor.key(kEnter);           // shadow
    Settings::setCockpit(false);  // no config key: stays as changed
    select(ConfigPage::Cancel, 0);
    editor.key(kEnter);
    EXPECT_TRUE(editor.isDone());
    EXPECT_EQ(playerName(), before);
    EXPECT_TRUE(Settings::getShadow());
    EXPECT_FALSE(Settings::getCockpit());
    EXPECT_EQ(dir.read("zrv.cfg"), validFile());
}

}  // namespace
