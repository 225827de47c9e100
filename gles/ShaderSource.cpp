#include "gles/ShaderSource.h"

namespace {

const char* const kHeader = "#version 300 es\nprecision highp float;\n";

std::string colourVarying(const ShaderKey& key, const char* direction)
{
    return std::string(key.has(ShaderKey::kFlat) ? "flat " : "") + direction + " vec4 vColour;\n";
}

bool needsEyePosition(const ShaderKey& key)
{
    return key.has(ShaderKey::kLighting) || key.has(ShaderKey::kLinearFog) || key.has(ShaderKey::kSphereMapS) ||
           key.has(ShaderKey::kSphereMapT);
}

bool needsNormal(const ShaderKey& key)
{
    return (attributesRead(key) & kHasNormal) != 0;
}

std::string declarations(const ShaderKey& key)
{
    std::string text =
        "layout(location = 0) in vec4 aPosition;\n"
        "layout(location = 1) in vec3 aNormal;\n"
        "layout(location = 2) in vec4 aColour;\n"
        "layout(location = 3) in vec2 aTexCoord;\n"
        "uniform mat4 uTransform[2];\n"   // the modelview-projection, then the modelview
        "uniform mat3 uNormalMatrix;\n";
    text += colourVarying(key, "out");
    text += "out vec2 vTexCoord;\nout float vFogCoord;\n";
    if (key.has(ShaderKey::kLighting))
        text +=
            "uniform vec4 uSceneColour;\n"   // emission + scene ambient; alpha: the diffuse alpha
            "uniform float uShininess;\n"
            "uniform vec4 uLightPosition[8];\n"   // positional: eye position; else the unit direction
            "uniform vec3 uLightHalf[8];\n"       // directional: the unit half vector
            "uniform vec3 uLightAmbient[8];\n"    // light colours times the material's
            "uniform vec3 uLightDiffuse[8];\n"
            "uniform vec3 uLightSpecular[8];\n"
            "uniform vec4 uLightSpot[8];\n"          // unit direction, cosine of the cutoff
            "uniform vec4 uLightAttenuation[8];\n";  // constant, linear, quadratic, spot exponent
    if (key.has(ShaderKey::kPoints))
        text += "uniform float uPointSize;\n";
    if (key.has(ShaderKey::kWideLines))
        text +=
            "layout(location = 4) in vec4 aOtherEnd;\n"
            "layout(location = 5) in float aSide;\n"
            "uniform vec2 uViewportHalf;\n"
            "uniform float uLineHalfWidth;\n";
    return text;
}

// One light's share, added to `colour`.  The same steps as the driver's
// fixed-function vertex program: unit vector to the light, spot and
// distance attenuation, half vector for a viewer at infinity, then the
// ambient, diffuse and specular products.
std::string lightTerm(const ShaderKey& key, int index)
{
    const std::uint32_t bits = key.light(index);
    const std::string i = std::to_string(index);
    std::string text = "    {\n        vec3 L;\n        vec3 H;\n        float att = 1.0;\n";
    if ((bits & ShaderKey::kPositional) != 0) {
        text += "        L = uLightPosition[" + i + "].xyz - eye.xyz;\n"
                "        float invDistance = inversesqrt(dot(L, L));\n"
                "        L *= invDistance;\n";
        if ((bits & ShaderKey::kSpot) != 0)
            text += "        float spot = dot(-L, uLightSpot[" + i + "].xyz);\n"
                    "        att = (uLightSpot[" + i + "].w < spot ? 1.0 : 0.0) * pow(abs(spot), uLightAttenuation[" +
                    i + "].w);\n";
        if ((bits & ShaderKey::kAttenuated) != 0)
            text += "        float distance = 1.0 / invDistance;\n"
                    "        att *= 1.0 / dot(uLightAttenuation[" + i + "].xyz, vec3(1.0, distance, distance * distance));\n";
        text += "        H = normalize(L + vec3(0.0, 0.0, 1.0));\n";
    } else {
        text += "        L = uLightPosition[" + i + "].xyz;\n        H = uLightHalf[" + i + "];\n";
    }
    text += "        float nDotL = dot(normal, L);\n"
            "        float nDotH = dot(normal, H);\n"
            "        float diffuse = max(nDotL, 0.0);\n"
            "        float specular = nDotL > 0.0 ? (uShininess == 0.0 ? 1.0 : pow(max(nDotH, 0.0), uShininess)) : 0.0;\n"
            "        colour.rgb += att * uLightAmbient[" + i + "] + (att * diffuse) * uLightDiffuse[" + i +
            "] + (att * specular) * uLightSpecular[" + i + "];\n"
            "    }\n";
    return text;
}

std::string position(const ShaderKey& key)
{
    if (!key.has(ShaderKey::kWideLines))
        return "    gl_Position = uTransform[0] * aPosition;\n";
    // A wide line is a band of the asked width across its minor axis:
    // vertical for lines that run more across than up, horizontal else.
    return "    vec4 clip = uTransform[0] * aPosition;\n"
           "    vec4 otherClip = uTransform[0] * aOtherEnd;\n"
           "    vec2 along = (clip.xy / clip.w - otherClip.xy / otherClip.w) * uViewportHalf;\n"
           "    vec2 across = abs(along.x) >= abs(along.y) ? vec2(0.0, 1.0) : vec2(1.0, 0.0);\n"
           "    clip.xy += across * (aSide * uLineHalfWidth) / uViewportHalf * clip.w;\n"
           "    gl_Position = clip;\n";
}

std::string sphereMap(const ShaderKey& key)
{
    std::string text = "    vec3 u = normalize(eye.xyz);\n"
                       "    vec3 r = u - normal * (2.0 * dot(normal, u));\n"
                       "    float m = 0.5 * inversesqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));\n";
    if (key.has(ShaderKey::kSphereMapS))
        text += "    vTexCoord.s = r.x * m + 0.5;\n";
    if (key.has(ShaderKey::kSphereMapT))
        text += "    vTexCoord.t = r.y * m + 0.5;\n";
    return text;
}

}  // namespace

int transformsRead(const ShaderKey& key)
{
    return needsEyePosition(key) ? 2 : 1;
}

std::string vertexShaderSource(const ShaderKey& key)
{
    std::string text = kHeader + declarations(key) + "void main()\n{\n";
    text += position(key);
    if (needsEyePosition(key))
        text += "    vec4 eye = uTransform[1] * aPosition;\n";
    if (needsNormal(key)) {
        text += "    vec3 normal = uNormalMatrix * aNormal;\n";
        if (key.has(ShaderKey::kNormalize))
            text += "    normal = normalize(normal);\n";
    }
    if (key.has(ShaderKey::kLighting)) {
        text += "    vec4 colour = uSceneColour;\n";
        for (int i = 0; i < kLightCount; ++i)
            if ((key.light(i) & ShaderKey::kLightOn) != 0)
                text += lightTerm(key, i);
        text += "    vColour = clamp(colour, 0.0, 1.0);\n";
    } else {
        text += "    vColour = clamp(aColour, 0.0, 1.0);\n";
    }
    text += "    vTexCoord = aTexCoord;\n";
    if (key.has(ShaderKey::kSphereMapS) || key.has(ShaderKey::kSphereMapT))
        text += sphereMap(key);
    text += key.has(ShaderKey::kLinearFog) ? "    vFogCoord = abs(eye.z);\n" : "    vFogCoord = 0.0;\n";
    if (key.has(ShaderKey::kPoints))
        text += "    gl_PointSize = uPointSize;\n";
    return text + "}\n";
}

std::string fragmentShaderSource(const ShaderKey& key)
{
    std::string text = kHeader + colourVarying(key, "in") + "in vec2 vTexCoord;\nin float vFogCoord;\n";
    if (key.has(ShaderKey::kTexture))
        text += "uniform sampler2D uTexture;\n";
    if (key.has(ShaderKey::kLinearFog))
        text += "uniform vec4 uFogColour;\nuniform vec2 uFogParameters;\n";   // -1/(end-start), end/(end-start)
    text += "out vec4 fragColour;\nvoid main()\n{\n    vec4 colour = vColour;\n";
    if (key.has(ShaderKey::kTexture))
        text += "    colour *= texture(uTexture, vTexCoord);\n";
    if (key.has(ShaderKey::kLinearFog))
        text += "    float fog = clamp(vFogCoord * uFogParameters.x + uFogParameters.y, 0.0, 1.0);\n"
                "    colour.rgb = mix(uFogColour.rgb, colour.rgb, fog);\n";
    // The fixed-function pipeline hands blending a colour already rounded
    // to the picture's 8 bits per value (to the nearest, halves to even, as
    // Mesa rounds).  A blender that works on the unrounded one (WebGL's on
    // SwiftShader does) adds other amounts: 0.1 of alpha takes 0.9 of the
    // destination instead of 229/255.
    return text + "    fragColour = roundEven(clamp(colour, 0.0, 1.0) * 255.0) / 255.0;\n}\n";
}
