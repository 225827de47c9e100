#pragma once

#include <GL/gl.h>
#include <array>
#include <vector>

#include "gles/ImmediateMode.h"
#include "gles/Matrix.h"

constexpr int kLightCount = 8;

using Rgba = std::array<float, 4>;

struct LightState {
    bool enabled = false;
    Rgba ambient{0.0f, 0.0f, 0.0f, 1.0f};
    Rgba diffuse{0.0f, 0.0f, 0.0f, 1.0f};    // light 0: white
    Rgba specular{0.0f, 0.0f, 0.0f, 1.0f};   // light 0: white
    std::array<float, 4> eyePosition{0.0f, 0.0f, 1.0f, 0.0f};   // w 0: a direction
    std::array<float, 3> eyeSpotDirection{0.0f, 0.0f, -1.0f};
    float spotExponent = 0.0f;
    float spotCutoff = 180.0f;
    std::array<float, 3> attenuation{1.0f, 0.0f, 0.0f};   // constant, linear, quadratic

    bool positional() const { return eyePosition[3] != 0.0f; }
    bool spot() const { return spotCutoff != 180.0f; }
    bool attenuated() const { return attenuation[0] != 1.0f || attenuation[1] != 0.0f || attenuation[2] != 0.0f; }
};

struct MaterialState {
    Rgba ambient{0.2f, 0.2f, 0.2f, 1.0f};
    Rgba diffuse{0.8f, 0.8f, 0.8f, 1.0f};
    Rgba specular{0.0f, 0.0f, 0.0f, 1.0f};
    Rgba emission{0.0f, 0.0f, 0.0f, 1.0f};
    float shininess = 0.0f;
};

struct FogState {
    GLenum mode = GL_EXP;
    float density = 1.0f;
    float start = 0.0f;
    float end = 1.0f;
    Rgba colour{0.0f, 0.0f, 0.0f, 0.0f};
};

// Everything of OpenGL 1.1's server state the program can set, in one
// value: what glPushAttrib saves and glPopAttrib puts back, and what the
// shaders and the driver's own state are derived from.  The matrices live
// in their stacks, not here.
struct FixedFunctionState {
    bool lighting = false;
    bool normalize = false;
    bool texture2D = false;
    bool textureGenS = false;
    bool textureGenT = false;
    GLenum textureGenModeS = GL_EYE_LINEAR;
    GLenum textureGenModeT = GL_EYE_LINEAR;
    bool fog = false;
    bool blend = false;
    bool depthTest = false;
    bool scissorTest = false;

    std::array<LightState, kLightCount> lights{};
    std::array<MaterialState, 2> material{};   // front, back
    Rgba lightModelAmbient{0.2f, 0.2f, 0.2f, 1.0f};
    FogState fogSettings{};

    GLenum shadeModel = GL_SMOOTH;
    GLenum polygonMode = GL_FILL;   // set for both faces together
    float pointSize = 1.0f;
    float lineWidth = 1.0f;

    Rgba colour{1.0f, 1.0f, 1.0f, 1.0f};
    std::array<float, 3> normal{0.0f, 0.0f, 1.0f};
    std::array<float, 2> texCoord{0.0f, 0.0f};

    GLenum blendSource = GL_ONE;
    GLenum blendDestination = GL_ZERO;
    bool depthMask = true;
    GLenum depthFunc = GL_LESS;
    Rgba clearColour{0.0f, 0.0f, 0.0f, 0.0f};
    float clearDepth = 1.0f;
    std::array<float, 2> depthRange{0.0f, 1.0f};   // near, far
    std::array<GLint, 4> viewport{0, 0, 0, 0};
    std::array<GLint, 4> scissor{0, 0, 0, 0};
    GLuint boundTexture = 0;
    GLenum matrixMode = GL_MODELVIEW;

    FixedFunctionState();
};

// How polygons come out under the current polygon mode and shade model.
Fill fillFor(const FixedFunctionState& state);

// Switches one capability; false for one the program never switches.
bool setCapability(FixedFunctionState& state, GLenum capability, bool on);
// Reads one; false for an unknown capability.
bool readCapability(const FixedFunctionState& state, GLenum capability, bool& on);

// glLight*: positions go through the modelview current at the call,
// spot directions through its upper 3x3 block.  False for an unknown name.
bool setLight(FixedFunctionState& state, int light, GLenum name, const float* values, const Mat4& modelview);
bool readLight(const FixedFunctionState& state, int light, GLenum name, float* values);

// glMaterial*: GL_FRONT, GL_BACK or GL_FRONT_AND_BACK.
bool setMaterial(FixedFunctionState& state, GLenum face, GLenum name, const float* values);
bool readMaterial(const FixedFunctionState& state, GLenum face, GLenum name, float* values);

bool setFog(FixedFunctionState& state, GLenum name, const float* values);

// glPushAttrib / glPopAttrib: whole copies of the state.
class AttributeStack {
public:
    bool push(const FixedFunctionState& state);
    bool pop(FixedFunctionState& state);
    int depth() const { return static_cast<int>(saved_.size()); }

private:
    std::vector<FixedFunctionState> saved_;
};
