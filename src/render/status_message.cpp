#include "render/status_message.h"

#include <GL/gl.h>

#include <cstring>

#include "platform/frame_clock.h"
#include "render/draw_2d.h"

void StatusMessage::show(const char* text) {
    age_ = 0.0f;
    std::memset(text_, 0, sizeof text_);
    if (text != nullptr) std::strncpy(text_, text, kTextSize - 1);
}

bool StatusMessage::advance(float frameTime) {
    if (age_ < kShowSeconds) age_ += frameTime;
    return age_ < kShowSeconds;
}

StatusMessage& statusMessage() {
    static StatusMessage message;
    return message;
}

void showStatusMessage(const char* text) {
    statusMessage().show(text);
}

void drawStatusMessage(float x, float y) {
    StatusMessage& message = statusMessage();
    if (!message.advance(FrameClock::getFrameTime())) return;
    glColor3f(1.0f, 0.0f, 0.0f);
    drawText(x, y, message.text());
    glColor3f(1.0f, 1.0f, 1.0f);
}
