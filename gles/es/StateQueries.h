#pragma once

#include <GL/gl.h>

// The values glGet* answers from the layer's own state, as floats; the
// count written, or 0 for a name the layer does not keep.
int queryLayerState(GLenum name, GLfloat* values);

// Names only the driver knows (framebuffer and buffer bindings, pixel
// store, limits), which glGet* passes on.
bool isDriverQuery(GLenum name);
