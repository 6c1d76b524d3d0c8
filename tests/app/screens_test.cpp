// The menu, story, about and configuration screens in a real window, and the dead
// player's ranking as drawn.
#include <gtest/gtest.h>

#include "app/ranking_view.h"
#include "app/story_screen.h"
#include "config/screen/config_screen.h"
#include "fx/sound_manager.h"
#include "screen_fixture.h"
#include "support/disk_audio.h"

namespace {

using testing_support::Rgb;

constexpr const char* kEntries[] = {"start", "config", "story", "about", "exit"};

class MenuScreen : public ScreenTest {
  protected:
    // The entries as drawn from the top: '*' highlighted, '-' plain, '?' neither.
    std::string entries() {
        EXPECT_EQ(game->display(), 0);
        std::string drawn;
        for (int entry = 0; entry < 5; ++entry) {
            const Rgb pixel = pixelAt(0.0f, 0.475f - 0.25f * static_cast<float>(entry));
            const std::string name = kEntries[entry];
            drawn += pixel == colourOf(name + "_sel.tga") ? '*'
                     : pixel == colourOf(name + ".tga")   ? '-'
                                                          : '?';
        }
        return drawn;
    }
};

TEST_F(MenuScreen, HighlightMovesWithKeysAndArrowsAndWrapsAndAboutKeepsIt) {
    EXPECT_EQ(drawnAt(-0.8f, 0.0f), colourOf("back.tga"));
    EXPECT_EQ(entries(), "*----");
    // "e" moves up on its press and on its release.
    tap('e');
    EXPECT_EQ(entries(), "---*-");
    // The arrows arrive as presses only.
    press(GameKey::Down);
    press(GameKey::Down);
    EXPECT_EQ(entries(), "*----");
    press(GameKey::Up);
    EXPECT_EQ(entries(), "----*");
    tap('g');
    EXPECT_EQ(entries(), "-*---");
    tap('x');
    EXPECT_EQ(entries(), "-*---");
    // About, from it, draws both portraits and the credits; the menu kept its selection.
    press(GameKey::Down);
    press(GameKey::Down);
    press(GameKey::Enter);
    ASSERT_EQ(game->getState(), GameState::About);
    EXPECT_EQ(drawnAt(-0.5f, 0.2f), colourOf("portrait_a.bmp"));
    EXPECT_EQ(pixelAt(0.5f, 0.2f), colourOf("portrait_b.bmp"));
    EXPECT_EQ(pixelAt(0.0f, 0.2f), colourOf("back.tga"));
    EXPECT_GT(pixelsInRow(-0.4f, {0, 0, 0}), 40);
    EXPECT_GT(pixelsInRow(-0.9f, {0, 0, 0}), 20);
    press(GameKey::Esc);
    EXPECT_EQ(entries(), "---*-");
}

// Every key event sounds, unless sound is off, as SDL's disk audio driver hears it.
TEST_F(MenuScreen, EveryKeyEventSoundsUnlessSoundIsOff) {
    testing_support::writeFile(dir.file(SoundManager::sampleFile(Sample::MenuKey)),
                               testing_support::wavFile(std::vector<std::int16_t>(4410, 5000)));
    for (const bool sound : {true, false}) {
        testing_support::DiskAudio audio(dir.file("mix.raw"));
        SoundManager::create();
        Settings::setSound(sound);
        game->key('x', true, 0, 0);
        audio.waitForMoreAudio(5000);
        testing_support::DiskAudio::waitUntilQuiet(Sample::MenuKey);
        const auto heard = audio.closeAndListen();
        const int loud = testing_support::DiskAudio::loudSamples(heard);
        EXPECT_TRUE(!heard.empty() && (sound ? loud > 4000 : loud == 0)) << loud;
    }
}

// The story file is read again on every visit: first none (the background alone), then
// its lines.
TEST_F(MenuScreen, StoryShowsTheLinesOfItsFileReadAgainOnEachVisit) {
    const auto textOnLine = [&](int line) {  // black text pixels on line `line`
        EXPECT_EQ(game->display(), 0);
        return pixelsInRow(0.7f - 0.1f * static_cast<float>(line), {0, 0, 0});
    };
    press(GameKey::Down);
    press(GameKey::Down);
    release(GameKey::Enter);  // Enter acts on its press; Esc on its press or release
    EXPECT_EQ(game->getState(), GameState::Menu);
    press(GameKey::Enter);
    press('x');
    ASSERT_EQ(game->getState(), GameState::Story);
    EXPECT_EQ(textOnLine(0), 0);
    release(GameKey::Esc);
    EXPECT_EQ(game->getStoryScreen(), nullptr);
    dir.write("story.txt", "The arena wakes\nTwo Vokas circle\n");
    press(GameKey::Enter);
    EXPECT_GT(textOnLine(0), 20);
    EXPECT_GT(textOnLine(1), 20);
    EXPECT_EQ(drawnAt(0.9f, -0.9f), colourOf("back.tga"));
}

TEST(StoryLines, LongLinesAreCutAndLinesBeyondThirtyIgnored) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += std::string(150, static_cast<char>('a' + i % 26)) + "\n";
    const auto lines = parseStoryLines(text);
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(lines[29], std::string(99, 'd'));
    EXPECT_EQ(parseStoryLines("dos line\r\nnext\r\n"),
              (std::vector<std::string>{"dos line", "next"}));
    EXPECT_EQ(parseStoryLines("\n\nx"), (std::vector<std::string>{"", ""}));
}

// The configuration screen, opened from the menu: the focused tab highlighted on top,
// the selected row blue with its hint.
TEST_F(ScreenTest, ConfigDrawsTheFocusedTabOnTopAndTheSelectedRowBlueWithItsHint) {
    press(GameKey::Down);
    press(GameKey::Enter);
    constexpr float kTabY = 0.835f;
    EXPECT_EQ(drawnAt(-0.8f, kTabY), colourOf("controls_sel.tga"));
    EXPECT_EQ(pixelAt(-0.1f, kTabY), colourOf("game.tga"));
    EXPECT_EQ(pixelAt(0.8f, kTabY), colourOf("cancel.tga"));
    // Save lies over game where they overlap.
    EXPECT_EQ(pixelAt(0.0f, kTabY), colourOf("save.tga"));
    const int labelOnly = pixelsInRow(0.6f, {0, 0, 0});
    EXPECT_TRUE(labelOnly > 20 && pixelsInRow(0.6f, {0, 0, 255}) == 0);
    release(GameKey::Right);  // only presses reach the screen
    press(GameKey::Right);
    EXPECT_EQ(drawnAt(-0.8f, kTabY), colourOf("controls.tga"));
    EXPECT_EQ(pixelAt(0.0f, kTabY), colourOf("game_sel.tga"));
    press(GameKey::Left);
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

using RankingView = ScreenTest;

TEST_F(RankingView, HeadingsRuleAndRowsStandInTheirColumns) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    drawRanking(rankingRows(rankPlayers({{7, "Kim"}}, {3, "Ada"})));
    const Rgb red = {255, 0, 0};
    // Text stands on its base line: look from it to a little above.
    for (const float top : {0.9f, 0.8f, 0.7f})
        for (const float x : {-0.7f, -0.1f, 0.5f})
            EXPECT_GT(pixelsIn(red, x, top, x + 0.12f, top + 0.06f), 5) << x << " " << top;
    EXPECT_EQ(pixelsIn(red, -1, -1, 1, 0.69f), 0) << "a third row";
    EXPECT_EQ(pixelsIn(red, -1, 0.7f, -0.72f, 0.86f), 0) << "left of the rank column";
    // The rule runs from -0.8 to 0.8 between the headings and the first row.
    EXPECT_GT(pixelsIn(red, -0.79f, 0.87f, 0.79f, 0.89f), kWidth * 0.7);
    EXPECT_EQ(pixelsIn(red, 0.81f, 0.87f, 1, 0.89f), 0);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}

}  // namespace
