// The configuration screen's keyboard rules, without a window.
#include "config/screen/config_editor.h"

#include <string>

#include "config/settings_fixture.h"

namespace {

constexpr unsigned char kEnter = GameKey::Enter;
constexpr unsigned char kLeft = GameKey::Left;
constexpr unsigned char kUp = GameKey::Up;
constexpr unsigned char kRight = GameKey::Right;
constexpr unsigned char kDown = GameKey::Down;

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
    editor.key(kEnter);  // on the tab bar: nothing
    EXPECT_FALSE(editor.editing() || editor.isDone());
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
    // Save and cancel have no rows.
    for (const std::int32_t page : {ConfigPage::Save, ConfigPage::Cancel}) {
        select(page, 1);
        editor.key(kUp);
        EXPECT_EQ(editor.item(), 0);
        EXPECT_EQ(editor.valueText(1), "");
    }
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
    const auto cycle = [this](int presses) {
        std::string seen;
        for (int i = 0; i < presses; ++i, editor.key(kEnter))
            seen += std::to_string(Settings::getRenderMode());
        return seen;
    };
    EXPECT_EQ(cycle(6), "012301");
    Settings::setHasVbo(false);
    Settings::setRenderMode(0);
    EXPECT_EQ(cycle(5), "01201");
}

TEST_F(ConfigEditorTest, ActionRowsCycleTheirValues) {
    Settings::setResolution(3);
    select(ConfigPage::Game, 5);
    editor.key(kEnter);  // the largest size wraps to the smallest
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

// A typed row: the keys typed ('\r' is Enter, '\b' backspace), the row's text after
// them, whether one more Enter leaves the row open, and the value shown afterwards.
struct EntryCase {
    std::int32_t page;
    int row;
    const char* typed;
    const char* entry;
    bool open;
    const char* shown;
};

class EntryRow : public ConfigEditorTest, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(EntryRow, TakesWhatTheRowAllows) {
    const EntryCase& c = GetParam();
    Settings::setServerPort(24500);
    Settings::setMouseSensitivity(7);
    Settings::setFov(60.0);
    Settings::setPlayerName("rook");
    Settings::setServerIp("10.1.1.1");
    open(c.page, c.row);
    keys(c.typed);
    EXPECT_EQ(editor.entry(), c.entry);
    editor.key(kEnter);
    EXPECT_EQ(editor.editing(), c.open);
    select(c.page, 0);
    EXPECT_EQ(editor.valueText(c.row), c.shown);
}

constexpr std::int32_t kControls = ConfigPage::Controls;
constexpr std::int32_t kGame = ConfigPage::Game;

INSTANTIATE_TEST_SUITE_P(
    Typed, EntryRow,
    ::testing::Values(
        // Port: four digits, empty means 90, zero is refused as the file reader refuses it.
        EntryCase{kGame, 4, "", "", false, "90"},
        EntryCase{kGame, 4, "24500\b\b99x", "2499", false, "2499"},
        EntryCase{kGame, 4, "0", "0", true, "24500"},
        // Sensitivity: three digits, empty means 5; field of view below 180, empty 90.
        EntryCase{kControls, 9, "", "", false, "5"},
        EntryCase{kControls, 9, "1234", "123", false, "123"},
        EntryCase{kControls, 9, "000", "000", true, "7"}, EntryCase{kGame, 15, "", "", false, "90"},
        EntryCase{kGame, 15, "180\r179", "179", false, "179"},
        // Name: eight lower-case letters or digits, empty means Player.
        EntryCase{kGame, 1, "", "", false, "Player"},
        EntryCase{kGame, 1, "Rook-9 xabcdef\b", "ook9xab", false, "ook9xab"},
        // Address: dotted quads; stored even while incomplete, which keeps the row open.
        EntryCase{kGame, 3, "1.2.3", "1.2.3", true, "1.2.3"},
        EntryCase{kGame, 3, "1..2.3.4", "1.2.3.4", false, "1.2.3.4"},
        EntryCase{kGame, 3, "1234.5.6.7", "123.5.6.7", false, "123.5.6.7"},
        EntryCase{kGame, 3, "999.999.999.9999", "999.999.999.999", false, "999.999.999.999"},
        EntryCase{kGame, 3, "1.2.3.4.5", "1.2.3.45", false, "1.2.3.45"},
        EntryCase{kGame, 3, "10.0.0.7\b8", "10.0.0.8", false, "10.0.0.8"},
        EntryCase{kGame, 3, "a1-.2", "1.2", true, "1.2"},
        EntryCase{kGame, 3, "", "", true, kDefaultServerIp}));

TEST_F(ConfigEditorTest, KeyRowsTakeLowerCaseLettersAndDigits) {
    open(ConfigPage::Controls, 1);
    keys("W\r");
    EXPECT_EQ(editor.valueText(1), "INVALID KEY_");
    keys("q");
    EXPECT_FALSE(editor.editing());
    EXPECT_EQ(editor.valueText(1), "q");
    EXPECT_EQ(Settings::getKeyForward(), 'q');
    // The left arrow arrives as 100, the code of d.
    open(ConfigPage::Controls, 6);
    editor.key(kLeft);
    EXPECT_EQ(Settings::getKeyRailGun(), 'd');
    EXPECT_EQ(editor.page(), ConfigPage::Controls);
}

// Save and cancel are played end to end in the app's tests; here, what cancel keeps.
TEST_F(ConfigEditorTest, CancelReadsTheFileBackOverTheEdits) {
    testing_support::ScopedWorkingDir inDir(dir.path());
    ASSERT_EQ(readText(validFile()), 0);
    open(ConfigPage::Game, 1);
    keys("bob\r");
    Settings::setCockpit(false);  // no config key: stays as changed
    select(ConfigPage::Cancel, 0);
    editor.key(kEnter);
    EXPECT_TRUE(editor.isDone());
    EXPECT_EQ(textOf(Settings::getPlayerName), "Rook");
    EXPECT_FALSE(Settings::getCockpit());
}

}  // namespace
