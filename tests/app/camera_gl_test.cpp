// The camera's plain matrices against the same chains of OpenGL calls, read back.
#include <GL/gl.h>

#include <cmath>
#include <random>

#include "app/camera.h"
#include "combat/camera_view.h"
#include "combat/voka_geometry.h"
#include "net/player_status.h"
#include "support/gl_fixture.h"

namespace {

constexpr float k = 0.017453292f;

class CameraGlTest : public testing_support::GlTest {};

TEST_F(CameraGlTest, ViewAndItsInverseEqualTheGlChains) {
    std::mt19937 random(5);
    std::uniform_real_distribution<float> position(0, 1600), angle(-400, 400);
    PlayerStatus::resetAll();
    glMatrixMode(GL_MODELVIEW);
    for (int round = 0; round < 40; ++round) {
        if (round % 2 == 1) PlayerStatus::nextCameraOffset();
        const Pose a{position(random), position(random), position(random) / 8,
                     angle(random),    angle(random),    angle(random)};
        const Pose b{0, 0, 0, angle(random), angle(random), angle(random)};
        float o[3];
        PlayerStatus::getCameraOffset(o);

        glLoadIdentity();
        glRotatef(-90, 1, 0, 0);
        glRotatef(90, 0, 0, 1);
        glRotatef(-b.rotZ, 0, 0, 1);
        glRotatef(b.rotY, std::sin(-b.rotZ * k), std::cos(-b.rotZ * k), 0);
        glTranslatef(-o[0], -o[1], 0);
        glTranslatef(0, 0, -o[2]);
        glRotatef(voka_geometry::lean(a), 1, 0, 0);
        glRotatef(b.rotX, 0, 1, 0);
        glTranslatef(0, 0, o[2]);
        glRotatef(-a.rotZ, 0, 0, 1);
        glTranslatef(0, 0, -o[2]);
        glTranslatef(-a.x, -a.y, -a.z);
        float chain[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, chain);
        glLoadIdentity();
        Camera().applyView(a, b);
        expectModelview(chain, "view");

        glLoadIdentity();
        glTranslatef(a.x, a.y, a.z);
        glTranslatef(0, 0, o[2]);
        glRotatef(a.rotZ, 0, 0, 1);
        glTranslatef(0, 0, -o[2]);
        glRotatef(-b.rotX, 0, 1, 0);
        glRotatef(-voka_geometry::lean(a), 1, 0, 0);
        glTranslatef(0, 0, o[2]);
        glTranslatef(o[0], o[1], 0);
        glRotatef(-b.rotY, std::sin(-b.rotZ * k), std::cos(-b.rotZ * k), 0);
        glRotatef(b.rotZ, 0, 0, 1);
        expectModelview(camera_view::eyeToWorld(a, b, o).m, "eye to world");
        // What applyView published: the eye is where the inverse takes the origin.
        float inverse[16], eye[4], yaw = 0, pitch = 0;
        glGetFloatv(GL_MODELVIEW_MATRIX, inverse);
        PlayerStatus::getEye(eye);
        for (int i = 0; i < 3; ++i) ASSERT_NEAR(eye[i], inverse[12 + i], 1e-3f) << i;
        PlayerStatus::getViewAngles(yaw, pitch);
        EXPECT_EQ(yaw, b.rotZ);
        EXPECT_EQ(pitch, b.rotY);
    }
    glLoadIdentity();
    PlayerStatus::resetAll();
}

}  // namespace
