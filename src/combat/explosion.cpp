#include "combat/explosion.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>

#include "platform/clock.h"
#include "render/draw_arrays.h"
#include "render/gl_state.h"
#include "render/loader_3ds.h"

namespace {

// Corners of the square (model space, y up, facing -y) with their texture coordinates.
constexpr float kHalf = Explosion::kSquareSide / 2.0f;
constexpr float kTop = Explosion::kSquareSide;
constexpr Vec3f kCorners[4] = {
    {-kHalf, 0.0f, 0.0f}, {kHalf, 0.0f, 0.0f}, {kHalf, 0.0f, kTop}, {-kHalf, 0.0f, kTop}};
constexpr Vec2f kCornerUvs[4] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};
constexpr std::int32_t kTriangles[2][3] = {{0, 2, 1}, {0, 3, 2}};

}  // namespace

void buildExplosionModel(Model3ds& model) {
    model.objects.assign(Explosion::kFrames, MeshObject3ds{});
    model.materials.assign(Explosion::kFrames, Material3ds{});
    for (int i = 0; i < Explosion::kFrames; ++i) {
        Material3ds& material = model.materials[i];
        std::snprintf(material.name, sizeof material.name, "expl_a%03i", i);
        std::snprintf(material.textureFile, sizeof material.textureFile, "expl_a%03i.bmp", i);
        for (std::uint8_t& channel : material.color) channel = 255;

        MeshObject3ds& object = model.objects[i];
        std::snprintf(object.name, sizeof object.name, "expl_a%03i", i);
        object.vertices.assign(std::begin(kCorners), std::end(kCorners));
        object.texCoords.assign(std::begin(kCornerUvs), std::end(kCornerUvs));
        for (const auto& corners : kTriangles) {
            Face3ds face;
            for (int k = 0; k < 3; ++k) face.vertex[k] = corners[k];
            object.faces.push_back(face);
        }
        object.vertexCount = 4;
        object.texCoordCount = 4;
        object.faceCount = 2;
        object.materials = {i};
        object.textured = true;
    }
    model.objectCount = Explosion::kFrames;
    model.materialCount = Explosion::kFrames;
    computeNormals(model);
    buildDrawArrays(model);
}

Explosion::Explosion(bool withFrames) {
    if (!withFrames) return;
    // The three levels of detail are the same squares; one model serves all three.
    buildExplosionModel(*models[0]);
    models[1] = models[0];
    models[2] = models[0];
}

int Explosion::initGL() {
    return initMeshes();
}

void Explosion::start(Pose pose) {
    start(pose, platform::clockSeconds());
}

void Explosion::start(Pose pose, float nowSeconds) {
    body.setPose(pose);
    frame_ = 0;
    lastFrameTime_ = nowSeconds;
    finished_ = false;
}

int Explosion::update() {
    return update(platform::clockSeconds());
}

int Explosion::update(float nowSeconds) {
    if (finished_) return 0;
    if (nowSeconds - lastFrameTime_ > kFrameSeconds) {
        frame_ += 1;
        lastFrameTime_ = nowSeconds;
    }
    if (frame_ >= kFrames) finished_ = true;
    return 0;
}

int Explosion::draw(Pose camera, const float* /*light*/) {
    const Pose pose = body.getPose();
    if (frame_ < 0 || frame_ >= kFrames || !hasFinitePosition(pose)) return 0;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_LIGHTING);
    // The ground fog goes by each vertex's fog coordinate and the square has none, so
    // it is never fogged. Fog off also spares every pixel the fog's work: the own
    // Voka's explosion fills the screen for as long as its player is dead.
    glDisable(GL_FOG);
    glPushMatrix();
    // Additive: the bright parts of a picture add light, its black parts nothing.
    glBlendFunc(GL_SRC_COLOR, GL_ONE);
    applyTransparency();
    glTranslatef(pose.x, pose.y, pose.z - (ground_ ? kGroundFoot : kAirFoot));
    const float yaw = std::isfinite(camera.rotZ) ? camera.rotZ : 0.0f;
    glRotatef(yaw + 90.0f, 0.0f, 0.0f, 1.0f);
    glScalef(size_, size_, size_);
    drawObject(*models[0], frame_);
    glPopMatrix();
    glPopAttrib();
    return 0;
}

std::unique_ptr<SceneObject> makeExplosionPrototype() {
    return std::make_unique<Explosion>(true);
}
