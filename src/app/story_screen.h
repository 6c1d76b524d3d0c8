#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "render/screen.h"

// The lines of a story text: each newline ends a line and characters after the last
// newline are dropped. At most kMaxLines lines of at most kMaxLineLength characters
// are kept; longer lines are cut and later lines ignored. A carriage return before a
// newline is not part of the line.
inline constexpr std::size_t kStoryMaxLines = 30;
inline constexpr std::size_t kStoryMaxLineLength = 99;
std::vector<std::string> parseStoryLines(std::string_view text);

// The same, a character at a time, so that a large file is read only as far as needed.
class StoryLineReader {
  public:
    // False once every line is stored: nothing more needs to be read.
    bool add(char c);
    std::vector<std::string> take() { return std::move(lines_); }

  private:
    std::vector<std::string> lines_;
    std::string line_;
};

// Shows the lines of "story.txt" in black over the background, one line per 0.1 from
// the top. The file is read once, when the screen is made; a missing file shows the
// background alone. Esc, pressed or released, goes back.
class StoryScreen : public Screen {
  public:
    explicit StoryScreen(unsigned int backgroundTexture);

    void draw() override;
    ScreenKey key(unsigned char character, bool up) override;
    const std::vector<std::string>& lines() const { return lines_; }

  private:
    unsigned int backgroundTexture_;
    std::vector<std::string> lines_;
};
