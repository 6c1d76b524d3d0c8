// How a Voka is drawn: the body under the stencil test, the wheel sets turned about
// their axles, the selected weapon on its turret, the shadow volumes of every part with
// the light carried into that part's own space, and, once destroyed, the wreck.
#include <GL/gl.h>

#include <algorithm>

#include "combat/voka.h"
#include "combat/voka_geometry.h"
#include "config/settings.h"
#include "net/player_status.h"
#include "render/frustum.h"

namespace {

using voka_geometry::kFrontWheels;
using voka_geometry::kRearWheels;

bool isWheel(int object) {
    return object == kFrontWheels || object == kRearWheels;
}

}  // namespace

int Voka::draw(Pose camera, const float* light) {
    const Pose pose = body.getPose();
    if (!isVokaType(type) || !hasFinitePosition(pose)) return 0;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    // The own Voka always draws; the others only when they may be in view.
    const bool visible = localDriven_ || !Settings::getFrustumCulling() ||
                         Frustum::instance().sphereVisible(pose.x, pose.y, pose.z, kCullRadius);
    Model3ds& model = modelAt(pose.x, pose.y);
    if (destroyed_) {
        drawWreck(model, camera, light, visible);
    } else {
        drawIntact(model, camera, light, visible);
    }
    glPopAttrib();
    return 0;
}

void Voka::drawIntact(Model3ds& model, const Pose& camera, const float* light, bool visible) {
    const Pose pose = body.getPose();
    glPushMatrix();
    glMultMatrixf(voka_geometry::modelTransform(pose).m);
    worldToModel_ = voka_geometry::worldToModel(pose);

    // The own weapon follows the mouse look; the shots leave from its muzzle.
    float yaw = 0.0f, pitch = 0.0f;
    Matrix4 turret;
    if (localDriven_) {
        PlayerStatus::getViewAngles(yaw, pitch);
        turret = voka_geometry::turret(yaw, pitch);
        float muzzle[4];
        voka_geometry::muzzlePoint(pose, yaw, pitch, muzzle);
        PlayerStatus::setMuzzle(muzzle);
    }

    const bool shadows = Settings::getShadow() && light != nullptr;
    float bodyLight[4] = {0, 0, 0, 1};
    float turretLight[4] = {0, 0, 0, 1};
    if (shadows) {
        worldToModel_.transform(light, bodyLight);
        if (localDriven_)
            voka_geometry::turretInverse(yaw, pitch).transform(bodyLight, turretLight);
    }

    const int objects = static_cast<int>(model.objects.size());
    for (int i = 0; i < objects; ++i) {
        if (isWheel(i)) {
            drawWheels(model, i, shadows ? bodyLight : nullptr, visible);
            continue;
        }
        // Pixels that an earlier shadow pass left at 1 keep what is drawn there.
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_NOTEQUAL, 1, ~0u);
        glStencilOp(GL_KEEP, GL_KEEP, GL_ZERO);
        if (visible) drawObject(model, i);
        glDisable(GL_STENCIL_TEST);
    }
    drawWeapon(camera, light, shadows ? (localDriven_ ? turretLight : bodyLight) : nullptr,
               localDriven_ ? &turret : nullptr, visible);
    if (shadows) {
        for (int i = 0; i < objects; ++i) {
            if (isWheel(i)) continue;
            for (int c = 0; c < 4; ++c) model.objects[i].lightPosition[c] = bodyLight[c];
            castShadow(model, i);
        }
    }
    glPopMatrix();
}

void Voka::drawWheels(Model3ds& model, int object, const float* bodyLight, bool visible) {
    const float* pivot =
        object == kFrontWheels ? voka_geometry::kFrontWheelPivot : voka_geometry::kRearWheelPivot;
    const float angle = static_cast<float>(wheelAngle_);
    glPushMatrix();
    glMultMatrixf(voka_geometry::wheel(pivot, angle).m);
    if (visible) drawObject(model, object);
    if (bodyLight != nullptr) {
        Matrix4 toWheel = voka_geometry::wheel(pivot, -angle);
        // A hit Voka's rear wheels throw a wobbling shadow.
        if (object == kRearWheels && swingState_ != SwingState::Idle)
            toWheel.rotate(static_cast<float>(swingCount_), 1.0f, 0.0f, 0.0f);
        toWheel.transform(bodyLight, model.objects[object].lightPosition);
        castShadow(model, object);
    }
    glPopMatrix();
}

void Voka::drawWeapon(const Pose& camera, const float* light, const float* shadowLight,
                      const Matrix4* turret, bool visible) {
    Weapon* weapon = selectedWeapon();
    if (!visible || weapon == nullptr) return;
    const float weaponLight[4] = {light ? light[0] : 0.0f, light ? light[1] : 0.0f,
                                  light ? light[2] : 0.0f, 1.0f};
    glPushMatrix();
    if (turret != nullptr) glMultMatrixf(turret->m);
    weapon->draw(camera, weaponLight);
    if (shadowLight != nullptr) weapon->castShadows(shadowLight);
    glPopMatrix();
}

void Voka::drawWreck(Model3ds& model, const Pose& camera, const float* light, bool visible) {
    if (visible && !explosion_.isFinished()) explosion_.draw(camera, light);
    // Each piece keeps the place in the car it had when the Voka blew up; a level of
    // detail with more objects than there are pieces draws only as many.
    const int pieces = static_cast<int>(std::min(model.objects.size(), debris_.size()));
    for (int i = 0; i < pieces; ++i) {
        glPushMatrix();
        glMultMatrixf(voka_geometry::modelTransform(debris_[i].getPose()).m);
        drawObject(model, i);
        glPopMatrix();
    }
}
