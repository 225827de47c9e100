#pragma once

#include <cmath>
#include <limits>

// One vertex as the shaders take it: the attributes current when glVertex
// was called.  Interleaved, so a primitive is one buffer upload.
struct Vertex {
    float position[4];
    float normal[3];
    float colour[4];
    float texCoord[2];
};

// Which of a vertex's attributes a buffer really holds.  A display list
// that never set, say, the colour takes the colour current when it is
// replayed, not a value frozen when it was compiled.
enum VertexAttributeBits : unsigned {
    kHasNormal = 1u << 0,
    kHasColour = 1u << 1,
    kHasTexCoord = 1u << 2,
    kHasAllAttributes = kHasNormal | kHasColour | kHasTexCoord,
};

// A display list's vertex given before the list set an attribute takes that
// attribute from the state current at replay: until the list sets it, the
// attribute holds this mark instead of a value.
constexpr float kTakenAtReplay = std::numeric_limits<float>::quiet_NaN();

// The attributes a recorded vertex holds values for.
inline unsigned attributesHeld(const Vertex& v)
{
    return (std::isnan(v.normal[0]) ? 0u : kHasNormal) | (std::isnan(v.colour[0]) ? 0u : kHasColour) |
           (std::isnan(v.texCoord[0]) ? 0u : kHasTexCoord);
}
