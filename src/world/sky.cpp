#include "world/sky.h"

#include <GL/gl.h>

#include "render/gl_extensions.h"

namespace {

// Where the dome stands and how large it is: centred near the map's lower corner and
// large enough to hold the whole map, but inside the far plane from every point of it.
constexpr float kCentre[3] = {125.0f, 125.0f, -5.0f};
constexpr float kScale = 10000.0f;

}  // namespace

Sky::Sky(bool load) {
    if (!load) return;
    loadSingleModel(kModelFile);
    prepareModels(false);
}

int Sky::update() {
    return 0;
}

int Sky::initGL() {
    return initMeshes();
}

int Sky::draw(Pose /*camera*/, const float* /*light*/) {
    glPushMatrix();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_LIGHTING);
    // Seen from inside: the dome's outward faces are its back faces.
    glFrontFace(GL_CW);
    glTranslatef(kCentre[0], kCentre[1], kCentre[2]);
    glScalef(kScale, kScale, kScale);
    // The model is stored with y up.
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    // The dome has no fog coordinates; without this it would take the fog of whichever
    // vertex the ground sent last. Does nothing without the fog-coordinate extension.
    gl_ext::fogCoordf(0.0f);
    // At coordinate 0 the ground fog leaves every colour as it is, so the dome is drawn
    // with the fog off: the same picture without the fog's work on every sky pixel.
    glDisable(GL_FOG);
    drawObject(*models[0], 0);
    glPopMatrix();
    glPopAttrib();
    return 0;
}

std::unique_ptr<SceneObject> makeSkyPrototype() {
    return std::make_unique<Sky>(true);
}
