#include "render/gl_extensions.h"

#include <GL/freeglut.h>

#include "config/settings.h"

namespace gl_ext {
namespace {

// The eight entry points; null until loadExtensions finds them.
struct EntryPoints {
    PFNGLMULTITEXCOORD2FARBPROC multiTexCoord2f = nullptr;
    PFNGLACTIVETEXTUREARBPROC activeTexture = nullptr;
    PFNGLFOGCOORDFEXTPROC fogCoordf = nullptr;
    PFNGLGENBUFFERSARBPROC genBuffers = nullptr;
    PFNGLBINDBUFFERARBPROC bindBuffer = nullptr;
    PFNGLBUFFERDATAARBPROC bufferData = nullptr;
    PFNGLFOGCOORDPOINTERPROC fogCoordPointer = nullptr;
    PFNGLCLIENTACTIVETEXTUREARBPROC clientActiveTexture = nullptr;
};

EntryPoints& entries() {
    static EntryPoints points;
    return points;
}

void (*glutLookup(const char* name))() {
    return glutGetProcAddress(name);
}

template <typename T>
bool find(ProcLookup lookup, const char* name, T& out) {
    out = reinterpret_cast<T>(lookup(name));
    return out != nullptr;
}

}  // namespace

void loadExtensions(ProcLookup lookup) {
    if (lookup == nullptr) lookup = glutLookup;
    EntryPoints& e = entries();
    bool multitexture = find(lookup, "glActiveTextureARB", e.activeTexture);
    multitexture = find(lookup, "glMultiTexCoord2fARB", e.multiTexCoord2f) && multitexture;
    multitexture = find(lookup, "glClientActiveTextureARB", e.clientActiveTexture) && multitexture;
    bool fogCoord = find(lookup, "glFogCoordfEXT", e.fogCoordf);
    fogCoord = find(lookup, "glFogCoordPointer", e.fogCoordPointer) && fogCoord;
    bool vbo = find(lookup, "glGenBuffersARB", e.genBuffers);
    vbo = find(lookup, "glBindBufferARB", e.bindBuffer) && vbo;
    vbo = find(lookup, "glBufferDataARB", e.bufferData) && vbo;
    if (!multitexture) Settings::setHasMultitexture(false);
    if (!fogCoord) Settings::setHasFogCoord(false);
    if (!vbo) Settings::setHasVbo(false);
}

void multiTexCoord2f(GLenum unit, GLfloat s, GLfloat t) {
    if (Settings::getHasMultitexture() && entries().multiTexCoord2f)
        entries().multiTexCoord2f(unit, s, t);
}

void activeTexture(GLenum unit) {
    if (Settings::getHasMultitexture() && entries().activeTexture) entries().activeTexture(unit);
}

void clientActiveTexture(GLenum unit) {
    if (Settings::getHasMultitexture() && entries().clientActiveTexture)
        entries().clientActiveTexture(unit);
}

void fogCoordf(GLfloat coord) {
    if (Settings::getHasFogCoord() && entries().fogCoordf) entries().fogCoordf(coord);
}

void fogCoordPointer(GLenum type, GLsizei stride, const void* pointer) {
    if (Settings::getHasFogCoord() && entries().fogCoordPointer)
        entries().fogCoordPointer(type, stride, pointer);
}

void genBuffers(GLsizei count, GLuint* buffers) {
    if (Settings::getHasVbo() && entries().genBuffers) entries().genBuffers(count, buffers);
}

void bindBuffer(GLenum target, GLuint buffer) {
    if (Settings::getHasVbo() && entries().bindBuffer) entries().bindBuffer(target, buffer);
}

void bufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage) {
    if (Settings::getHasVbo() && entries().bufferData)
        entries().bufferData(target, size, data, usage);
}

}  // namespace gl_ext
