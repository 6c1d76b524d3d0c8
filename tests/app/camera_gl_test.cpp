// The camera's view against the same chain of OpenGL calls, read back, and its plain
// inverse against that.
#include <GL/gl.h>

#include <cmath>
#include <random>

#include "app/camera.h"
#include "combat/camera_view.h"
#include "combat/voka_geometry.h"
#include "net/player_status.h"
#include "render/matrix4.h"
#include "support/gl_fixture.h"

namespace {

constexpr float k = 0.017453292f;

class CameraGlTest : public testing_support::GlTest {};

TEST_F(CameraGlTest, ViewEqualsTheGlChainAndItsInverseUndoesIt) {
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
        Matrix4 view;
        glGetFloatv(GL_MODELVIEW_MATRIX, view.m);
        glLoadIdentity();
        Camera().applyView(a, b);
        expectModelview(view.m, "view");
        // The inverse undoes the view but for its change of axes; the published eye is
        // where it takes the origin.
        const Matrix4 inverse = camera_view::eyeToWorld(a, b, o);
        const Matrix4 back = view * inverse,
                      axes = Matrix4().rotate(-90, 1, 0, 0).rotate(90, 0, 0, 1);
        for (int i = 0; i < 16; ++i) ASSERT_NEAR(back.m[i], axes.m[i], 1e-3f) << i;
        float eye[4], yaw = 0, pitch = 0;
        PlayerStatus::getEye(eye);
        for (int i = 0; i < 3; ++i) ASSERT_NEAR(eye[i], inverse.m[12 + i], 1e-3f) << i;
        PlayerStatus::getViewAngles(yaw, pitch);
        EXPECT_EQ(std::make_pair(yaw, pitch), std::make_pair(b.rotZ, b.rotY));
    }
    glLoadIdentity();
    PlayerStatus::resetAll();
}

}  // namespace
