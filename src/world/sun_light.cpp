#include "world/sun_light.h"

#include <GL/gl.h>

SunLight::SunLight(float x, float y, float z) : position_{x, y, z, 0.0f} {}

void SunLight::apply() const {
    glDisable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient_);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse_);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular_);
    glLightfv(GL_LIGHT0, GL_POSITION, position_);
    glEnable(GL_LIGHT0);
}

void SunLight::getPosition(float& x, float& y, float& z) const {
    x = position_[0];
    y = position_[1];
    z = position_[2];
}
