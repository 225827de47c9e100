#pragma once

#include <string>

#include "gles/ShaderKey.h"

// The vertex attributes' fixed locations, shared by the generated code and
// the code that binds vertex buffers.
enum AttributeLocation : unsigned {
    kPositionAttribute = 0,
    kNormalAttribute = 1,
    kColourAttribute = 2,
    kTexCoordAttribute = 3,
    kOtherEndAttribute = 4,   // wide lines: the segment's other end
    kSideAttribute = 5,       // wide lines: which side of the segment
};

// How many of the matrices in the array uTransform (the modelview-
// projection, then the modelview) a program's code reads: both where it
// needs eye coordinates.  One call sends them together, as a sprite moved
// along changes both.
int transformsRead(const ShaderKey& key);

// GLSL ES 3.00 for one state combination.  The vertex shader does the
// fixed-function transformation, per-vertex lighting (infinite viewer, one
// material for both faces), sphere-map generation and the fog coordinate
// (the eye-space depth's absolute value); the fragment shader modulates by
// the texture and blends in linear fog.
std::string vertexShaderSource(const ShaderKey& key);
std::string fragmentShaderSource(const ShaderKey& key);
