#pragma once

#include <cstdint>

// The driving keys and mouse buttons as the match reads them: each flag is 0 or 1,
// set by the keyboard and mouse callbacks on the main thread. `centerView` is set by a
// press of the centre-view key and cleared by the match once it has brought the look
// straight ahead.
class InputState {
  public:
    static std::uint8_t getForward() { return s_forward; }
    static void setForward(std::uint8_t v) { s_forward = v; }
    static std::uint8_t getBackward() { return s_backward; }
    static void setBackward(std::uint8_t v) { s_backward = v; }
    static std::uint8_t getLeft() { return s_left; }
    static void setLeft(std::uint8_t v) { s_left = v; }
    static std::uint8_t getRight() { return s_right; }
    static void setRight(std::uint8_t v) { s_right = v; }
    static std::uint8_t getLeftButton() { return s_leftButton; }
    static void setLeftButton(std::uint8_t v) { s_leftButton = v; }
    static std::uint8_t getRightButton() { return s_rightButton; }
    static void setRightButton(std::uint8_t v) { s_rightButton = v; }
    static std::uint8_t getCenterView() { return s_centerView; }
    static void setCenterView(std::uint8_t v) { s_centerView = v; }

    // Clears every flag (program start).
    static void reset() {
        s_forward = s_backward = s_left = s_right = 0;
        s_leftButton = s_rightButton = s_centerView = 0;
    }

  private:
    static inline std::uint8_t s_forward = 0;
    static inline std::uint8_t s_backward = 0;
    static inline std::uint8_t s_left = 0;
    static inline std::uint8_t s_right = 0;
    static inline std::uint8_t s_leftButton = 0;
    static inline std::uint8_t s_rightButton = 0;
    static inline std::uint8_t s_centerView = 0;
};
