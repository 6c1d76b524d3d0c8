// Submitting mesh objects to OpenGL in the four render modes, and their shadow volumes.
#include <GL/gl.h>
#include <GL/glext.h>

#include "config/settings.h"
#include "platform/message_box.h"
#include "render/gl_extensions.h"
#include "render/scene_object.h"

namespace {

// Buffer object slots of a mesh object.
constexpr int kVertexBuffer = 0;
constexpr int kTexCoordBuffer = 1;
constexpr int kNormalBuffer = 2;
constexpr int kFogBuffer = 3;
constexpr int kColorBuffer = 4;

// Shadow volumes reach this many times the light-to-corner distance past the mesh.
constexpr float kVolumeLength = 5000.0f;

bool hasMaterialColor(const Model3ds& model, const MeshObject3ds& object) {
    const std::int32_t material = object.firstMaterial();
    return material >= 0 && static_cast<std::size_t>(material) < model.materials.size();
}

// A texture name from the object's table, or 0 for an index outside it.
GLuint textureAt(const unsigned int* textures, std::int32_t index) {
    return index >= 0 && index < SceneObject::kTextureSlots ? textures[index] : 0;
}

// Where an array comes from: client memory, or offset 0 of a bound buffer object.
const void* source(const void* client, bool fromBuffers, GLuint buffer) {
    if (!fromBuffers) return client;
    gl_ext::bindBuffer(GL_ARRAY_BUFFER_ARB, buffer);
    return nullptr;
}

}  // namespace

void SceneObject::bindTextures(const MeshObject3ds& object, bool multitexture) {
    if (multitexture) gl_ext::activeTexture(GL_TEXTURE0_ARB);
    glColor3ub(255, 255, 255);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textureAt(textures, object.firstMaterial()));
    if (!multitexture) return;
    // The detail texture modulates the base at twice the brightness, repeated over the
    // object by the detail scale.
    gl_ext::activeTexture(GL_TEXTURE1_ARB);
    glColor3ub(255, 255, 255);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_RGB_SCALE_ARB, 2);
    glBindTexture(GL_TEXTURE_2D, textureAt(textures, object.secondMaterial()));
    const float scale = static_cast<float>(Settings::getDetailTextureScale());
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glScalef(scale, scale, 1.0f);
    glMatrixMode(GL_MODELVIEW);
}

void SceneObject::submitImmediate(const Model3ds& model, const MeshObject3ds& object) {
    const bool multitexture = object.textured && multitextureInEffect(object);
    if (object.textured) {
        bindTextures(object, multitexture);
    } else {
        glDisable(GL_TEXTURE_2D);
        glColor4ub(255, 255, 255, 255);
    }
    const bool texCoords = object.textured && !object.texCoords.empty();
    const std::uint8_t* color =
        hasMaterialColor(model, object) ? model.materials[object.firstMaterial()].color : nullptr;
    const bool fog = fogCoordsInEffect(object);
    const std::size_t vertexCount = object.vertices.size();
    glBegin(GL_TRIANGLES);
    for (const Face3ds& face : object.faces) {
        for (int k = 0; k < 3; ++k) {
            const std::size_t v = static_cast<std::size_t>(face.vertex[k]);
            if (v >= vertexCount) continue;
            if (v < object.normals.size())
                glNormal3f(object.normals[v].x, object.normals[v].y, object.normals[v].z);
            if (texCoords) {
                const Vec2f uv = v < object.texCoords.size() ? object.texCoords[v] : Vec2f{};
                if (multitexture) {
                    gl_ext::multiTexCoord2f(GL_TEXTURE0_ARB, uv.u, uv.v);
                    gl_ext::multiTexCoord2f(GL_TEXTURE1_ARB, uv.u, uv.v);
                } else {
                    glTexCoord2f(uv.u, uv.v);
                }
            }
            if (color != nullptr) glColor4ubv(color);
            if (fog) gl_ext::fogCoordf(v < object.fogCoords.size() ? object.fogCoords[v] : 0.0f);
            glVertex3f(object.vertices[v].x, object.vertices[v].y, object.vertices[v].z);
        }
    }
    glEnd();
    if (multitexture) {
        gl_ext::activeTexture(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        gl_ext::activeTexture(GL_TEXTURE0_ARB);
        glDisable(GL_TEXTURE_2D);
    }
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

void SceneObject::submitArrays(const Model3ds& model, const MeshObject3ds& object,
                               bool fromBuffers) {
    if (object.faces.empty()) return;
    const bool multitexture = object.textured && multitextureInEffect(object);
    const bool fog = fogCoordsInEffect(object);
    const bool texCoords = object.textured && !object.flatTexCoords.empty();
    const bool colors =
        !object.textured && hasMaterialColor(model, object) && !object.flatColors.empty();

    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0,
                    source(object.flatVertices.data(), fromBuffers, object.buffers[kVertexBuffer]));
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, 0,
                    source(object.flatNormals.data(), fromBuffers, object.buffers[kNormalBuffer]));
    if (fog) {
        glEnableClientState(GL_FOG_COORDINATE_ARRAY_EXT);
        gl_ext::fogCoordPointer(
            GL_FLOAT, 0,
            source(object.flatFogCoords.data(), fromBuffers, object.buffers[kFogBuffer]));
    }
    if (object.textured) {
        bindTextures(object, multitexture);
        if (texCoords) {
            const void* uv =
                source(object.flatTexCoords.data(), fromBuffers, object.buffers[kTexCoordBuffer]);
            for (int unit = 0; unit < (multitexture ? 2 : 1); ++unit) {
                gl_ext::clientActiveTexture(GL_TEXTURE0_ARB + static_cast<GLenum>(unit));
                glEnableClientState(GL_TEXTURE_COORD_ARRAY);
                glTexCoordPointer(2, GL_FLOAT, 0, uv);
            }
        }
    } else {
        // As in immediate submission: an untextured object is not textured by whatever
        // texture a previous object left enabled.
        glDisable(GL_TEXTURE_2D);
        glColor4ub(255, 255, 255, 255);
        if (colors) {
            glEnableClientState(GL_COLOR_ARRAY);
            glColorPointer(
                4, GL_UNSIGNED_BYTE, 0,
                source(object.flatColors.data(), fromBuffers, object.buffers[kColorBuffer]));
        }
    }

    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(object.faces.size() * 3));

    if (object.textured) {
        if (multitexture) {
            gl_ext::activeTexture(GL_TEXTURE1_ARB);
            gl_ext::clientActiveTexture(GL_TEXTURE1_ARB);
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            glDisable(GL_TEXTURE_2D);
            glMatrixMode(GL_TEXTURE);
            glLoadIdentity();
            glMatrixMode(GL_MODELVIEW);
            gl_ext::activeTexture(GL_TEXTURE0_ARB);
            gl_ext::clientActiveTexture(GL_TEXTURE0_ARB);
        }
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisable(GL_TEXTURE_2D);
    }
    if (colors) glDisableClientState(GL_COLOR_ARRAY);
    if (fog) glDisableClientState(GL_FOG_COORDINATE_ARRAY_EXT);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    // Client arrays of a later draw must not be read as offsets into this buffer.
    if (fromBuffers) gl_ext::bindBuffer(GL_ARRAY_BUFFER_ARB, 0);
}

void SceneObject::drawObject(const Model3ds& model, int objectIndex) {
    if (objectIndex < 0 || objectIndex >= static_cast<int>(model.objects.size())) return;
    const MeshObject3ds& object = model.objects[objectIndex];
    switch (Settings::getRenderMode()) {
        case RenderMode::Immediate:
            submitImmediate(model, object);
            break;
        case RenderMode::VertexArrays:
            submitArrays(model, object, false);
            break;
        case RenderMode::DisplayLists:
            glCallList(object.displayList);
            break;
        case RenderMode::BufferObjects:
            if (Settings::getHasVbo()) {
                submitArrays(model, object, true);
            } else {
                glCallList(object.displayList);
            }
            break;
        default:
            showError("unsupported rendermode");
            break;
    }
}

void SceneObject::buildBuffers() {
    if (!Settings::getHasVbo()) return;
    for (Model3ds* model : distinctModels()) {
        for (MeshObject3ds& object : model->objects) {
            const std::size_t faces = object.faces.size();
            gl_ext::genBuffers(5, object.buffers);
            const struct {
                int slot;
                std::size_t bytes;
                const void* data;
            } arrays[] = {
                {kVertexBuffer, faces * 36,
                 object.flatVertices.empty() ? nullptr : object.flatVertices.data()},
                {kNormalBuffer, faces * 36,
                 object.flatNormals.empty() ? nullptr : object.flatNormals.data()},
                {kTexCoordBuffer, faces * 24,
                 object.flatTexCoords.empty() ? nullptr : object.flatTexCoords.data()},
                {kColorBuffer, faces * 12,
                 object.flatColors.empty() ? nullptr : object.flatColors.data()},
                {kFogBuffer, faces * 12,
                 object.flatFogCoords.empty() ? nullptr : object.flatFogCoords.data()},
            };
            for (const auto& array : arrays) {
                gl_ext::bindBuffer(GL_ARRAY_BUFFER_ARB, object.buffers[array.slot]);
                gl_ext::bufferData(GL_ARRAY_BUFFER_ARB, static_cast<GLsizeiptr>(array.bytes),
                                   array.data, GL_STATIC_DRAW_ARB);
            }
            gl_ext::bindBuffer(GL_ARRAY_BUFFER_ARB, 0);
        }
    }
}

void SceneObject::buildDisplayLists() {
    for (Model3ds* model : distinctModels()) {
        for (MeshObject3ds& object : model->objects) {
            object.displayList = glGenLists(1);
            glNewList(object.displayList, GL_COMPILE);
            submitImmediate(*model, object);
            glEndList();
        }
    }
}

void SceneObject::shadowPass(MeshObject3ds& object, bool resetStates) {
    const float* light = object.lightPosition;
    const int faceCount = static_cast<int>(object.faces.size());
    auto classify = [&](Face3ds& face) {
        const double side = face.plane[0] * light[0] + face.plane[1] * light[1] +
                            face.plane[2] * light[2] + face.plane[3];
        face.lit = side > 0.0 ? FaceLit::Facing : FaceLit::Away;
    };
    for (int i = 0; i < faceCount; ++i) {
        Face3ds& face = object.faces[i];
        classify(face);
        if (face.lit == FaceLit::Facing) {
            for (int k = 0; k < 3; ++k) {
                const int n = face.neighbour[k];
                const bool neighbourFace = n >= 0 && n < faceCount;
                if (neighbourFace && object.faces[n].lit == FaceLit::Unclassified)
                    classify(object.faces[n]);
                if (!neighbourFace || object.faces[n].lit == FaceLit::Away) {
                    // A silhouette edge: extend it away from the light.
                    const Vec3f& a = object.vertices[face.vertex[k]];
                    const Vec3f& b = object.vertices[face.vertex[(k + 1) % 3]];
                    glBegin(GL_TRIANGLE_STRIP);
                    glVertex3f(a.x, a.y, a.z);
                    glVertex3f(a.x + (a.x - light[0]) * kVolumeLength,
                               a.y + (a.y - light[1]) * kVolumeLength,
                               a.z + (a.z - light[2]) * kVolumeLength);
                    glVertex3f(b.x, b.y, b.z);
                    glVertex3f(b.x + (b.x - light[0]) * kVolumeLength,
                               b.y + (b.y - light[1]) * kVolumeLength,
                               b.z + (b.z - light[2]) * kVolumeLength);
                    glEnd();
                }
                if (resetStates && neighbourFace) object.faces[n].lit = FaceLit::Unclassified;
            }
        }
        if (resetStates) face.lit = FaceLit::Unclassified;
    }
}

void SceneObject::castShadow(Model3ds& model, int objectIndex) {
    if (objectIndex < 0 || objectIndex >= static_cast<int>(model.objects.size())) return;
    MeshObject3ds& object = model.objects[objectIndex];
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_LIGHTING);
    glDepthMask(GL_FALSE);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_STENCIL_TEST);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glStencilFunc(GL_ALWAYS, 1, 0xFFFFFFFFu);
    glFrontFace(GL_CCW);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
    shadowPass(object, false);
    glFrontFace(GL_CW);
    glStencilOp(GL_KEEP, GL_KEEP, GL_DECR);
    shadowPass(object, true);
    glPopAttrib();
}

void SceneObject::castShadows(Model3ds& model, const float* light) {
    for (int i = 0; i < static_cast<int>(model.objects.size()); ++i) {
        for (int c = 0; c < 4; ++c) model.objects[i].lightPosition[c] = light[c];
        castShadow(model, i);
    }
}
