#include "fx/lens_flare.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "config/settings.h"
#include "render/frustum.h"
#include "render/texture.h"

namespace {

bool finite(const Vec3f& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

}  // namespace

// In drawing order: the big glare on the sun first, then the chain towards the view axis.
const std::array<LensFlare::Element, LensFlare::kElements> LensFlare::kTable = {{
    {BigGlow, 0.0f, 1600.0f, {0.6f, 0.6f, 0.8f, 1.0f}},
    {Glow, 0.1f, 60.0f, {0.9f, 0.6f, 0.4f, 0.5f}},
    {Halo, 0.15f, 170.0f, {0.8f, 0.5f, 0.6f, 0.5f}},
    {Halo, 0.175f, 83.0f, {0.9f, 0.2f, 0.1f, 0.5f}},
    {Halo, 0.285f, 160.0f, {0.7f, 0.7f, 0.4f, 0.5f}},
    {Glow, 0.2755f, 80.0f, {0.9f, 0.9f, 0.2f, 0.5f}},
    {Glow, 0.4775f, 100.0f, {0.93f, 0.82f, 0.73f, 0.5f}},
    {Halo, 0.49f, 140.0f, {0.7f, 0.6f, 0.5f, 0.5f}},
    {Glow, 0.65f, 180.0f, {0.7f, 0.8f, 0.3f, 0.5f}},
    {Glow, 0.63f, 140.0f, {0.4f, 0.3f, 0.2f, 0.5f}},
    {Halo, 0.8f, 140.0f, {0.7f, 0.5f, 0.5f, 0.5f}},
    {Glow, 0.7825f, 60.0f, {0.8f, 0.5f, 0.1f, 0.5f}},
    {Halo, 1.0f, 170.0f, {0.5f, 0.5f, 0.7f, 0.5f}},
    {Glow, 0.975f, 200.0f, {0.4f, 0.1f, 0.9f, 0.5f}},
}};

std::optional<std::array<Vec3f, LensFlare::kElements>> LensFlare::elementPositions(
    const Vec3f& sun, const Vec3f& camera, const Vec3f& forward) {
    if (!finite(sun) || !finite(camera) || !finite(forward)) return std::nullopt;
    // A: the point of the view axis as far from the camera as the sun is.
    const float d = std::sqrt((camera.x - sun.x) * (camera.x - sun.x) +
                              (camera.y - sun.y) * (camera.y - sun.y) +
                              (camera.z - sun.z) * (camera.z - sun.z));
    const Vec3f a{camera.x + forward.x * d, camera.y + forward.y * d, camera.z + forward.z * d};
    Vec3f towards{a.x - sun.x, a.y - sun.y, a.z - sun.z};
    const float e =
        std::sqrt(towards.x * towards.x + towards.y * towards.y + towards.z * towards.z);
    if (e != 0.0f) towards = {towards.x / e, towards.y / e, towards.z / e};
    std::array<Vec3f, kElements> positions;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const float along = e * kTable[i].t;
        positions[i] = {sun.x + towards.x * along, sun.y + towards.y * along,
                        sun.z + towards.z * along};
        if (!finite(positions[i])) return std::nullopt;
    }
    return positions;
}

bool LensFlare::inView(const Frustum& frustum, const Vec3f& sun) {
    return frustum.sphereVisible(sun.x, sun.y, sun.z, 1.0f);
}

LensFlare::LensFlare() {
    loadTexture(names_, "./textures/Glow.bmp", Glow);
    loadTexture(names_, "./textures/BigGlow.bmp", BigGlow);
    // From anywhere in the arena the glare's 256 texels spread over hundreds of pixels:
    // it is always magnified, and with no mipmap level to choose each of the many pixels
    // it covers costs a software renderer far less, and looks the same.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    loadTexture(names_, "./textures/Halo.bmp", Halo);
    loadTexture(names_, "./textures/Streaks.bmp", Streaks);
}

void LensFlare::draw(const Vec3f& sun, const Vec3f& camera, const Vec3f& forward, float pitch,
                     float yaw) const {
    // Whatever the culling setting: the flare needs the sun in view to exist at all.
    if (!inView(Frustum::instance(), sun)) return;
    const auto positions = elementPositions(sun, camera, forward);
    if (!positions || !std::isfinite(pitch) || !std::isfinite(yaw)) return;
    if (isOccluded(sun)) return;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    if (Settings::getTransparency()) glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    // Light in the lens, not in the ground fog.
    glDisable(GL_FOG);
    for (std::size_t i = 0; i < kTable.size(); ++i) {
        drawElement(kTable[i].image, kTable[i].colour, (*positions)[i], kTable[i].halfSize, pitch,
                    yaw);
    }
    glPopAttrib();
}

std::optional<LensFlare::DepthProbe> LensFlare::depthProbe(const Vec3f& point,
                                                           const double modelview[16],
                                                           const double projection[16],
                                                           const int viewport[4]) {
    double wx = 0.0;
    double wy = 0.0;
    double wz = 0.0;
    if (gluProject(point.x, point.y, point.z, modelview, projection, viewport, &wx, &wy, &wz) !=
            GL_TRUE ||
        !std::isfinite(wx) || !std::isfinite(wy) || !std::isfinite(wz))
        return std::nullopt;
    // The pixel whose square holds the point: window coordinates truncated.
    const double right = static_cast<double>(viewport[0]) + viewport[2];
    const double top = static_cast<double>(viewport[1]) + viewport[3];
    if (wx < viewport[0] || wy < viewport[1] || wx >= right || wy >= top) return std::nullopt;
    return DepthProbe{static_cast<int>(wx), static_cast<int>(wy), wz};
}

bool LensFlare::isOccluded(const Vec3f& point) {
    GLint viewport[4];
    GLdouble modelview[16];
    GLdouble projection[16];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const std::optional<DepthProbe> probe = depthProbe(point, modelview, projection, viewport);
    if (!probe) return false;
    GLfloat depth = 1.0f;
    glReadPixels(probe->x, probe->y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return probe->hiddenBy(depth);
}

void LensFlare::drawElement(Image image, const float colour[4], const Vec3f& position,
                            float halfSize, float pitch, float yaw) const {
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    // Undo the camera's heading and pitch, then stand the square up across the view.
    glRotatef(yaw, 0.0f, 0.0f, 1.0f);
    glRotatef(-pitch, 0.0f, 1.0f, 0.0f);
    glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    glBindTexture(GL_TEXTURE_2D, names_[image]);
    glColor4fv(colour);
    const float s = halfSize;
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-s, -s);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-s, s);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(s, -s);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(s, s);
    glEnd();
    glPopMatrix();
}
