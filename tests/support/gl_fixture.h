#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace testing_support {

// Tests that need a real OpenGL context: one GLUT window per test process (double
// buffer, depth, stencil and accumulation, like the game's), on the X display that
// ./test provides (Xvfb with Mesa).
class GlTest : public ::testing::Test {
  public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;

  protected:
    void SetUp() override;

    // RGBA of one pixel of the given buffer (GL_BACK or GL_FRONT), window coordinates
    // with the origin at the bottom left as OpenGL counts them.
    static std::array<std::uint8_t, 4> readPixel(int x, int y, unsigned int buffer);
    // Every pixel of the window, row by row from the bottom left.
    static std::vector<std::array<std::uint8_t, 4>> readWindow(unsigned int buffer);
    // Expects `ours` (16 floats, column-major) to be OpenGL's current modelview matrix,
    // to 1e-5 relative to the matrix's largest element.
    static void expectModelview(const float* ours, const char* what);
};

}  // namespace testing_support
