#pragma once

// The transient status line (debug keys say what they toggled): shown in red for two
// seconds of accumulated frame time, ageing only on frames in which it is drawn.
class StatusMessage {
  public:
    static constexpr int kTextSize = 100;  // 99 characters and a NUL
    static constexpr float kShowSeconds = 2.0f;

    // Makes `text` the message (cut at 99 characters) and restarts its two seconds.
    void show(const char* text);
    // Ages the message by one frame; true while it is still to be shown.
    bool advance(float frameTime);

    const char* text() const { return text_; }
    float age() const { return age_; }

  private:
    float age_ = 0.0f;  // seconds since show()
    char text_[kTextSize] = {};
};

// The one status message of the game.
StatusMessage& statusMessage();

void showStatusMessage(const char* text);
// Ages the message by the last frame time and draws it in red at (x, y) while it is
// younger than two seconds; the colour is left white.
void drawStatusMessage(float x, float y);
