#pragma once

#include <GL/gl.h>
#include <cstdint>
#include <cstddef>

#include "gles/BoundedCache.h"
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

// Programs compiled on first use of each key and kept, up to kLimit: a
// state combination met past that replaces the program used longest ago,
// which is deleted.  A program that fails to compile or link is reported,
// deleted, and stays 0 while its key is kept.
class ShaderPrograms {
public:
    static constexpr std::size_t kLimit = 64;

    // The program for key.  When it is a new one, a program deleted to make
    // room for it that was `used` (the driver's current program) sets
    // `used` to 0.
    ShaderProgram& programFor(const ShaderKey& key, GLuint& used);
    std::size_t size() const { return programs_.size(); }

private:
    BoundedCache<ShaderKey, ShaderProgram, ShaderKeyHash> programs_{kLimit};
};
