// Meshes drawn for real: the four render modes must give the same picture, and shadow
// volumes mark the stencil buffer where the shadow falls. A driver without the
// extensions is tried in the viewer's end-to-end tests, as Mesa can play one only from
// the start of a process.
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>
#include <vector>

#include "config/settings.h"
#include "render/gl_extensions.h"
#include "render/loader_3ds.h"
#include "render/mesh_builder.h"
#include "render/mesh_geometry.h"
#include "render/scene_object.h"
#include "support/captured_errors.h"
#include "support/gl_fixture.h"

namespace {

// An 8 x 8 quad from (x0, y0) in the plane z = 0.
MeshObject3ds quad(float x0, float y0) {
    MeshObject3ds o = mesh({{x0, y0, 0}, {x0 + 8, y0, 0}, {x0 + 8, y0 + 8, 0}, {x0, y0 + 8, 0}},
                           {{0, 1, 2}, {0, 2, 3}});
    o.texCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    o.fogCoords = {0.0f, 3.0f, 6.0f, 9.0f};
    o.texCoordCount = 4;
    return o;
}

GLuint checkerTexture(std::uint8_t a, std::uint8_t b) {
    const std::uint8_t pixels[] = {a, b, a, b, a, b, b, a, b, b, a, b};  // 2 x 2 RGB
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    for (GLenum filter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER})
        glTexParameteri(GL_TEXTURE_2D, filter, GL_NEAREST);
    return name;
}

class MeshDrawTest : public testing_support::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        Settings::resetStartValues();
        gl_ext::loadExtensions();
        Settings::setMultitexturing(true);
        Settings::setFog(true);
        glMatrixMode(GL_PROJECTION);  // both matrices start as the identity
        glOrtho(-10, 10, -10, 10, -100, 100);
        glMatrixMode(GL_MODELVIEW);
    }
    void TearDown() override { Settings::resetStartValues(); }

    // The frame drawn, every pixel's RGBA from the bottom left.
    auto render(TestObject& object, int mode) {
        Settings::setRenderMode(mode);
        glClearColor(0.1f, 0.2f, 0.3f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (GLenum state : {GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL, GL_FOG}) glEnable(state);
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glFogf(GL_FOG_END, 12.0f);  // from 0
        glFogi(GL_FOG_COORDINATE_SOURCE_EXT, GL_FOG_COORDINATE_EXT);
        object.draw(Pose{}, nullptr);
        for (GLenum state : {GL_FOG, GL_LIGHTING}) glDisable(state);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "mode " << mode;
        return readWindow(GL_BACK);
    }
};

// A textured quad, a multitextured quad with fog coordinates and a coloured quad.
TEST_F(MeshDrawTest, FourRenderModesDrawTheSamePicture) {
    ASSERT_TRUE(Settings::getHasVbo() && Settings::getHasMultitexture());
    TestObject object;
    Model3ds& m = *object.models[0];
    m.materials.resize(3);
    for (std::uint8_t c : {0, 1, 2}) std::fill_n(m.materials[c].color, 4, 255);
    m.materials[2].color[1] = m.materials[2].color[2] = 40;
    m.objects = {quad(-9, -9), quad(1, -9), quad(-4, 1)};
    m.objects[0].textured = m.objects[1].textured = m.objects[1].multitextured = true;
    m.objects[0].materials = {0};
    m.objects[1].materials = {0, 1};
    m.objects[2].texCoords.clear();
    m.objects[2].materials = {2, -1};
    m.objectCount = m.materialCount = 3;
    computeNormals(m);
    object.models[1] = object.models[2] = object.models[0];
    object.prepareModels(true);
    object.textures[0] = checkerTexture(250, 30);
    object.textures[1] = checkerTexture(120, 60);
    object.initGL();
    ASSERT_NE(object.models[0]->objects[0].buffers[0], 0u);
    const auto immediate = render(object, RenderMode::Immediate);
    // The picture is not empty: the coloured quad and both textures show.
    const auto& centre = immediate[(kHeight * 3 / 4) * kWidth + kWidth / 2];
    EXPECT_GT(centre[0], centre[2]);
    // Back to client arrays after buffer objects still works.
    for (int mode : {RenderMode::VertexArrays, RenderMode::DisplayLists, RenderMode::BufferObjects,
                     RenderMode::VertexArrays}) {
        const auto frame = render(object, mode);
        for (std::size_t i = 0; i < 4 * frame.size(); ++i)
            ASSERT_LE(std::abs(frame[i / 4][i % 4] - immediate[i / 4][i % 4]), 2)
                << mode << " " << i;
    }
    testing_support::CapturedErrors errors;
    const auto nothing = render(object, 7);
    EXPECT_EQ(errors.texts().front(), "unsupported rendermode");
    EXPECT_EQ(nothing[(kHeight / 2) * kWidth + kWidth / 2][0], 26);  // the clear colour
}

// Shadow volumes over a ground plane seen from straight above: a closed box from
// (-1, -1, 2) to (1, 1, 4), faces wound counter-clockwise outside, and one triangle whose
// edges are all open and so always cast.
TEST_F(MeshDrawTest, ShadowVolumesMarkExactlyTheShadow) {
    std::vector<Vec3f> corners;
    for (int i = 0; i < 8; ++i)
        corners.push_back({i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 4.0f : 2.0f});
    std::vector<std::array<int, 3>> tris;
    for (const auto& q : {std::array{0, 2, 3, 1}, std::array{4, 5, 7, 6}, std::array{0, 1, 5, 4},
                          std::array{2, 6, 7, 3}, std::array{0, 4, 6, 2}, std::array{1, 3, 7, 5}})
        tris.insert(tris.end(), {{q[0], q[1], q[2]}, {q[0], q[2], q[3]}});
    const struct {
        MeshObject3ds object;
        float light[4];
        std::vector<std::pair<float, float>> shadowed, lit;
    } cases[] = {// Seen from the light, the box hides the ground from x = 0.67 to 8.
                 {mesh(corners, tris),
                  {-6, 0, 8, 1},
                  {{2, 0}, {6, 0}},
                  {{-3, 0}, {9.5f, 0}, {4, 5}, {0, 0}}},
                 // The triangle at height 3 shades the ground around (7, -1).
                 {mesh({{-2, -2, 3}, {2, -2, 3}, {2, 2, 3}}, {{0, 1, 2}}),
                  {-15, 0, 10, 1},
                  {{7, -1}, {6, -2}},
                  {{7, 3}, {-5, 0}, {4, 1.5f}}}};
    for (const auto& c : cases) {
        TestObject object;
        object.models[0]->objects = {c.object};
        object.prepareModels(true);
        std::copy(c.light, c.light + 4, object.models[0]->objects[0].lightPosition);
        glClearStencil(0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glRectf(-10, -10, 10, 10);  // the ground
        object.castShadow(*object.models[0], 0);
        glFinish();
        for (const bool inShadow : {true, false})
            for (auto [x, y] : inShadow ? c.shadowed : c.lit) {
                std::uint8_t stencil = 0;
                glReadPixels(static_cast<int>((x + 10) / 20 * kWidth),
                             static_cast<int>((y + 10) / 20 * kHeight), 1, 1, GL_STENCIL_INDEX,
                             GL_UNSIGNED_BYTE, &stencil);
                EXPECT_EQ(stencil != 0, inShadow) << x << ", " << y;
            }
        // The second pass leaves every face unclassified for the next frame.
        for (const Face3ds& f : object.models[0]->objects[0].faces) EXPECT_EQ(f.lit, 3);
    }
    glDisable(GL_DEPTH_TEST);
}

}  // namespace
