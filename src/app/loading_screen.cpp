#include "app/loading_screen.h"

#include <GL/gl.h>

#include <cstdio>

#include "combat/model_store.h"
#include "render/draw_2d.h"
#include "world/load_levels.h"

LoadingScreen::LoadingScreen(unsigned int backgroundTexture)
    : backgroundTexture_(backgroundTexture), worker_([this] { work(); }) {}

LoadingScreen::~LoadingScreen() {
    if (worker_.joinable()) worker_.join();
}

void LoadingScreen::work() {
    ModelStore::loadPrototypes(progress_);
    loadLevels();
    workerEnded_.store(true);
}

void LoadingScreen::poll() {
    if (finished_ || !workerEnded_.load()) return;
    // The join orders every write of the worker (prototypes, levels) before what follows.
    worker_.join();
    ModelStore::uploadPrototypes();
    finished_ = true;
}

std::string LoadingScreen::statusText() const {
    if (finished_) return "connecting to server...";
    char text[32];
    std::snprintf(text, sizeof text, "loading: %3.0f%%", static_cast<double>(progress_.load()));
    return text;
}

void LoadingScreen::draw() {
    Overlay2d overlay;
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_COLOR_MATERIAL);
    drawBackground(backgroundTexture_);
    poll();
    glDisable(GL_TEXTURE_2D);
    glColor3f(0.0f, 0.0f, 0.0f);
    drawText(-0.2f, 0.0f, statusText().c_str());
    glColor3f(1.0f, 1.0f, 1.0f);
}
