#include "config/screen/config_editor.h"

#include <string>

#include "config/settings_fixture.h"

namespace {

class ConfigEditorTest : public SettingsTest {
  protected:
    void keys(const std::string& typed) {
        for (const char c : typed) editor.key(static_cast<unsigned char>(c));
    }
    // Selects a row of a page from a fresh screen.
    void select(std::int32_t page, int row) {
        editor.reset();
        for (int i = 0; i < page; ++i) editor.key(GameKey::Right);
        for (int i = 0; i < row; ++i) editor.key(GameKey::Down);
    }

    ConfigEditor editor;
};

// Tabs wrap both ways and leave no row selected; rows wrap on each page, Up from the tab
// bar going to the last; save and cancel have no rows; Enter on the tab bar does nothing.
TEST_F(ConfigEditorTest, TabsAndRowsWrap) {
    using P = ConfigPage;
    const struct {
        std::int32_t page;
        int row;
        unsigned char key;
        std::int32_t toPage;
        int item;
    } moves[] = {{P::Controls, 1, GameKey::Left, P::Cancel, 0},
                 {P::Controls, 9, GameKey::Down, P::Controls, 1},
                 {P::Game, 1, GameKey::Up, P::Game, 16},
                 {P::Controls, 0, GameKey::Up, P::Controls, 9},
                 {P::Save, 1, GameKey::Up, P::Save, 0},
                 {P::Cancel, 0, GameKey::Right, P::Controls, 0}};
    for (const auto& m : moves) {
        select(m.page, m.row);
        editor.key(m.key);
        EXPECT_EQ(std::make_pair(editor.page(), editor.item()), std::make_pair(m.toPage, m.item))
            << m.page << " " << m.row;
    }
    editor.key(GameKey::Enter);
    EXPECT_FALSE(editor.editing() || editor.isDone());
}

// The largest size wraps to the smallest; type 0 is not red and becomes red; fog and
// multitexturing stay off without their extensions (a flag from the file is turned off);
// odd values from a hand-edited file show as unknown. The render mode offers buffer
// objects only where the driver has them.
TEST_F(ConfigEditorTest, ActionRowsCycleTheirValues) {
    select(ConfigPage::Game, 14);
    std::string seen;
    for (int i = 0; i < 10; ++i, editor.key(GameKey::Enter)) {
        if (i == 5) Settings::setHasVbo(false);
        seen += std::to_string(Settings::getRenderMode());
    }
    EXPECT_EQ(seen, "0123012012");
    Settings::setResolution(3);
    Settings::setHasFogCoord(false);
    Settings::setHasMultitexture(false);
    Settings::setFog(true);
    for (const int row : {5, 2, 9, 11}) {
        select(ConfigPage::Game, row);
        editor.key(GameKey::Enter);
    }
    EXPECT_EQ(editor.valueText(5) + editor.valueText(2), "640x480Red");
    EXPECT_FALSE(Settings::getFog() || Settings::getMultitexturing());
    Settings::setTextureQuality(7);
    Settings::setRenderMode(-2);
    Settings::setFov(74.9);
    EXPECT_EQ(editor.valueText(13) + editor.valueText(14) + editor.valueText(15),
              "UnknownUnknown74");
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
        {kGame, 15, "180\r179", "179", false, "179"},
        {kGame, 1, "Rook-9 xabcdef\b", "ook9xab", false, "ook9xab"},
        {kGame, 3, "1..2.3.4", "1.2.3.4", false, "1.2.3.4"},
        {kGame, 3, "999.999.999.9999", "999.999.999.999", false, "999.999.999.999"},
        {kGame, 3, "a1-.2", "1.2", true, "1.2"},
        {kGame, 3, "", "", true, kDefaultServerIp},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Settings::setServerPort(24500);
        Settings::setMouseSensitivity(7);
        Settings::setServerIp("10.1.1.1");
        select(c.page, c.row);
        keys(std::string("\r") + c.typed);
        EXPECT_EQ(editor.entry(), c.entry);
        editor.key(GameKey::Enter);
        EXPECT_EQ(editor.editing(), c.open);
        select(c.page, 0);
        EXPECT_EQ(editor.valueText(c.row), c.shown);
    }
}

TEST_F(ConfigEditorTest, KeyRowsTakeLowerCaseLettersAndDigits) {
    select(ConfigPage::Controls, 1);
    keys("\rW\r");
    EXPECT_EQ(editor.valueText(1), "INVALID KEY_");
    keys("q");
    EXPECT_FALSE(editor.editing());
    EXPECT_EQ(Settings::getKeyForward(), 'q');
}

}  // namespace
