#pragma once

// The program's OpenGL 1.1 and GLU calls answered on OpenGL ES 3.0.  The
// platform calls glesLayerStart once, with its entry-point lookup, after
// making an OpenGL ES 3 context current.  It loads the driver's entry
// points and compiles nothing yet; false when the context lacks one.
using GlesProcLookup = void* (*)(const char* name);
bool glesLayerStart(GlesProcLookup lookup);

// The shader programs the layer keeps compiled for the current context
// (one per state combination met, up to a bound).
int glesLayerShaderPrograms();
