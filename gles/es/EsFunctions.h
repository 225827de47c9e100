#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include "gles/GlesLayerStart.h"

// The OpenGL ES 3.0 entry points the layer calls, loaded by name through
// the platform's lookup once the context is current.  The layer defines
// functions of the same names for the program, so it never calls the
// driver's by name: always through this table.
#define QH_ES_FUNCTIONS(X)                                                                                     \
    X(void, AttachShader, (GLuint, GLuint))                                                                    \
    X(void, BindBuffer, (GLenum, GLuint))                                                                      \
    X(void, BindFramebuffer, (GLenum, GLuint))                                                                 \
    X(void, BindRenderbuffer, (GLenum, GLuint))                                                                \
    X(void, BindTexture, (GLenum, GLuint))                                                                     \
    X(void, BindVertexArray, (GLuint))                                                                         \
    X(void, BlendFunc, (GLenum, GLenum))                                                                       \
    X(void, BlitFramebuffer, (GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLbitfield, GLenum))     \
    X(void, BufferData, (GLenum, GLsizeiptr, const void*, GLenum))                                             \
    X(void, BufferSubData, (GLenum, GLintptr, GLsizeiptr, const void*))                                        \
    X(GLenum, CheckFramebufferStatus, (GLenum))                                                                \
    X(void, Clear, (GLbitfield))                                                                               \
    X(void, ClearColor, (GLfloat, GLfloat, GLfloat, GLfloat))                                                  \
    X(void, ClearDepthf, (GLfloat))                                                                            \
    X(void, CompileShader, (GLuint))                                                                           \
    X(GLuint, CreateProgram, ())                                                                               \
    X(GLuint, CreateShader, (GLenum))                                                                          \
    X(void, DeleteBuffers, (GLsizei, const GLuint*))                                                           \
    X(void, DeleteFramebuffers, (GLsizei, const GLuint*))                                                      \
    X(void, DeleteProgram, (GLuint))                                                                           \
    X(void, DeleteRenderbuffers, (GLsizei, const GLuint*))                                                     \
    X(void, DeleteShader, (GLuint))                                                                            \
    X(void, DeleteTextures, (GLsizei, const GLuint*))                                                          \
    X(void, DepthFunc, (GLenum))                                                                               \
    X(void, DepthMask, (GLboolean))                                                                            \
    X(void, DepthRangef, (GLfloat, GLfloat))                                                                   \
    X(void, Disable, (GLenum))                                                                                 \
    X(void, DisableVertexAttribArray, (GLuint))                                                                \
    X(void, DrawArrays, (GLenum, GLint, GLsizei))                                                              \
    X(void, DrawElements, (GLenum, GLsizei, GLenum, const void*))                                              \
    X(void, Enable, (GLenum))                                                                                  \
    X(void, EnableVertexAttribArray, (GLuint))                                                                 \
    X(void, Finish, ())                                                                                        \
    X(void, Flush, ())                                                                                         \
    X(void, FramebufferRenderbuffer, (GLenum, GLenum, GLenum, GLuint))                                         \
    X(void, GenBuffers, (GLsizei, GLuint*))                                                                    \
    X(void, GenFramebuffers, (GLsizei, GLuint*))                                                               \
    X(void, GenRenderbuffers, (GLsizei, GLuint*))                                                              \
    X(void, GenTextures, (GLsizei, GLuint*))                                                                   \
    X(void, GenVertexArrays, (GLsizei, GLuint*))                                                               \
    X(void, GetBooleanv, (GLenum, GLboolean*))                                                                 \
    X(GLenum, GetError, ())                                                                                    \
    X(void, GetFloatv, (GLenum, GLfloat*))                                                                     \
    X(void, GetIntegerv, (GLenum, GLint*))                                                                     \
    X(void, GetProgramInfoLog, (GLuint, GLsizei, GLsizei*, GLchar*))                                           \
    X(void, GetProgramiv, (GLuint, GLenum, GLint*))                                                            \
    X(void, GetShaderInfoLog, (GLuint, GLsizei, GLsizei*, GLchar*))                                            \
    X(void, GetShaderiv, (GLuint, GLenum, GLint*))                                                             \
    X(const GLubyte*, GetString, (GLenum))                                                                     \
    X(void, GetTexParameteriv, (GLenum, GLenum, GLint*))                                                       \
    X(GLint, GetUniformLocation, (GLuint, const GLchar*))                                                      \
    X(void, LinkProgram, (GLuint))                                                                             \
    X(void*, MapBufferRange, (GLenum, GLintptr, GLsizeiptr, GLbitfield))                                       \
    X(void, PixelStorei, (GLenum, GLint))                                                                      \
    X(void, ReadPixels, (GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*))                               \
    X(void, RenderbufferStorage, (GLenum, GLenum, GLsizei, GLsizei))                                           \
    X(void, Scissor, (GLint, GLint, GLsizei, GLsizei))                                                         \
    X(void, ShaderSource, (GLuint, GLsizei, const GLchar* const*, const GLint*))                               \
    X(void, TexImage2D, (GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*))          \
    X(void, TexParameteri, (GLenum, GLenum, GLint))                                                            \
    X(void, Uniform1fv, (GLint, GLsizei, const GLfloat*))                                                      \
    X(GLboolean, UnmapBuffer, (GLenum))                                                                        \
    X(void, Uniform2fv, (GLint, GLsizei, const GLfloat*))                                                      \
    X(void, Uniform3fv, (GLint, GLsizei, const GLfloat*))                                                      \
    X(void, Uniform4fv, (GLint, GLsizei, const GLfloat*))                                                      \
    X(void, UniformMatrix3fv, (GLint, GLsizei, GLboolean, const GLfloat*))                                     \
    X(void, UniformMatrix4fv, (GLint, GLsizei, GLboolean, const GLfloat*))                                     \
    X(void, UseProgram, (GLuint))                                                                              \
    X(void, VertexAttrib4fv, (GLuint, const GLfloat*))                                                         \
    X(void, VertexAttribPointer, (GLuint, GLint, GLenum, GLboolean, GLsizei, const void*))                     \
    X(void, Viewport, (GLint, GLint, GLsizei, GLsizei))

struct EsFunctions {
#define QH_ES_MEMBER(result, name, parameters) result(*name) parameters = nullptr;
    QH_ES_FUNCTIONS(QH_ES_MEMBER)
#undef QH_ES_MEMBER
};

// The loaded table; all null before a successful load.
extern EsFunctions esDriver;

// Loads every entry point; false (saying which on stderr) when one is
// missing or when the lookup gives back the layer's own function.
bool loadEsFunctions(GlesProcLookup lookup);
