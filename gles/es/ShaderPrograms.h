#pragma once

#include <GL/gl.h>
#include <cstdint>
#include <unordered_map>

#include "gles/ShaderKey.h"

// A linked program with the locations of its uniforms (-1 where the
// generated code has none), and which state it last received.
struct ShaderProgram {
    GLuint program = 0;
    GLint modelview = -1;
    GLint modelviewProjection = -1;
    GLint normalMatrix = -1;
    GLint sceneColour = -1;
    GLint shininess = -1;
    GLint lightPosition = -1;
    GLint lightHalf = -1;
    GLint lightAmbient = -1;
    GLint lightDiffuse = -1;
    GLint lightSpecular = -1;
    GLint lightSpot = -1;
    GLint lightAttenuation = -1;
    GLint pointSize = -1;
    GLint viewportHalf = -1;
    GLint lineHalfWidth = -1;
    GLint fogColour = -1;
    GLint fogParameters = -1;

    std::uint64_t transformStamp = ~0ull;
    std::uint64_t appearanceStamp = ~0ull;
    std::uint64_t sizesStamp = ~0ull;
};

// Programs compiled on first use of each key and kept for the context's
// life.  A program that fails to compile is reported once and stays 0.
class ShaderPrograms {
public:
    ShaderProgram& programFor(const ShaderKey& key);

private:
    std::unordered_map<ShaderKey, ShaderProgram, ShaderKeyHash> programs_;
};
