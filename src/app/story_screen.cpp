#include "app/story_screen.h"

#include <GL/gl.h>

#include <fstream>
#include <iterator>

#include "render/draw_2d.h"

bool StoryLineReader::add(char c) {
    if (lines_.size() == kStoryMaxLines) return false;
    if (c == '\n') {
        if (!line_.empty() && line_.back() == '\r') line_.pop_back();
        if (line_.size() > kStoryMaxLineLength) line_.resize(kStoryMaxLineLength);
        lines_.push_back(std::move(line_));
        line_.clear();
    } else if (line_.size() <= kStoryMaxLineLength) {
        line_.push_back(c);  // one past the limit, so a cut line may still end in CR LF
    }
    return lines_.size() < kStoryMaxLines;
}

std::vector<std::string> parseStoryLines(std::string_view text) {
    StoryLineReader reader;
    for (const char c : text)
        if (!reader.add(c)) break;
    return reader.take();
}

StoryScreen::StoryScreen(unsigned int backgroundTexture) : backgroundTexture_(backgroundTexture) {
    std::ifstream file("story.txt", std::ios::binary);
    if (!file) return;
    StoryLineReader reader;
    for (std::istreambuf_iterator<char> c(file), end; c != end; ++c)
        if (!reader.add(*c)) break;
    lines_ = reader.take();
}

void StoryScreen::draw() {
    Overlay2d overlay;
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_COLOR_MATERIAL);
    drawBackground(backgroundTexture_);
    // The text is drawn untextured so that it keeps its colour.
    glDisable(GL_TEXTURE_2D);
    glColor3f(0.0f, 0.0f, 0.0f);
    for (std::size_t i = 0; i < lines_.size(); ++i)
        drawText(-0.8f, 0.7f - 0.1f * static_cast<float>(i), lines_[i].c_str());
    glColor3f(1.0f, 1.0f, 1.0f);
}

ScreenKey StoryScreen::key(unsigned char character, bool /*up*/) {
    return character == GameKey::Esc ? ScreenKey::Back : ScreenKey::None;
}
