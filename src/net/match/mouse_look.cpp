#include "net/match/mouse_look.h"

#include "config/settings.h"
#include "platform/cursor.h"

namespace {

constexpr float kPixelsPerStep = 50.0f;

}  // namespace

MouseLookSettings MouseLookSettings::fromSettings() {
    return {Settings::getWindowWidth(), Settings::getWindowHeight(),
            Settings::getMouseSensitivity(), Settings::getInvertMouse()};
}

std::optional<LookTurn> lookTurn(int cursorX, int cursorY, const MouseLookSettings& settings) {
    const int centreX = settings.windowWidth / 2;
    const int centreY = settings.windowHeight / 2;
    if (cursorX == centreX && cursorY == centreY) return std::nullopt;
    const auto sensitivity = static_cast<float>(settings.sensitivity);
    LookTurn turn{static_cast<float>(centreX - cursorX) / kPixelsPerStep * sensitivity,
                  static_cast<float>(centreY - cursorY) / kPixelsPerStep * sensitivity};
    if (settings.invert) turn.pitch = -turn.pitch;
    return turn;
}

LookTurn centreViewTurn(float lookYaw, float lookPitch) {
    return {-lookYaw, -lookPitch};
}

std::optional<LookTurn> MouseLook::read(const MouseLookSettings& settings) {
    const bool regained = !focused_;
    focused_ = platform::hasKeyboardFocus();
    int x = 0;
    int y = 0;
    if (!focused_ || !platform::getCursorPos(x, y)) return std::nullopt;
    const std::optional<LookTurn> turn = lookTurn(x, y, settings);
    if (turn) platform::warpCursor(settings.windowWidth / 2, settings.windowHeight / 2);
    return regained ? std::nullopt : turn;
}
