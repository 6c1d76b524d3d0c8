#include "render/gl_extensions.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <string_view>

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

bool hasName(std::string_view names, std::string_view name) {
    for (std::size_t at = names.find(name); at != std::string_view::npos;
         at = names.find(name, at + 1)) {
        const std::size_t end = at + name.size();
        if ((at == 0 || names[at - 1] == ' ') && (end == names.size() || names[end] == ' '))
            return true;
    }
    return false;
}

}  // namespace

Capabilities decideCapabilities(const char* version, const char* extensions) {
    int major = 0;
    int minor = 0;
    if (version == nullptr || std::sscanf(version, "%d.%d", &major, &minor) != 2) return {};
    const std::string_view names = extensions != nullptr ? extensions : "";
    Capabilities has;
    has.multitexture = hasName(names, "GL_ARB_multitexture");
    has.fogCoord = hasName(names, "GL_EXT_fog_coord") && (major > 1 || minor >= 4);
    has.vbo = hasName(names, "GL_ARB_vertex_buffer_object");
    return has;
}

void loadExtensions(ProcLookup lookup) {
    if (lookup == nullptr) lookup = glutLookup;
    // The game's context is a compatibility one, which has the whole list in one string.
    const Capabilities has =
        decideCapabilities(reinterpret_cast<const char*>(glGetString(GL_VERSION)),
                           reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
    EntryPoints& e = entries();
    e = EntryPoints{};
    // Each feature needs all of its entry points; none is looked up for a missing one.
    const bool multitexture = has.multitexture &&
                              find(lookup, "glActiveTextureARB", e.activeTexture) &&
                              find(lookup, "glMultiTexCoord2fARB", e.multiTexCoord2f) &&
                              find(lookup, "glClientActiveTextureARB", e.clientActiveTexture);
    const bool fogCoord = has.fogCoord && find(lookup, "glFogCoordfEXT", e.fogCoordf) &&
                          find(lookup, "glFogCoordPointer", e.fogCoordPointer);
    const bool vbo = has.vbo && find(lookup, "glGenBuffersARB", e.genBuffers) &&
                     find(lookup, "glBindBufferARB", e.bindBuffer) &&
                     find(lookup, "glBufferDataARB", e.bufferData);
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
