#pragma once

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "app/game.h"
#include "config/settings.h"
#include "support/captured_errors.h"
#include "support/gl_fixture.h"
#include "support/temp_dir.h"
#include "support/test_images.h"

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
    static testing_support::Rgb colourOf(const std::string& image) {
        return testing_support::screenImageColour(image);
    }

    // Pixels of `colour` in the frame last drawn (the back buffer keeps it after the swap)
    // from window pixel (x0, y0) up to, not including, (x1, y1); rows from the bottom.
    static int pixelsIn(testing_support::Rgb colour, int x0 = 0, int y0 = 0, int x1 = kWidth,
                        int y1 = kHeight) {
        const auto pixels = readWindow(GL_BACK);
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                count += std::equal(colour.begin(), colour.end(), pixels[y * kWidth + x].begin());
        return count;
    }
    // Counts pixels of `colour` in the five pixel rows from 4 above 2D height y: the lower
    // part of text standing on that base line (rows of text are only 12 pixels apart in
    // the test window).
    static int pixelsInRow(float y, testing_support::Rgb colour) {
        const int py = static_cast<int>(std::lround((y + 1.0f) / 2.0f * (kHeight - 1)));
        return pixelsIn(colour, 0, py + 4, kWidth, py + 9);
    }

    testing_support::CapturedErrors errors;
    testing_support::TempDir dir;
    std::unique_ptr<testing_support::ScopedWorkingDir> inDir;
    std::unique_ptr<Game> game;
};
