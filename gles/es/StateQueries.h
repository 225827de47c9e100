#pragma once

#include <GL/gl.h>

class FixedFunctionMachine;

// The values glGet* answers from the layer's own state, as floats; the
// count written, or 0 for a name the layer does not keep.
int queryLayerState(const FixedFunctionMachine& layer, GLenum name, GLfloat* values);

// How many values the driver gives for a name only it knows (framebuffer
// and buffer bindings, pixel store, limits), which glGet* passes on; 0 for
// any other name.
int driverQueryValues(GLenum name);
