#pragma once

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
