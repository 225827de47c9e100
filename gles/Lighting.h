#pragma once

#include <array>

#include "gles/FixedFunctionState.h"

using Vec3f = std::array<float, 3>;

// The lighting values the vertex shader takes, derived from the state as
// the driver derives them: colour products of light and front material,
// unit directions and half vectors of directional lights, unit spot
// directions with the cosine of their cutoff.
struct LightingUniforms {
    Rgba sceneColour{};   // emission + scene ambient * material ambient; alpha: diffuse alpha
    float shininess = 0.0f;
    std::array<std::array<float, 4>, kLightCount> position{};
    std::array<Vec3f, kLightCount> halfVector{};
    std::array<Vec3f, kLightCount> ambient{};
    std::array<Vec3f, kLightCount> diffuse{};
    std::array<Vec3f, kLightCount> specular{};
    std::array<std::array<float, 4>, kLightCount> spot{};
    std::array<std::array<float, 4>, kLightCount> attenuation{};
};

LightingUniforms lightingUniforms(const FixedFunctionState& state);
