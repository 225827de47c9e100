#pragma once
#include <GL/gl.h>
#include <cstddef>

// Turns a compiled-in JPEG of type "ZYT_JPEGTEX" into an OpenGL texture:
// one linear-filtered RGB level, left bound.  A missing or damaged picture
// shows the decoder's message and still gives a texture name (of the size
// that could be read, 0x0 when none), so loading always goes on.
void loadJpegTexture(GLuint& textureName, const char* resourceName);

// The same steps for JPEG bytes already at hand; returns the new name.
GLuint createJpegTexture(const unsigned char* data, std::size_t size);
