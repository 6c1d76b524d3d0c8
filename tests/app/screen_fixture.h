#pragma once

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "app/game.h"
#include "app/input_state.h"
#include "config/settings.h"
#include "support/captured_errors.h"
#include "support/e2e_runner.h"
#include "support/gl_fixture.h"
#include "support/temp_dir.h"
#include "support/test_images.h"
#include "world/level_registry.h"
#include "world/load_levels.h"

// A game in a scratch directory holding the screens' images (each a solid colour of
// its own), drawn into the test window.
class ScreenTest : public testing_support::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        Settings::resetStartValues();
        testing_support::writeScreenImages(dir.path());
        inDir = std::make_unique<testing_support::ScopedWorkingDir>(dir.path());
        // The match start's pauses pass at once.
        MatchServices services;
        services.sleep = [](std::uint32_t) {};
        game = std::make_unique<Game>(GameState::Menu, std::move(services));
    }

    void TearDown() override {
        game.reset();
        inDir.reset();
        Settings::resetStartValues();
    }

    void press(unsigned char key) { game->key(key, false, 0, 0); }
    void release(unsigned char key) { game->key(key, true, 0, 0); }
    void tap(unsigned char key) {
        press(key);
        release(key);
    }

    // Draws one frame and reads back the pixel at 2D position (x, y), -1 to 1.
    testing_support::Rgb drawnAt(float x, float y) {
        EXPECT_EQ(game->display(), 0);
        return pixelAt(x, y);
    }
    static testing_support::Rgb pixelAt(float x, float y) {
        const int px = static_cast<int>(std::lround((x + 1.0f) / 2.0f * (kWidth - 1)));
        const int py = static_cast<int>(std::lround((y + 1.0f) / 2.0f * (kHeight - 1)));
        const auto rgba = readPixel(px, py, GL_BACK);
        return {rgba[0], rgba[1], rgba[2]};
    }
    static constexpr auto& colourOf = testing_support::screenImageColour;

    // Pixels of `colour` in the frame last drawn (the back buffer keeps it after the swap)
    // in the box from 2D position (x0, y0) up to, not including, (x1, y1).
    static int pixelsIn(testing_support::Rgb colour, float x0 = -1, float y0 = -1, float x1 = 1,
                        float y1 = 1) {
        const auto at = [](float v, int size) { return static_cast<int>((v + 1) / 2 * size); };
        const auto pixels = readWindow(GL_BACK);
        int count = 0;
        for (int y = at(y0, kHeight); y < at(y1, kHeight); ++y)
            for (int x = at(x0, kWidth); x < at(x1, kWidth); ++x)
                count += std::equal(colour.begin(), colour.end(), pixels[y * kWidth + x].begin());
        return count;
    }
    // Counts pixels of `colour` in the five pixel rows from 4 above 2D height y: the lower
    // part of text standing on that base line (rows of text are only 12 pixels apart in
    // the test window).
    static int pixelsInRow(float y, testing_support::Rgb colour) {
        return pixelsIn(colour, -1, y + 8.0f / kHeight, 1, y + 18.0f / kHeight);
    }

    testing_support::CapturedErrors errors;
    testing_support::TempDir dir;
    std::unique_ptr<testing_support::ScopedWorkingDir> inDir;
    std::unique_ptr<Game> game;
};

// The same with the build's game data and its levels loaded, level 1 current.
class GameDataTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        testing_support::copyGameData(dir.path());
        Settings::setFov(75.0);
        InputState::reset();
        loadLevels();
        LevelRegistry::instance().setCurrentLevel(1);
    }
};
