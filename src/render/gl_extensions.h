#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

// The OpenGL extension entry points that multitexturing, fog coordinates and vertex
// buffers need. Each capability flag lives in Settings (hasMultitexture, hasFogCoord,
// hasVbo); a missing entry point clears its flag and the feature is simply not used.
// Every call below does nothing unless its flag is set.
namespace gl_ext {

using ProcLookup = void (*(*)(const char* name))();

// Looks every entry point up (through GLUT unless `lookup` is given) and clears the
// flags of the missing ones. Needs a current OpenGL context.
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
