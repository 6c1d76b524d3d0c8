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

// Tabs wrap both ways and leave no row selected; rows wrap on each page, Up from the tab
// bar going to the last; save and cancel have no rows.
TEST_F(ConfigEditorTest, TabsAndRowsWrap) {
    editor.key(kDown);
    editor.key(kLeft);
    EXPECT_EQ(editor.page(), ConfigPage::Cancel);
    EXPECT_EQ(editor.item(), 0);
    editor.key(kRight);
    editor.key(kRight);
    EXPECT_EQ(editor.page(), ConfigPage::Game);
    editor.key(kEnter);  // on the tab bar: nothing
    EXPECT_FALSE(editor.editing() || editor.isDone());
    const struct {
        std::int32_t page;
        int row;
        unsigned char key;
        int item;
    } moves[] = {{ConfigPage::Controls, 9, kDown, 1},
                 {ConfigPage::Game, 1, kUp, 16},
                 {ConfigPage::Controls, 0, kUp, 9},
                 {ConfigPage::Save, 1, kUp, 0}};
    for (const auto& m : moves) {
        select(m.page, m.row);
        editor.key(m.key);
        EXPECT_EQ(editor.item(), m.item) << m.page << " " << m.row;
    }
}

// Without their extensions fog and multitexturing stay off.
TEST_F(ConfigEditorTest, FogAndMultitexturingNeedTheirExtensions) {
    Settings::setHasFogCoord(false);
    Settings::setHasMultitexture(false);
    Settings::setFog(true);  // a flag from the file is turned off, not on
    select(ConfigPage::Game, 9);
    editor.key(kEnter);
    EXPECT_FALSE(Settings::getFog());
    select(ConfigPage::Game, 11);
    editor.key(kEnter);
    EXPECT_FALSE(Settings::getMultitexturing());
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

// The largest size wraps to the smallest; type 0 is not red and becomes red; odd values
// from a hand-edited file show as unknown.
TEST_F(ConfigEditorTest, ActionRowsCycleTheirValues) {
    Settings::setResolution(3);
    select(ConfigPage::Game, 5);
    editor.key(kEnter);
    EXPECT_EQ(editor.valueText(5), "640x480");
    select(ConfigPage::Game, 2);
    editor.key(kEnter);
    EXPECT_EQ(Settings::getVokaType(), 128);
    editor.key(kEnter);
    EXPECT_EQ(editor.valueText(2), "Green");
    Settings::setTextureQuality(7);
    Settings::setRenderMode(-2);
    Settings::setFov(74.9);
    EXPECT_EQ(editor.valueText(13) + editor.valueText(14), "UnknownUnknown");
    EXPECT_EQ(editor.valueText(15), "74");
}

// The keys typed ('\r' is Enter, '\b' backspace), the row's text after them, whether one
// more Enter leaves the row open, and the value shown afterwards. Empty rows take their
// defaults; an address is stored even while incomplete, which keeps the row open.
TEST_F(ConfigEditorTest, TypedRowsTakeWhatTheRowAllows) {
    constexpr std::int32_t kControls = ConfigPage::Controls, kGame = ConfigPage::Game;
    const struct {
        std::int32_t page;
        int row;
        const char *typed, *entry;
        bool open;
        const char* shown;
    } cases[] = {
        {kGame, 4, "", "", false, "90"},
        {kGame, 4, "24500\b\b99x", "2499", false, "2499"},
        {kGame, 4, "0", "0", true, "24500"},
        {kControls, 9, "1234", "123", false, "123"},
        {kControls, 9, "000", "000", true, "7"},
        {kGame, 15, "180\r179", "179", false, "179"},
        {kGame, 1, "", "", false, "Player"},
        {kGame, 1, "Rook-9 xabcdef\b", "ook9xab", false, "ook9xab"},
        {kGame, 3, "1.2.3", "1.2.3", true, "1.2.3"},
        {kGame, 3, "1..2.3.4", "1.2.3.4", false, "1.2.3.4"},
        {kGame, 3, "999.999.999.9999", "999.999.999.999", false, "999.999.999.999"},
        {kGame, 3, "1.2.3.4.5", "1.2.3.45", false, "1.2.3.45"},
        {kGame, 3, "a1-.2", "1.2", true, "1.2"},
        {kGame, 3, "", "", true, kDefaultServerIp},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Settings::setServerPort(24500);
        Settings::setMouseSensitivity(7);
        Settings::setServerIp("10.1.1.1");
        open(c.page, c.row);
        keys(c.typed);
        EXPECT_EQ(editor.entry(), c.entry);
        editor.key(kEnter);
        EXPECT_EQ(editor.editing(), c.open);
        select(c.page, 0);
        EXPECT_EQ(editor.valueText(c.row), c.shown);
    }
}

TEST_F(ConfigEditorTest, KeyRowsTakeLowerCaseLettersAndDigits) {
    open(ConfigPage::Controls, 1);
    keys("W\r");
    EXPECT_EQ(editor.valueText(1), "INVALID KEY_");
    keys("q");
    EXPECT_FALSE(editor.editing());
    EXPECT_EQ(Settings::getKeyForward(), 'q');
    // The left arrow arrives as 100, the code of d.
    open(ConfigPage::Controls, 6);
    editor.key(kLeft);
    EXPECT_EQ(Settings::getKeyRailGun(), 'd');
}

}  // namespace
