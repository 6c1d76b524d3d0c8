#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

// The OpenGL extension entry points that multitexturing, fog coordinates and vertex
// buffers need. Each capability flag lives in Settings (hasMultitexture, hasFogCoord,
// hasVbo); a driver without the feature clears its flag and the feature is simply not
// used. Every call below does nothing unless its flag is set.
namespace gl_ext {

using ProcLookup = void (*(*)(const char* name))();

// What the driver offers, from its GL_VERSION text ("1.3", "4.5 (Compatibility Profile)
// Mesa 22.3.6") and its extension names (separated by spaces). On Linux a name lookup
// answers for any name at all, so only these say whether an entry point is real.
struct Capabilities {
    bool multitexture = false;  // GL_ARB_multitexture
    bool fogCoord = false;      // GL_EXT_fog_coord, and OpenGL 1.4 for glFogCoordPointer
    bool vbo = false;           // GL_ARB_vertex_buffer_object
};
Capabilities decideCapabilities(const char* version, const char* extensions);

// Decides the capabilities of the current context, looks the entry points of those it
// has up (through GLUT unless `lookup` is given) and clears the flags of the others.
// Needs a current OpenGL context.
void loadExtensions(ProcLookup lookup = nullptr);

void multiTexCoord2f(GLenum unit, GLfloat s, GLfloat t);
void activeTexture(GLenum unit);
void clientActiveTexture(GLenum unit);
void fogCoordf(GLfloat coord);
void fogCoordPointer(GLenum type, GLsizei stride, const void* pointer);
void genBuffers(GLsizei count, GLuint* buffers);
void bindBuffer(GLenum target, GLuint buffer);
void bufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage);

}  // namespace gl_ext
