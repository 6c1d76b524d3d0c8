#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "render/screen.h"

// Between the menu and the match: a worker thread builds the model store's prototypes
// (files only, no OpenGL) and reads the level file, while the main thread draws the
// percentage. Once the worker has ended, the main thread joins it, creates the
// prototypes' OpenGL resources and the screen says "connecting to server..."; the game
// then starts the match. Keys are ignored throughout.
class LoadingScreen : public Screen {
  public:
    // Starts the worker at once.
    explicit LoadingScreen(unsigned int backgroundTexture);
    // Waits for the worker if it still runs: it cannot be interrupted.
    ~LoadingScreen() override;

    void draw() override;
    ScreenKey key(unsigned char, bool) override { return ScreenKey::None; }

    // Main thread: when the worker has ended, joins it, uploads the prototypes and
    // finishes. Runs the upload once; draw() calls it every frame.
    void poll();
    // True once poll() has found the worker ended and uploaded the prototypes.
    bool isFinished() const { return finished_; }
    // What the screen shows: "loading: %3.0f%%" of the progress, then
    // "connecting to server..." once finished.
    std::string statusText() const;

  private:
    void work();

    unsigned int backgroundTexture_;
    std::atomic<float> progress_{0.0f};  // percent, written by the worker
    std::atomic<bool> workerEnded_{false};
    bool finished_ = false;
    std::thread worker_;
};
