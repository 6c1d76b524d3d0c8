#include "render/perspective.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "config/settings.h"

namespace {

constexpr double kNear = 0.01;
constexpr double kFar = 10000.0;

}  // namespace

void setPerspective(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (height != 0) {
        gluPerspective(Settings::getFov(), static_cast<double>(width) / static_cast<double>(height),
                       kNear, kFar);
    }
    glMatrixMode(GL_MODELVIEW);
}
