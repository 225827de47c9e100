#include "gles/Lighting.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

float dot(const Vec3f& a, const Vec3f& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec3f normalised(Vec3f v)
{
    const float length = std::sqrt(dot(v, v));
    if (length == 0.0f)
        return v;
    return {v[0] / length, v[1] / length, v[2] / length};
}

Vec3f product(const Rgba& a, const Rgba& b)
{
    return {a[0] * b[0], a[1] * b[1], a[2] * b[2]};
}

// The spot's cutoff as a cosine; cutoffs past 90 degrees (only 180 is
// allowed) light everything in front, as the driver clamps them to 0.
float cosineOfCutoff(float degrees)
{
    const float cosine = static_cast<float>(std::cos(degrees * kPi / 180.0));
    return cosine < 0.0f ? 0.0f : cosine;
}

}  // namespace

LightingUniforms lightingUniforms(const FixedFunctionState& state)
{
    LightingUniforms u;
    const MaterialState& material = state.material[0];
    for (std::size_t c = 0; c < 3; ++c)
        u.sceneColour[c] = material.emission[c] + state.lightModelAmbient[c] * material.ambient[c];
    u.sceneColour[3] = material.diffuse[3];
    u.shininess = material.shininess;
    for (std::size_t i = 0; i < kLightCount; ++i) {
        const LightState& light = state.lights[i];
        u.position[i] = light.eyePosition;
        if (!light.positional()) {
            const Vec3f direction = normalised({light.eyePosition[0], light.eyePosition[1], light.eyePosition[2]});
            u.position[i] = {direction[0], direction[1], direction[2], 0.0f};
            u.halfVector[i] = normalised({direction[0], direction[1], direction[2] + 1.0f});
        }
        u.ambient[i] = product(light.ambient, material.ambient);
        u.diffuse[i] = product(light.diffuse, material.diffuse);
        u.specular[i] = product(light.specular, material.specular);
        const Vec3f spotDirection = normalised(light.eyeSpotDirection);
        u.spot[i] = {spotDirection[0], spotDirection[1], spotDirection[2], cosineOfCutoff(light.spotCutoff)};
        u.attenuation[i] = {light.attenuation[0], light.attenuation[1], light.attenuation[2], light.spotExponent};
    }
    return u;
}
