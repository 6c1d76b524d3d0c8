#pragma once

#include <GL/freeglut.h>

#include <string>

#include "platform/gl_driver.h"

// Opens the benchmark's one GLUT window (800 x 600, double buffer, depth and stencil, like
// the game's, and the game's accumulation buffer with `accumulation`) and makes its
// context current.
inline void openBenchWindow(const char* title, bool accumulation = false) {
    static std::string name;
    name = title;
    int argc = 1;
    char* argv[] = {name.data(), nullptr};
    glutInitWindowSize(800, 600);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL |
                        (accumulation ? GLUT_ACCUM : 0));
    glutCreateWindow(title);
    platform::pinGlDriver();
}
