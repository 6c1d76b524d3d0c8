// What mouse look costs the main thread each frame: the keyboard focus query and the
// cursor read, both X round trips, in a real window (run with a display, e.g. Xvfb).
#include <GL/freeglut.h>
#include <GL/glx.h>
#include <benchmark/benchmark.h>

#include "net/match/mouse_look.h"
#include "platform/cursor.h"

namespace {

void drawNothing() {}

void openWindow() {
    static bool open = false;
    if (open) return;
    int argc = 1;
    char name[] = "mouse-look-bench";
    char* argv[] = {name, nullptr};
    glutInitWindowSize(800, 600);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow(name);
    glutDisplayFunc(drawNothing);
    glutMainLoopEvent();
    Display* display = glXGetCurrentDisplay();
    XSetInputFocus(display, glXGetCurrentDrawable(), RevertToPointerRoot, CurrentTime);
    XSync(display, False);
    open = true;
}

void BM_HasKeyboardFocus(benchmark::State& state) {
    openWindow();
    for (auto _ : state) benchmark::DoNotOptimize(platform::hasKeyboardFocus());
}
BENCHMARK(BM_HasKeyboardFocus)->Unit(benchmark::kMicrosecond);

// A frame's whole mouse look with the cursor at rest: focus, cursor read, no warp.
void BM_ReadMouseLook(benchmark::State& state) {
    openWindow();
    const MouseLookSettings settings{800, 600, 5, false};
    MouseLook look;
    look.read(settings);
    for (auto _ : state) benchmark::DoNotOptimize(look.read(settings));
}
BENCHMARK(BM_ReadMouseLook)->Unit(benchmark::kMicrosecond);

}  // namespace
