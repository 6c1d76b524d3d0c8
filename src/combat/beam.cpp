#include "combat/beam.h"

#include <GL/gl.h>

#include "net/player_status.h"
#include "platform/clock.h"
#include "platform/frame_clock.h"
#include "render/gl_state.h"
#include "render/shared_textures.h"

namespace {

// The rates are per fiftieth of a second: a rate of -0.02 takes the whole alpha away in
// one second, frame by frame.
constexpr float kRateScale = 50.0f;

BeamVec vec(const float* v) {
    return {v[0], v[1], v[2]};
}

}  // namespace

BeamCamera playerCamera() {
    float eye[4], aim[4], up[4], side[4];
    PlayerStatus::getEye(eye);
    PlayerStatus::getAim(aim);
    PlayerStatus::getUp(up);
    PlayerStatus::getSide(side);
    return {vec(eye), vec(aim), vec(up), vec(side)};
}

Beam::Beam(Pose state, BeamVec extent, const float colour[4], float alphaRate, float colourRate,
           std::int32_t mode)
    : extent_(extent),
      alphaRate_(alphaRate),
      colourRate_(colourRate),
      mode_(mode),
      birthTime_(platform::clockSeconds()) {
    body.setPose(state);
    for (int c = 0; c < 4; ++c) colour_[c] = colour[c];
}

BeamVec Beam::getStart() const {
    const Pose pose = body.getPose();
    return {pose.x, pose.y, pose.z};
}

int Beam::initGL() {
    return initMeshes();
}

int Beam::update() {
    const float dt = FrameClock::getFrameTime();
    for (int c = 0; c < 3; ++c) colour_[c] += dt * colourRate_ * kRateScale * colour_[c];
    colour_[3] += dt * alphaRate_ * kRateScale * colour_[3];
    return 0;
}

int Beam::draw(Pose /*camera*/, const float* /*light*/) {
    const std::vector<BeamCorner> corners = beamQuads(mode_, getStart(), extent_, playerCamera());
    if (corners.empty()) return 0;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    // A glow gives light; it is not lit.
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, SharedTextures::get(SharedTextures::kCircle));
    glDepthMask(GL_FALSE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    applyTransparency();
    glDisable(GL_CULL_FACE);
    glColor4fv(colour_);
    glBegin(GL_QUADS);
    for (const BeamCorner& corner : corners) {
        glTexCoord2f(corner.u, corner.v);
        glVertex3f(corner.p.x, corner.p.y, corner.p.z);
    }
    glEnd();
    glPopAttrib();
    return 0;
}
