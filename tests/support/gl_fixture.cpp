#include "support/gl_fixture.h"

#include <GL/freeglut.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/clock.h"
#include "platform/gl_driver.h"
#include "platform/message_dialog.h"

namespace testing_support {
namespace {

int g_window = 0;

void readPixels(int x, int y, int width, int height, unsigned int buffer, std::uint8_t* rgba) {
    glFinish();
    glReadBuffer(buffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

// Opens the one window of this process, once; the first test does it.
void openWindow() {
    if (g_window != 0 || std::getenv("DISPLAY") == nullptr) return;
    platform::initWindowSystemThreads();
    // Hold a connection while GLUT opens its own: the X server may refuse a connection
    // opened right after another process closed one.
    Display* probe = XOpenDisplay(nullptr);
    for (int attempt = 0; attempt < 10 && probe == nullptr; ++attempt, platform::sleepMs(50))
        probe = XOpenDisplay(nullptr);
    if (probe == nullptr) return;
    // Mesa without render threads: llvmpipe then draws on the calling thread (the same
    // pixels), and fewer threads are about when the leak check stops them all at exit
    // (see pinGlDriver). A value already set is kept. (The shader cache keeps its one
    // thread: without the cache every GL test process would compile its shaders again,
    // about three seconds each.)
    setenv("LP_NUM_THREADS", "0", 0);
    int argc = 1;
    char name[] = "voka-gl-test";
    char* argv[] = {name, nullptr};
    glutInitWindowSize(GlTest::kWidth, GlTest::kHeight);
    glutInitWindowPosition(0, 0);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ACCUM | GLUT_DEPTH | GLUT_STENCIL);
    g_window = glutCreateWindow(name);
    platform::pinGlDriver();
    XCloseDisplay(probe);
    glutDisplayFunc([] {});
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    for (int i = 0; i < 5; ++i) glutMainLoopEvent();  // map and size the window
}

}  // namespace

void GlTest::SetUp() {
    openWindow();
    ASSERT_NE(g_window, 0) << "GL tests need an X display (./test starts Xvfb)";
    glutSetWindow(g_window);
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

std::array<std::uint8_t, 4> GlTest::readPixel(int x, int y, unsigned int buffer) {
    std::array<std::uint8_t, 4> rgba{};
    readPixels(x, y, 1, 1, buffer, rgba.data());
    return rgba;
}

std::vector<std::array<std::uint8_t, 4>> GlTest::readWindow(unsigned int buffer) {
    std::vector<std::array<std::uint8_t, 4>> pixels(kWidth * kHeight);
    readPixels(0, 0, kWidth, kHeight, buffer, pixels.data()->data());
    return pixels;
}

void GlTest::expectModelview(const float* ours, const char* what) {
    float theirs[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, theirs);
    float size = 1.0f;
    for (float v : theirs) size = std::max(size, std::abs(v));
    for (int i = 0; i < 16; ++i) ASSERT_NEAR(ours[i], theirs[i], 1e-5f * size) << what << " " << i;
}

}  // namespace testing_support
