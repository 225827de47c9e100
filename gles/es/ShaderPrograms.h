#pragma once

#include <GL/gl.h>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "gles/BoundedCache.h"
#include "gles/FixedFunctionState.h"
#include "gles/ShaderKey.h"

// A uniform's location (-1 where the generated code has none) and the
// values it last received, so that a draw sends only what differs: in
// WebGL every call is a crossing into JavaScript and on to the browser's
// GPU process.
template <std::size_t N>
struct Uniform {
    GLint location = -1;
    std::array<float, N> sent{};
    bool known = false;   // nothing sent yet: the program's initial values are not assumed

    bool present() const { return location >= 0; }
    // Whether the N floats at `values` differ from those last sent (NaN
    // differs from everything); remembers them as sent.
    bool changes(const float* values)
    {
        if (known && std::equal(sent.begin(), sent.end(), values))
            return false;
        std::copy(values, values + N, sent.begin());
        known = true;
        return true;
    }
};

// A linked program with its uniforms, and which state it last received.
struct ShaderProgram {
    GLuint program = 0;
    unsigned attributesRead = kHasAllAttributes;   // the optional attributes its shaders read
    Uniform<32> transform;   // uTransform: the modelview-projection, then the modelview
    int transformsRead = 1;  // how many of the two the code reads
    Uniform<9> normalMatrix;
    Uniform<4> sceneColour;
    Uniform<1> shininess;
    Uniform<4 * kLightCount> lightPosition;
    Uniform<3 * kLightCount> lightHalf;
    Uniform<3 * kLightCount> lightAmbient;
    Uniform<3 * kLightCount> lightDiffuse;
    Uniform<3 * kLightCount> lightSpecular;
    Uniform<4 * kLightCount> lightSpot;
    Uniform<4 * kLightCount> lightAttenuation;
    Uniform<1> pointSize;
    Uniform<2> viewportHalf;
    Uniform<1> lineHalfWidth;
    Uniform<4> fogColour;
    Uniform<2> fogParameters;

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
