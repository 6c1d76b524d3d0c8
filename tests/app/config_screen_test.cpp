// The configuration screen inside the game: drawing, key forwarding and the way back.
#include "config/screen/config_screen.h"

#include <gtest/gtest.h>

#include "screen_fixture.h"

namespace {

using testing_support::Rgb;

class ConfigScreenTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        press(GameKey::Down);
        press(GameKey::Enter);
        ASSERT_EQ(game->getState(), GameState::Config);
        ASSERT_NE(game->getConfigScreen(), nullptr);
    }
    const ConfigEditor& editor() { return game->getConfigScreen()->editor(); }
};

TEST_F(ConfigScreenTest, FocusedTabIsDrawnHighlightedOnTop) {
    constexpr float kTabY = 0.835f;
    EXPECT_EQ(drawnAt(-0.8f, kTabY), colourOf("controls_sel.tga"));
    EXPECT_EQ(pixelAt(-0.1f, kTabY), colourOf("game.tga"));
    EXPECT_EQ(pixelAt(0.2f, kTabY), colourOf("save.tga"));
    EXPECT_EQ(pixelAt(0.8f, kTabY), colourOf("cancel.tga"));
    // Save lies over game where they overlap, and the focused tab over both.
    EXPECT_EQ(pixelAt(0.0f, kTabY), colourOf("save.tga"));
    release(GameKey::Right);  // only presses reach the screen
    press(GameKey::Right);
    EXPECT_EQ(drawnAt(-0.8f, kTabY), colourOf("controls.tga"));
    EXPECT_EQ(pixelAt(0.0f, kTabY), colourOf("game_sel.tga"));
    EXPECT_EQ(pixelAt(-0.8f, 0.0f), colourOf("back.tga"));
}

TEST_F(ConfigScreenTest, SelectedRowIsBlueWithItsHint) {
    game->display();
    const int labelOnly = pixelsInRow(0.6f, {0, 0, 0});
    EXPECT_TRUE(labelOnly > 20 && pixelsInRow(0.6f, {0, 0, 255}) == 0);
    press(GameKey::Down);
    game->display();
    // Row 1 at y 0.6: label and "Press Enter to change!" in blue.
    const int withHint = pixelsInRow(0.6f, {0, 0, 255});
    EXPECT_GT(withHint, labelOnly * 3 / 2);
    EXPECT_EQ(pixelsInRow(0.6f, {0, 0, 0}), 0);
    // Open for a key: the hint goes, the cursor comes.
    press(GameKey::Enter);
    game->display();
    EXPECT_LT(pixelsInRow(0.6f, {0, 0, 255}), withHint);
}

}  // namespace
