// Meshes drawn for real: the four render modes must give the same picture, and shadow
// volumes mark the stencil buffer where the shadow falls. A driver without the
// extensions is tried in the viewer's end-to-end tests, as Mesa can play one only from
// the start of a process.
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <array>
#include <initializer_list>
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

class TestObject : public SceneObject {
  public:
    int draw(Pose, const float*) override {
        for (int i = 0; i < static_cast<int>(models[0]->objects.size()); ++i)
            drawObject(*models[0], i);
        return 0;
    }
    int update() override { return 0; }
    int initGL() override {
        buildBuffers();
        buildDisplayLists();
        return 0;
    }
    using SceneObject::castShadow;
    using SceneObject::prepareModels;
};

MeshObject3ds quad(float x0, float y0, float size, float z) {
    MeshObject3ds o =
        mesh({{x0, y0, z}, {x0 + size, y0, z}, {x0 + size, y0 + size, z}, {x0, y0 + size, z}},
             {{0, 1, 2}, {0, 2, 3}});
    o.texCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    o.fogCoords = {0.0f, 3.0f, 6.0f, 9.0f};
    o.texCoordCount = 4;
    return o;
}

Material3ds material(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    Material3ds m;
    m.color[0] = r, m.color[1] = g, m.color[2] = b, m.color[3] = 255;
    return m;
}

GLuint checkerTexture(std::uint8_t a, std::uint8_t b) {
    const std::uint8_t pixels[] = {a, b, a, b, a, b, b, a, b, b, a, b};  // 2 x 2 RGB
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
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

    // A textured quad, a multitextured quad with fog coordinates and a coloured quad.
    void buildScene(TestObject& object) {
        Model3ds& m = *object.models[0];
        m.materials = {material(255, 255, 255), material(255, 255, 255), material(200, 40, 40)};
        m.materials[0].textureIndex = 0;
        MeshObject3ds textured = quad(-9, -9, 8, 0);
        textured.textured = true;
        textured.materials = {0};
        MeshObject3ds detail = quad(1, -9, 8, 0);
        detail.textured = true;
        detail.multitextured = true;
        detail.materials = {0, 1};
        MeshObject3ds colored = quad(-4, 1, 8, 0);
        colored.texCoords.clear();
        colored.materials = {2, -1};
        m.objects = {textured, detail, colored};
        m.objectCount = 3;
        m.materialCount = 3;
        computeNormals(m);
        object.models[1] = object.models[2] = object.models[0];
        object.prepareModels(true);
        object.textures[0] = checkerTexture(250, 30);
        object.textures[1] = checkerTexture(120, 60);
    }

    std::vector<std::uint8_t> render(TestObject& object, int mode) {
        Settings::setRenderMode(mode);
        glClearColor(0.1f, 0.2f, 0.3f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glEnable(GL_COLOR_MATERIAL);
        glEnable(GL_FOG);
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glFogf(GL_FOG_START, 0.0f);
        glFogf(GL_FOG_END, 12.0f);
        glFogi(GL_FOG_COORDINATE_SOURCE_EXT, GL_FOG_COORDINATE_EXT);
        object.draw(Pose{}, nullptr);
        glDisable(GL_FOG);
        glDisable(GL_LIGHTING);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "mode " << mode;
        return readFrame();
    }

    static int differing(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
        int count = 0;
        for (std::size_t i = 0; i < a.size(); ++i)
            count += (a[i] > b[i] ? a[i] - b[i] : b[i] - a[i]) > 2;
        return count;
    }
};

TEST_F(MeshDrawTest, FourRenderModesDrawTheSamePicture) {
    ASSERT_TRUE(Settings::getHasVbo());
    ASSERT_TRUE(Settings::getHasMultitexture());
    TestObject object;
    buildScene(object);
    object.initGL();
    ASSERT_NE(object.models[0]->objects[0].buffers[0], 0u);
    const auto immediate = render(object, RenderMode::Immediate);
    // The picture is not empty: the coloured quad and both textures show.
    const std::size_t centre = ((kHeight * 3 / 4) * kWidth + kWidth / 2) * 4;
    EXPECT_GT(immediate[centre], immediate[centre + 2]);
    // Back to client arrays after buffer objects still works.
    for (int mode : {RenderMode::VertexArrays, RenderMode::DisplayLists, RenderMode::BufferObjects,
                     RenderMode::VertexArrays})
        EXPECT_EQ(differing(immediate, render(object, mode)), 0) << "mode " << mode;

    testing_support::CapturedErrors errors;
    const auto nothing = render(object, 7);
    EXPECT_EQ(errors.texts().front(), "unsupported rendermode");
    EXPECT_EQ(nothing[((kHeight / 2) * kWidth + kWidth / 2) * 4], 26);  // the clear colour
}

// Shadow volumes, with the light beside and above a closed box over a ground plane seen
// from straight above.
class ShadowTest : public MeshDrawTest {
  protected:
    static void drawGround() {
        glClearStencil(0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glRectf(-10, -10, 10, 10);
    }

    // For each ground point: is its stencil value non-zero?
    static std::vector<bool> shadowed(std::initializer_list<std::pair<float, float>> points) {
        glFinish();
        std::vector<bool> out;
        for (auto [x, y] : points) {
            std::uint8_t value = 0;
            glReadPixels(static_cast<int>((x + 10) / 20 * kWidth),
                         static_cast<int>((y + 10) / 20 * kHeight), 1, 1, GL_STENCIL_INDEX,
                         GL_UNSIGNED_BYTE, &value);
            out.push_back(value != 0);
        }
        return out;
    }

    // Prepares the one object of `object`, lights it from (x, y, z) and casts its shadow
    // on the ground.
    static void castShadow(TestObject& object, float x, float y, float z) {
        object.prepareModels(true);
        float* light = object.models[0]->objects[0].lightPosition;
        light[0] = x, light[1] = y, light[2] = z, light[3] = 1;
        drawGround();
        object.castShadow(*object.models[0], 0);
    }
};

// A closed box from (-1, -1, 2) to (1, 1, 4), faces wound counter-clockwise outside.
MeshObject3ds box() {
    std::vector<Vec3f> corners;
    for (int i = 0; i < 8; ++i)
        corners.push_back({i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 4.0f : 2.0f});
    std::vector<std::array<int, 3>> tris;
    for (const auto& q : {std::array{0, 2, 3, 1}, std::array{4, 5, 7, 6}, std::array{0, 1, 5, 4},
                          std::array{2, 6, 7, 3}, std::array{0, 4, 6, 2}, std::array{1, 3, 7, 5}}) {
        tris.push_back({q[0], q[1], q[2]});
        tris.push_back({q[0], q[2], q[3]});
    }
    return mesh(corners, tris);
}

TEST_F(ShadowTest, ClosedBoxMarksExactlyItsShadow) {
    TestObject object;
    object.models[0]->objects = {box()};
    castShadow(object, -6, 0, 8);
    for (const Face3ds& f : object.models[0]->objects[0].faces)
        for (int n : f.neighbour) ASSERT_GE(n, 0);
    // Seen from the light at (-6, 0, 8), the box hides the ground from x = 0.67 to 8.
    EXPECT_EQ(shadowed({{2, 0}, {6, 0}, {-3, 0}, {9.5f, 0}, {4, 5}, {0, 0}}),
              (std::vector<bool>{true, true, false, false, false, false}));
    // The second pass leaves every face unclassified for the next frame.
    for (const Face3ds& f : object.models[0]->objects[0].faces) EXPECT_EQ(f.lit, 3);
}

TEST_F(ShadowTest, OpenEdgesAlwaysCast) {
    TestObject object;
    // One triangle, every edge open.
    object.models[0]->objects = {mesh({{-2, -2, 3}, {2, -2, 3}, {2, 2, 3}}, {{0, 1, 2}})};
    castShadow(object, -15, 0, 10);
    for (int n : object.models[0]->objects[0].faces[0].neighbour) EXPECT_EQ(n, -2);
    // The triangle (-2,-2)-(2,-2)-(2,2) at height 3, lit from (-15, 0, 10), shades the
    // ground around (7, -1); (7, 3) and the ground on the light's side stay lit.
    EXPECT_EQ(shadowed({{7, -1}, {6, -2}, {7, 3}, {-5, 0}, {4, 1.5f}}),
              (std::vector<bool>{true, true, false, false, false}));
}

}  // namespace
