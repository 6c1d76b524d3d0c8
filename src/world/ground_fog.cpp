#include "world/ground_fog.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "config/settings.h"

namespace ground_fog {

bool wanted() {
    return Settings::getHasFogCoord() && Settings::getFog();
}

bool setUp() {
    if (!wanted()) return false;
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, kColor);
    glFogf(GL_FOG_START, kStart);
    glFogf(GL_FOG_END, kEnd);
    glFogi(GL_FOG_COORDINATE_SOURCE_EXT, GL_FOG_COORDINATE_EXT);
    return true;
}

}  // namespace ground_fog
