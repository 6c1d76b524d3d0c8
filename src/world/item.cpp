#include "world/item.h"

#include <GL/gl.h>

#include "config/settings.h"
#include "platform/frame_clock.h"
#include "render/frustum.h"
#include "world/item_rules.h"

Item::Item(std::int32_t typeCode, float x, float y, float z) {
    type = static_cast<std::uint8_t>(typeCode);
    setPosition(x, y, z);
    const ItemRule* rule = itemRule(typeCode);
    if (rule == nullptr) return;
    loadLevelsOfDetail(rule->modelBase);
    prepareModels(true);
}

void Item::setPosition(float x, float y, float z) {
    Pose pose = body.getPose();
    pose.x = x;
    pose.y = y;
    pose.z = z;
    body.setPose(pose);
}

int Item::initGL() {
    return initMeshes();
}

int Item::update() {
    spinAngle_ += FrameClock::getFrameTime() * kSpinDegreesPerSecond;
    if (spinAngle_ >= 360.0f) spinAngle_ -= 360.0f;
    return 0;
}

Matrix4 Item::worldToModel() const {
    const Pose p = body.getPose();
    Matrix4 m;
    m.rotate(-90.0f, 1.0f, 0.0f, 0.0f)
        .rotate(90.0f, 0.0f, 0.0f, 1.0f)
        .rotate(-spinAngle_, 0.0f, 0.0f, 1.0f)
        .scale(1.0f / kScale, 1.0f / kScale, 1.0f / kScale)
        .translate(-p.x, -p.y, -p.z - kHover);
    return m;
}

int Item::draw(Pose /*camera*/, const float* light) {
    const Pose p = body.getPose();
    if (itemRule(type) == nullptr || !hasFinitePosition(p)) return 0;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushMatrix();
    glColor4ub(255, 255, 255, 255);
    glTranslatef(p.x, p.y, p.z + kHover);
    glScalef(kScale, kScale, kScale);
    glRotatef(spinAngle_, 0.0f, 0.0f, 1.0f);
    // The model is stored with y up.
    glRotatef(-90.0f, 0.0f, 0.0f, 1.0f);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    const bool culled = Settings::getFrustumCulling() &&
                        !Frustum::instance().sphereVisible(p.x, p.y, p.z, kCullingRadius);
    if (!culled) {
        const Model3ds& model = modelAt(p.x, p.y);
        glEnable(GL_TEXTURE_2D);
        for (int i = 0; i < static_cast<int>(model.objects.size()); ++i) drawObject(model, i);
    }
    if (Settings::getShadow() && light != nullptr) {
        float inModel[4];
        worldToModel().transform(light, inModel);
        castShadows(*models[1], inModel);
    }
    glPopMatrix();
    glPopAttrib();
    return 0;
}

std::unique_ptr<SceneObject> makeItemPrototype(std::int32_t typeCode) {
    return std::make_unique<Item>(typeCode, 0.0f, 0.0f, 0.0f);
}
