#pragma once

#include <GL/gl.h>

// The OpenGL ES upload format for an OpenGL 1.1 glTexImage2D: ES takes
// unsized formats only when the internal format equals the pixel format,
// so OpenGL 1.1's component counts (1, 3, 4) and sized names are turned
// into that format.  0 when the pair has no ES equivalent.
GLenum esTextureFormat(GLint internalFormat, GLenum format, GLenum type);
