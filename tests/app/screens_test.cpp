// The menu, story and about screens in a real window.
#include <gtest/gtest.h>

#include "app/story_screen.h"
#include "fx/sound_manager.h"
#include "screen_fixture.h"
#include "support/disk_audio.h"

namespace {

using testing_support::Rgb;

constexpr const char* kSelected[] = {"start_sel.tga", "config_sel.tga", "story_sel.tga",
                                     "about_sel.tga", "exit_sel.tga"};
constexpr const char* kPlain[] = {"start.tga", "config.tga", "story.tga", "about.tga", "exit.tga"};

class MenuScreen : public ScreenTest {
  protected:
    // The entry drawn highlighted, or -1 when the frame shows none or several.
    int highlighted() {
        EXPECT_EQ(game->display(), 0);
        int found = -1;
        for (int entry = 0; entry < 5; ++entry) {
            const Rgb pixel = pixelAt(0.0f, 0.475f - 0.25f * static_cast<float>(entry));
            if (pixel == colourOf(kSelected[entry])) {
                if (found != -1) return -1;
                found = entry;
            } else {
                EXPECT_EQ(pixel, colourOf(kPlain[entry])) << "entry " << entry;
            }
        }
        return found;
    }
};

TEST_F(MenuScreen, HighlightMovesWithKeysAndArrowsAndWraps) {
    EXPECT_EQ(drawnAt(-0.8f, 0.0f), colourOf("back.tga"));
    EXPECT_EQ(highlighted(), 0);
    // "e" moves up on its press and on its release.
    tap('e');
    EXPECT_EQ(highlighted(), 3);
    // The arrows arrive as presses only.
    press(GameKey::Down);
    press(GameKey::Down);
    EXPECT_EQ(highlighted(), 0);
    press(GameKey::Up);
    EXPECT_EQ(highlighted(), 4);
    tap('g');
    EXPECT_EQ(highlighted(), 1);
    tap('x');
    EXPECT_EQ(highlighted(), 1);
}

// What SDL's disk audio driver hears while the menu gets one key release.
std::vector<std::int16_t> menuKeyHeard(Game& game, bool sound, const std::string& dir) {
    testing_support::DiskAudio audio(dir + "/mix.raw");
    SoundManager::create();
    Settings::setSound(sound);
    game.key('x', true, 0, 0);
    audio.waitForMoreAudio(5000);
    testing_support::DiskAudio::waitUntilQuiet(Sample::MenuKey);
    return audio.closeAndListen();
}

TEST_F(MenuScreen, EveryKeyEventSoundsUnlessSoundIsOff) {
    testing_support::writeFile(dir.file(SoundManager::sampleFile(Sample::MenuKey)),
                               testing_support::wavFile(std::vector<std::int16_t>(4410, 5000)));
    const auto heard = menuKeyHeard(*game, true, dir.path());
    EXPECT_GT(testing_support::DiskAudio::loudSamples(heard), 4000);
    const auto quiet = menuKeyHeard(*game, false, dir.path());
    EXPECT_GT(quiet.size(), 0u);
    EXPECT_EQ(testing_support::DiskAudio::loudSamples(quiet), 0);
}

class StoryScreenTest : public ScreenTest {
  protected:
    void openStory() {
        press(GameKey::Down);
        press(GameKey::Down);
        press(GameKey::Enter);
        ASSERT_EQ(game->getState(), GameState::Story);
        ASSERT_NE(game->getStoryScreen(), nullptr);
    }
    // Black text pixels on line i of the story.
    int textOnLine(int line) {
        EXPECT_EQ(game->display(), 0);
        return pixelsInRow(0.7f - 0.1f * static_cast<float>(line), {0, 0, 0});
    }
};

TEST_F(StoryScreenTest, ShowsTheLinesOfTheStoryFile) {
    dir.write("story.txt", "The arena wakes\nTwo Vokas circle\nthe last line has no end");
    openStory();
    EXPECT_EQ(game->getStoryScreen()->lines(),
              (std::vector<std::string>{"The arena wakes", "Two Vokas circle"}));
    EXPECT_GT(textOnLine(0), 20);
    EXPECT_GT(textOnLine(1), 20);
    EXPECT_EQ(textOnLine(2), 0);
    EXPECT_EQ(drawnAt(0.9f, -0.9f), colourOf("back.tga"));
}

TEST_F(StoryScreenTest, ReadsTheFileAgainOnTheNextVisit) {
    openStory();  // no file yet: the background alone
    EXPECT_TRUE(game->getStoryScreen()->lines().empty());
    EXPECT_EQ(textOnLine(0), 0);
    release(GameKey::Esc);
    EXPECT_EQ(game->getStoryScreen(), nullptr);
    dir.write("story.txt", "first\nsecond\n");
    press(GameKey::Enter);
    ASSERT_NE(game->getStoryScreen(), nullptr);
    EXPECT_EQ(game->getStoryScreen()->lines().size(), 2u);
    EXPECT_GT(textOnLine(1), 20);
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

class AboutScreenTest : public ScreenTest {};

TEST_F(AboutScreenTest, DrawsBothPortraitsAndTheCredits) {
    for (int i = 0; i < 3; ++i) press(GameKey::Down);
    press(GameKey::Enter);
    ASSERT_EQ(game->getState(), GameState::About);
    EXPECT_EQ(drawnAt(-0.5f, 0.2f), colourOf("portrait_a.bmp"));
    EXPECT_EQ(pixelAt(0.5f, 0.2f), colourOf("portrait_b.bmp"));
    EXPECT_EQ(pixelAt(0.0f, 0.2f), colourOf("back.tga"));
    EXPECT_GT(pixelsInRow(-0.4f, {0, 0, 0}), 40);
    EXPECT_GT(pixelsInRow(-0.9f, {0, 0, 0}), 20);
}

}  // namespace
